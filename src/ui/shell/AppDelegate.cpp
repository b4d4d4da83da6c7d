#include "shell/AppDelegate.h"

#include "capture/ScreenshotMonitor.h"
#include "config/RemoteConfigManager.h"
#include "library/LibraryWindowController.h"
#include "picker/ColorPickerWindowController.h"
#include "settings/SettingsWindowController.h"
#include "shell/GlobalHotKey.h"
#include "shell/HoverPanel.h"
#include "shell/HoverPanelGeometry.h"
#include "shell/HoverPreviewView.h"
#include "shell/PanelAppearance.h"
#include "shell/Popover.h"
#include "shell/PopoverPlacement.h"
#include "shell/StatusIconRenderer.h"
#include "shell/TrayHoverTracker.h"
#include "viewer/ContentView.h"

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

AppDelegate::AppDelegate(ScreenshotMonitor *monitor, QObject *parent)
    : AppDelegate(monitor, Services{}, Timings{}, parent)
{
}

AppDelegate::AppDelegate(ScreenshotMonitor *monitor, Services services, Timings timings, QObject *parent)
    : QObject(parent)
    , m_monitor(monitor)
    , m_services(std::move(services))
    , m_timings(timings)
{
    m_hoverTimer.setSingleShot(true);
    connect(&m_hoverTimer, &QTimer::timeout, this, &AppDelegate::showHoverPanel);
}

AppDelegate::~AppDelegate()
{
    delete m_hoverPanel;
    delete m_popover;
    delete m_menu;
}

void AppDelegate::applicationDidFinishLaunching()
{
    setupStatusItem();
    setupPopover();
    observeUnreadCount();
    installHotKey();
    if (m_services.refreshRemoteConfig)
        m_services.refreshRemoteConfig();
}

void AppDelegate::setupStatusItem()
{
    // Created even without a tray: Qt docks the icon when one appears, and
    // the hot key and `tarnwick --toggle` reach the popover meanwhile.
    m_statusItem = new QSystemTrayIcon(this);
    m_statusItem->setIcon(StatusIconRenderer::icon(0, false, StatusIconRenderer::colorsFor(PanelShade::colorsFor(
        {{}, {}, QApplication::palette().color(QPalette::Window)}))));  // the panel is asked once the tray shows it
    // Several tray hosts show the menu themselves, so it is handed over once
    // and filled each time it opens.
    m_menu = new QMenu;
    m_menu->installEventFilter(this);
    connect(m_menu, &QMenu::aboutToShow, this, &AppDelegate::populateMenu);
    connect(m_menu, &QMenu::aboutToHide, this, &AppDelegate::rearmHoverUnlessOnIcon);
    m_statusItem->setContextMenu(m_menu);
    connect(m_statusItem, &QSystemTrayIcon::activated, this, &AppDelegate::handleClick);
    m_hoverTracker = new TrayHoverTracker(this);
    connect(m_hoverTracker, &TrayHoverTracker::entered, this, &AppDelegate::handleMouseEntered);
    connect(m_hoverTracker, &TrayHoverTracker::exited, this, &AppDelegate::handleMouseExited);
    m_statusItem->show();
}

void AppDelegate::setupPopover()
{
    ContentView::Dependencies deps;
    deps.monitor = m_monitor;
    deps.remoteConfig = m_services.remoteConfig;
    deps.workspace = m_services.workspace;
    deps.codeDetector = m_services.codeDetector;
    deps.textRecognizer = m_services.textRecognizer;
    deps.preferences = m_services.preferences;
    deps.imgur = m_services.imgur;
    deps.imgurClientId = m_services.imgurClientId;
    m_contentView = new ContentView(deps);
    connect(m_contentView, &ContentView::annotateRequested, this, &AppDelegate::annotateRequested);
    connect(m_contentView, &ContentView::libraryRequested, this, &AppDelegate::openLibrary);
    connect(m_contentView, &ContentView::pickColorRequested, this,
            [](const ScreenshotItem &item) { ColorPickerWindowController::open(item); });
    m_popover = new Popover(m_contentView);
    connect(m_popover, &Popover::hidden, this, &AppDelegate::rearmHoverUnlessOnIcon);
}

void AppDelegate::observeUnreadCount()
{
    connect(m_monitor, &ScreenshotMonitor::unreadCountChanged, this, &AppDelegate::updateIcon);
    connect(m_monitor, &ScreenshotMonitor::isPendingChanged, this, &AppDelegate::updateIcon);
    connect(m_monitor, &ScreenshotMonitor::screenshotsChanged, this, &AppDelegate::updateToolTip);
    if (m_services.panel)
        connect(m_services.panel, &PanelAppearance::changed, this, &AppDelegate::updateIcon);
    updateIcon();  // the icon matches the monitor from the start
    // An XEmbed tray draws its background only once it has taken the icon in:
    // look at the panel again when it has.
    for (const int ms : {1000, 3000})
        QTimer::singleShot(ms, this, &AppDelegate::updateIcon);
    updateToolTip();
    m_midnight.setSingleShot(true);
    connect(&m_midnight, &QTimer::timeout, this, &AppDelegate::updateToolTip);
}

