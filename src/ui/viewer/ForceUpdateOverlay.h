#pragma once

#include <QWidget>

class DownloadButton;

// Covers the whole viewer while this version may no longer be used: a dark
// veil with the notice and the download button. Every click, wheel turn and
// key meant for what lies beneath ends here. The keyboard stays on its
// download button: Tab cannot leave it, Space and Return press it.
class ForceUpdateOverlay : public QWidget
{
    Q_OBJECT
public:
    explicit ForceUpdateOverlay(QWidget *parent = nullptr);

    void setDownloading(bool downloading);

Q_SIGNALS:
    void downloadRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    DownloadButton *m_button;
};
