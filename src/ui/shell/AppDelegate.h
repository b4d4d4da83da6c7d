#pragma once

#include "upload/ImgurUploader.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSystemTrayIcon>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

class CaptureIndex;
class CodeDetector;
class ContentView;
class GlobalHotKey;
class PanelAppearance;
class HoverPanel;
struct ScreenshotItem;
class ImgurClientId;
class LoginItem;
class Popover;
class Preferences;
class QMenu;
class RemoteConfigManager;
class ScreenshotMonitor;
class TextIndexer;
class TextRecognizer;
class TrayHoverTracker;
class Workspace;

// The shell: the tray icon with its drawn unread dot and its menu, the
// popover with the viewer, the global hot key and the hover preview. Owns no
// capture state; the monitor is shared with every view.
class AppDelegate : public QObject
{
    Q_OBJECT
public:
    struct Timings {
        std::chrono::milliseconds hoverDelay{400};
        std::chrono::milliseconds fadeIn{150};
        std::chrono::milliseconds fadeOut{100};
    };

    // What the composition root hands in besides the monitor; all optional.
    struct Services {
        GlobalHotKey *hotKey = nullptr;              // not owned; must outlive the delegate
        std::function<void()> refreshRemoteConfig;  // asks for a fresh remote configuration
        PanelAppearance *panel = nullptr;            // not owned; none: the app palette decides
        std::function<bool()> compositing = {};     // translucent windows can be shown; none: they cannot
        // The viewer's collaborators, none owned; each must outlive the delegate.
        Workspace *workspace = nullptr;              // none: Open and Show in Folder do nothing
        const CodeDetector *codeDetector = nullptr;  // none: no code scans
        const TextRecognizer *textRecognizer = nullptr;  // none: Copy Text does nothing
        RemoteConfigManager *remoteConfig = nullptr;     // none: every feature, no update notice
        Preferences *preferences = nullptr;              // the user's Imgur client id
        ImgurUploader::Settings imgur = {};              // upload host and trust
        ImgurClientId *imgurClientId = nullptr;          // the id in effect; none: no uploads
        LoginItem *loginItem = nullptr;                  // none: launch at login stays off
        std::function<void()> openKeyboardSettings = {};  // the desktop's shortcut settings
        std::function<void(bool)> textIndexSwitched = {};  // the settings' index switch changed
        const CaptureIndex *captureIndex = nullptr;      // none: the library has no search field
        TextIndexer *textIndexer = nullptr;              // none: the library shows no indexing progress
    };

    explicit AppDelegate(ScreenshotMonitor *monitor, QObject *parent = nullptr);
    AppDelegate(ScreenshotMonitor *monitor, Services services, Timings timings, QObject *parent = nullptr);
    ~AppDelegate() override;

    // Tray icon, popover, icon updates, hot key and configuration refresh, in
    // that order.
    void applicationDidFinishLaunching();

    QSystemTrayIcon *statusItem() const { return m_statusItem; }
    Popover *popover() const;
    ContentView *contentView() const { return m_contentView; }
    QMenu *menu() const { return m_menu; }
    HoverPanel *hoverPanel() const;
    bool isHoverPending() const { return m_hoverTimer.isActive(); }
    bool isPopoverShown() const;

public Q_SLOTS:
    void togglePopover();
    void handleClick(QSystemTrayIcon::ActivationReason reason);
    void clearScreenshots();
    void syncScreenshots();
    void openLibrary();
    void openSettings();
    void handleMouseEntered();
    void handleMouseExited();
    void showHoverPanel();
    void dismissHoverPanel();

Q_SIGNALS:
    // The popover's or the library's Annotate was pressed.
    void annotateRequested(const ScreenshotItem &item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupStatusItem();
    void setupPopover();
    void observeUnreadCount();
    void installHotKey();
    void populateMenu();
    void rearmHoverUnlessOnIcon();
    void updateIcon();
    void updateToolTip();
    std::optional<QRect> iconGeometry() const;
    QPoint popoverPosition() const;

    ScreenshotMonitor *m_monitor;
    Services m_services;
    Timings m_timings;
    QSystemTrayIcon *m_statusItem = nullptr;
    QMenu *m_menu = nullptr;
    QPointer<Popover> m_popover;
    ContentView *m_contentView = nullptr;
    TrayHoverTracker *m_hoverTracker = nullptr;
    QPointer<HoverPanel> m_hoverPanel;
    QTimer m_hoverTimer;
    // "Today" in the tooltip becomes "Yesterday" at midnight.
    QTimer m_midnight;
    // After a click on the icon the pointer rests there without having
    // entered anew; no preview until it has left.
    bool m_hoverSuppressed = false;
    bool m_hotKeyActive = false;  // the settings explain how to bind the toggle otherwise
};