void AppDelegate::installHotKey()
{
    if (!m_services.hotKey)
        return;
    connect(m_services.hotKey, &GlobalHotKey::activated, this, &AppDelegate::togglePopover, Qt::QueuedConnection);
    // A refusal is logged there; menu and click still work.
    m_hotKeyActive = m_services.hotKey->registerHotKey();
}

void AppDelegate::updateIcon()
{
    if (!m_statusItem)
        return;
    PanelShade::Clues clues;
    clues.appWindow = QApplication::palette().color(QPalette::Window);
    if (m_services.panel)
        clues = m_services.panel->clues(iconGeometry().value_or(QRect()));
    m_statusItem->setIcon(StatusIconRenderer::icon(m_monitor->unreadCount(), m_monitor->isPending(),
                                                   StatusIconRenderer::colorsFor(PanelShade::colorsFor(clues))));
}

void AppDelegate::updateToolTip()
{
    if (!m_statusItem)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    m_midnight.start(std::chrono::milliseconds(now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0, 1)))));
    // Trays that report hover get the panel; the others carry its name and
    // details lines in the tooltip.
    const QList<ScreenshotItem> &items = m_monitor->screenshots();
    if (m_hoverTracker->hasSeenHover() || items.isEmpty()) {
        m_statusItem->setToolTip(m_hoverTracker->hasSeenHover() ? QString() : tr("Tarnwick"));
        return;
    }
    const ScreenshotItem &item = items.constFirst();
    m_statusItem->setToolTip(QFileInfo(item.filePath()).fileName() + QLatin1Char('\n')
                             + HoverPreviewView::detailParts(item).join(QStringLiteral(" · ")));
}

