#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QPushButton;
class QUrl;

// The popup listing the payloads of the detected codes, each with "Copy" and,
// for web links, "Open Link". Payloads come from arbitrary images and are
// always shown as plain text. Copying shows "Copied!" and closes the popup a
// moment later; opening a link closes it at once.
class QRResultsMenu : public QWidget
{
    Q_OBJECT
public:
    // For every menu made afterwards; tests shorten the pause after a copy.
    static void setCloseDelay(int ms);

    explicit QRResultsMenu(const QStringList &payloads, QWidget *parent = nullptr);

    // Shows the popup centred under anchor, kept on screen.
    void popup(const QWidget *anchor);

Q_SIGNALS:
    void copyRequested(const QString &payload);
    void openLinkRequested(const QUrl &url);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QWidget *buildRow(const QString &payload);
    void markCopied(QPushButton *button);

    int m_closeDelayMs;
    QPointer<const QWidget> m_anchor;
};
