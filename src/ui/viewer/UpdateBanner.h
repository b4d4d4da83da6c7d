#pragma once

#include <QWidget>

class DownloadButton;

// "Update available" with its download button, on a light blue band.
class UpdateBanner : public QWidget
{
    Q_OBJECT
public:
    explicit UpdateBanner(QWidget *parent = nullptr);

    void setDownloading(bool downloading);

Q_SIGNALS:
    void downloadRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DownloadButton *m_button;
};