void AppDelegate::populateMenu()
{
    m_menu->clear();
    m_menu->addAction(tr("Tarnwick v%1").arg(RemoteConfigManager::appVersion()))->setEnabled(false);
    // Some tray hosts open this menu on every click; this keeps the popover
    // reachable from it.
    m_menu->addAction(tr("Show Screenshots"), this, &AppDelegate::togglePopover);
    m_menu->addSeparator();
    m_menu->addAction(tr("Clear Screenshots"), this, &AppDelegate::clearScreenshots);
    m_menu->addAction(tr("Sync Screenshots"), this, &AppDelegate::syncScreenshots);
    m_menu->addSeparator();
    m_menu->addAction(tr("Library…"), QKeySequence(Qt::CTRL | Qt::Key_L), this, &AppDelegate::openLibrary);
    m_menu->addSeparator();
    m_menu->addAction(tr("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                      &AppDelegate::openSettings);
    m_menu->addSeparator();
    m_menu->addAction(tr("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp, &QCoreApplication::quit);
    for (QAction *action : m_menu->actions())
        action->setShortcutVisibleInContextMenu(true);
}

bool AppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_menu)
        return false;
    if (event->type() == QEvent::PaletteChange)
        updateIcon();  // a theme change: the panel may have changed shade too
    // A left click on the icon while the menu is open closes the menu and
    // opens the popover, as it would with the menu closed. The press itself
    // is not handed on to the icon, so it is done here.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        const std::optional<QRect> icon = iconGeometry();
        const bool onIcon = press->button() == Qt::LeftButton && icon
            && icon->contains(press->globalPosition().toPoint())
            && !m_menu->rect().contains(press->position().toPoint());
        m_menu->setAttribute(Qt::WA_NoMouseReplay, onIcon);
        if (onIcon)
            QTimer::singleShot(0, this, &AppDelegate::togglePopover);
        return false;
    }
    // A tray that leaves the menu to us opens it at the pointer, over the
    // icon; it belongs under the icon, where a click on the icon stays free.
    if (event->type() == QEvent::Show) {
        if (const std::optional<QRect> icon = iconGeometry()) {
            QScreen *screen = QGuiApplication::screenAt(icon->center());
            if (screen)
                m_menu->move(PopoverPlacement::dropDownTopLeft(m_menu->size(), *icon, screen->availableGeometry()));
        }
    }
    return false;
}

void AppDelegate::handleClick(QSystemTrayIcon::ActivationReason reason)
{
    m_hoverTimer.stop();
    m_hoverSuppressed = true;
    dismissHoverPanel();
    // The tray shows the menu itself on a right click.
    if (reason == QSystemTrayIcon::Trigger)
        togglePopover();
}

Popover *AppDelegate::popover() const
{
    return m_popover;
}

HoverPanel *AppDelegate::hoverPanel() const
{
    return m_hoverPanel;
}

bool AppDelegate::isPopoverShown() const
{
    return m_popover && m_popover->isVisible();
}

void AppDelegate::togglePopover()
{
    if (!m_popover)
        return;
    if (m_popover->isVisible()) {
        m_popover->close();
        return;
    }
    dismissHoverPanel();
    m_hoverTimer.stop();
    m_monitor->markAllRead();
    m_popover->setToggleArea(iconGeometry().value_or(QRect()));
    m_popover->move(popoverPosition());
    m_popover->show();
    m_popover->raise();
    m_popover->activateWindow();  // keyboard input goes here at once
}

std::optional<QRect> AppDelegate::iconGeometry() const
{
    if (!m_statusItem || !m_statusItem->isVisible())
        return std::nullopt;
    const QRect geometry = m_statusItem->geometry();
    if (!geometry.isValid())
        return std::nullopt;
    return geometry;
}

QPoint AppDelegate::popoverPosition() const
{
    const std::optional<QRect> icon = iconGeometry();
    const QPoint cursor = QCursor::pos();
    QScreen *screen = icon ? QGuiApplication::screenAt(icon->center()) : QGuiApplication::screenAt(cursor);
    std::optional<QPoint> pointer;
    if (QGuiApplication::screenAt(cursor))
        pointer = cursor;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    return PopoverPlacement::topLeft(m_popover->size(), icon, pointer, available);
}

void AppDelegate::clearScreenshots()
{
    m_monitor->removeAllDeletingTemporary();
    m_monitor->markAllRead();
}

void AppDelegate::syncScreenshots()
{
    m_monitor->syncAll();
}

void AppDelegate::openLibrary()
{
    const bool existed = LibraryWindowController::window();
    LibraryView::Dependencies deps;
    deps.monitor = m_monitor;
    deps.remoteConfig = m_services.remoteConfig;
    deps.workspace = m_services.workspace;
    deps.codeDetector = m_services.codeDetector;
    deps.textRecognizer = m_services.textRecognizer;
    deps.imgurClientId = m_services.imgurClientId;
    deps.imgur = m_services.imgur;
    deps.captureIndex = m_services.captureIndex;
    deps.textIndexer = m_services.textIndexer;
    LibraryWindowController::open(deps);
    if (!existed)
        connect(LibraryWindowController::view(), &LibraryView::annotateRequested, this,
                &AppDelegate::annotateRequested);
}

void AppDelegate::openSettings()
{
    SettingsView::Dependencies deps;
    deps.monitor = m_monitor;
    deps.preferences = m_services.preferences;
    deps.remoteConfig = m_services.remoteConfig;
    deps.loginItem = m_services.loginItem;
    deps.imgurClientId = m_services.imgurClientId;
    deps.openKeyboardSettings = m_services.openKeyboardSettings;
    deps.textIndexSwitched = m_services.textIndexSwitched;
    deps.hotKeyActive = m_hotKeyActive;
    SettingsWindowController::open(deps);
}

void AppDelegate::rearmHoverUnlessOnIcon()
{
    // A popup grabs the pointer, so the icon may never hear that it was left:
    // when the popup closes with the pointer elsewhere, the next visit counts.
    const std::optional<QRect> icon = iconGeometry();
    m_hoverSuppressed = icon && icon->contains(QCursor::pos());
}

void AppDelegate::handleMouseEntered()
{
    if (!m_statusItem->toolTip().isEmpty())
        updateToolTip();  // this tray reports hover: the panel replaces the tooltip
    if (m_hoverSuppressed || m_monitor->screenshots().isEmpty() || isPopoverShown())
        return;
    m_hoverTimer.start(m_timings.hoverDelay);
}

void AppDelegate::handleMouseExited()
{
    // Grabs by the popover or the menu also report a leave while the pointer
    // stays on the icon.
    const std::optional<QRect> icon = iconGeometry();
    if (!icon || !icon->contains(QCursor::pos()))
        m_hoverSuppressed = false;
    m_hoverTimer.stop();
    dismissHoverPanel();
}

void AppDelegate::showHoverPanel()
{
    const std::optional<QRect> icon = iconGeometry();
    if (isPopoverShown() || m_monitor->screenshots().isEmpty() || !icon)
        return;
    const ScreenshotItem item = m_monitor->screenshots().constFirst();
    dismissHoverPanel();
    QScreen *screen = QGuiApplication::screenAt(icon->center());
    const QRectF area = screen ? QRectF(screen->geometry()) : QRectF(QPointF(-1e6, -1e6), QSizeF(2e6, 2e6));
    const QRectF frame = HoverPanelGeometry::frame(QRectF(*icon), HoverPanelGeometry::panelHeight(item.thumbnail.size()),
                                                   area);
    auto *panel = new HoverPanel(new HoverPreviewView(item), m_services.compositing && m_services.compositing());
    panel->place(frame.toRect());
    panel->fadeIn(m_timings.fadeIn);
    m_hoverPanel = panel;
}

void AppDelegate::dismissHoverPanel()
{
    if (!m_hoverPanel)
        return;
    HoverPanel *panel = m_hoverPanel;
    m_hoverPanel = nullptr;
    panel->fadeOut(m_timings.fadeOut);
}
