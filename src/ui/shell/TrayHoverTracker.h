#pragma once

#include <QObject>

// Reports the pointer entering and leaving the tray icon. Only trays that
// embed the icon's own window (XEmbed) deliver these; status-notifier hosts
// draw the icon themselves and report no hover.
class TrayHoverTracker : public QObject
{
    Q_OBJECT
public:
    explicit TrayHoverTracker(QObject *parent = nullptr);
    ~TrayHoverTracker() override;

    // True once the tray has reported any hover.
    bool hasSeenHover() const { return m_seen; }

Q_SIGNALS:
    void entered();
    void exited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_seen = false;
};
