#pragma once

#include <QAbstractButton>
#include <QColor>

class QLabel;
class Spinner;

// The update download button of the banner and of the forced-update overlay:
// its title, or a spinner and "Downloading..." (and no clicks) while the
// download runs.
class DownloadButton : public QAbstractButton
{
    Q_OBJECT
public:
    struct Look {
        QString title;
        QFont font;
        QColor fill;
        double radius;  // negative: a capsule
        int spinnerSize;
        QMargins padding;
    };

    DownloadButton(Look look, QWidget *parent = nullptr);

    void setDownloading(bool downloading);
    bool isDownloading() const { return !isEnabled(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Look m_look;
    Spinner *m_spinner;
    QLabel *m_label;
};
