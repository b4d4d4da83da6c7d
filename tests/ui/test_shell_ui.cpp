// The shell's widgets offscreen: the drawn tray icon and how it follows the
// monitor, the tray menu, the popover and its content, swipes from real
// wheel events, and the hover panel and its preview.

#include "shell/AppDelegate.h"
#include "viewer/ContentView.h"
#include "shell/GlobalHotKey.h"
#include "shell/HoverPanel.h"
#include "shell/HoverPreviewView.h"
#include "library/LibraryWindowController.h"
#include "MonitorFixture.h"
#include "shell/Popover.h"
#include "settings/SettingsWindowController.h"
#include "common/Spinner.h"
#include "shell/StatusIconRenderer.h"
#include "shell/SwipeInput.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QWheelEvent>
#include <QWindow>

using namespace TestSupport;

namespace {

bool isRed(QRgb pixel)
{
    return qAlpha(pixel) > 240 && qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

// The dot's centre, in logical pixels of the 22 × 22 icon.
bool hasDot(const QImage &icon)
{
    const qreal ratio = icon.devicePixelRatio();
    return isRed(icon.pixel(int(18 * ratio), int(18 * ratio)));
}

bool iconHasDot(const AppDelegate &delegate)
{
    return hasDot(delegate.statusItem()->icon().pixmap(QSize(22, 22), 1.0).toImage());
}

class FakeHotKey : public GlobalHotKey
{
public:
    bool registerHotKey() override
    {
        ++registrations;
        return true;
    }
    int registrations = 0;
};

// A monitor with fast timings and the delegate around it, launched.
struct Shell {
    MonitorFixture fixture;
    ScreenshotMonitor &monitor = fixture.start();
    FakeHotKey hotKey;
    int refreshes = 0;
    AppDelegate delegate{&monitor, AppDelegate::Services{&hotKey, [this] { ++refreshes; }},
                         AppDelegate::Timings{std::chrono::milliseconds(40), std::chrono::milliseconds(30),
                                              std::chrono::milliseconds(30)}};

    Shell() { delegate.applicationDidFinishLaunching(); }
    ~Shell() { monitor.waitForBackgroundWork(); }

    // Adds captures as the folder watch would and waits until they are listed.
    void add(int count)
    {
        const qsizetype before = monitor.screenshots().size();
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << writePng(fixture.root.path() + QStringLiteral("/in/Screenshot %1.png").arg(before + i),
                              makeImage(800, 500, Qt::darkCyan, int(before + i)));
        monitor.addScreenshots(paths);
        QTRY_COMPARE_WITH_TIMEOUT(monitor.screenshots().size(), before + count, 10000);
    }

    QStringList menuTitles()
    {
        QMenu *menu = delegate.menu();
        menu->popup(QPoint(10, 10));
        QStringList titles;
        for (QAction *action : menu->actions())
            titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
        menu->close();
        return titles;
    }

    QAction *menuAction(const QString &title)
    {
        menuTitles();  // fills the menu
        for (QAction *action : delegate.menu()->actions()) {
            if (action->text() == title)
                return action;
        }
        return nullptr;
    }

    template <typename T>
    T *child(const QString &name) const
    {
        return delegate.contentView()->findChild<T *>(name);
    }
};

void sendWheel(QWindow *window, QPoint pixels, Qt::ScrollPhase phase, QPoint angle = {})
{
    const QPointF inside(50, 50);
    QWheelEvent event(inside, window->mapToGlobal(inside), pixels, angle.isNull() ? pixels * 2 : angle, Qt::NoButton,
                      Qt::NoModifier, phase, false);
    QCoreApplication::sendEvent(window, &event);
}

}  // namespace

class ShellUiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconDrawing_data()
    {
        QTest::addColumn<int>("unread");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("dot");
        QTest::newRow("nothing") << 0 << false << false;
        QTest::newRow("one unread") << 1 << false << true;
        QTest::newRow("many unread") << 42 << false << true;
        QTest::newRow("pending only") << 0 << true << true;
        QTest::newRow("both") << 3 << true << true;
    }

    void iconDrawing()
    {
        QFETCH(int, unread);
        QFETCH(bool, pending);
        QFETCH(bool, dot);
        const StatusIconRenderer::Colors colors{Qt::black, QColor(0, 0, 255), QColor(255, 59, 48)};
        for (qreal ratio : {1.0, 2.0}) {
            const QImage icon = StatusIconRenderer::render(unread, pending, colors, ratio)
                                    .convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(icon.size(), QSize(22, 22) * ratio);
            QCOMPARE(StatusIconRenderer::showsDot(unread, pending), dot);
            QCOMPARE(hasDot(icon), dot);
            // The ring: the background colour at 0.85 opacity around the dot,
            // below and left of it, where the glyph does not reach.
            for (QPointF ring : {QPointF(14.75, 18.25), QPointF(18.25, 21.25)}) {
                const QRgb pixel = icon.pixel(int(ring.x() * ratio), int(ring.y() * ratio));
                if (dot) {
                    // At 2x these pixels lie wholly in the ring; at 1x the ring
                    // is one pixel wide and its edge softens them a little.
                    const int tolerance = ratio > 1 ? 8 : 30;
                    QVERIFY2(qAbs(qAlpha(pixel) - 217) <= tolerance, qPrintable(QString::number(qAlpha(pixel))));
                    QVERIFY(qBlue(pixel) > 150 && qRed(pixel) < 60);
                } else {
                    QCOMPARE(qAlpha(pixel), 0);
                }
            }
            // The camera glyph is there in both cases, in the glyph colour.
            int glyph = 0;
            for (int y = int(5 * ratio); y < int(13 * ratio); ++y)
                for (int x = int(3 * ratio); x < int(13 * ratio); ++x)
                    glyph += qAlpha(icon.pixel(x, y)) > 128 && qRed(icon.pixel(x, y)) < 60 ? 1 : 0;
            QVERIFY2(glyph > 10 * ratio * ratio, qPrintable(QString::number(glyph)));
            // Nothing red outside the dot.
            QVERIFY(!isRed(icon.pixel(int(11 * ratio), int(11 * ratio))));
        }
    }

    void iconFollowsTheMonitor()
    {
        Shell shell;
        QVERIFY(!iconHasDot(shell.delegate));
        shell.monitor.screenshotEventFired();  // pending alone shows the dot
        QTRY_VERIFY(shell.monitor.isPending());
        QVERIFY(iconHasDot(shell.delegate));
        QTRY_VERIFY_WITH_TIMEOUT(!shell.monitor.isPending(), 5000);  // pending lifetime ran out
        QVERIFY(!iconHasDot(shell.delegate));
        shell.add(1);
        QCOMPARE(shell.monitor.unreadCount(), 1);
        QVERIFY(iconHasDot(shell.delegate));
        shell.delegate.togglePopover();  // opening clears the unread count, and the dot with it
        QVERIFY(shell.delegate.isPopoverShown());
        QTRY_COMPARE(shell.monitor.unreadCount(), 0);
        QVERIFY(!iconHasDot(shell.delegate));
        shell.delegate.togglePopover();
        QVERIFY(!shell.delegate.isPopoverShown());
    }

    void toolTipCarriesTheNewestItemWithoutHover()
    {
        // Offscreen there is no tray window, so no hover: the tooltip stands in.
        Shell shell;
        QCOMPARE(shell.delegate.statusItem()->toolTip(), QStringLiteral("Tarnwick"));
        shell.add(1);
        const ScreenshotItem &item = shell.monitor.screenshots().constFirst();
        QCOMPARE(shell.delegate.statusItem()->toolTip(),
                 QStringLiteral("Screenshot 0.png\n") + item.formattedDate() + QStringLiteral(" · 800×500 · ")
                     + item.fileSize());
    }

    void launchRegistersHotKeyAndRefreshesConfiguration()
    {
        Shell shell;
        QCOMPARE(shell.hotKey.registrations, 1);
        QCOMPARE(shell.refreshes, 1);
        Q_EMIT shell.hotKey.activated();
        QTRY_VERIFY(shell.delegate.isPopoverShown());
        Q_EMIT shell.hotKey.activated();
        QTRY_VERIFY(!shell.delegate.isPopoverShown());
    }

    void popoverWindow()
    {
        Shell shell;
        Popover *popover = shell.delegate.popover();
        shell.delegate.togglePopover();
        QVERIFY(QTest::qWaitForWindowExposed(popover));
        QCOMPARE(popover->size(), QSize(360, 480));
        QCOMPARE(QApplication::activePopupWidget(), popover);
        QTest::keyClick(popover, Qt::Key_Escape);
        QTRY_VERIFY(!popover->isVisible());
        // The content survives closing and opening.
        const ContentView *content = shell.delegate.contentView();
        shell.delegate.togglePopover();
        QCOMPARE(shell.delegate.contentView(), content);
        popover->close();
    }

    void menuItems()
    {
        Shell shell;
        QCoreApplication::setApplicationVersion(QString());
        const QStringList expected{QStringLiteral("Tarnwick v1.0"), QStringLiteral("Show Screenshots"),
                                   QStringLiteral("-"), QStringLiteral("Clear Screenshots"),
                                   QStringLiteral("Sync Screenshots"), QStringLiteral("-"),
                                   QStringLiteral("Library\u2026"), QStringLiteral("-"),
                                   QStringLiteral("Settings\u2026"), QStringLiteral("-"), QStringLiteral("Quit")};
        QCOMPARE(shell.menuTitles(), expected);
        QVERIFY(!shell.delegate.menu()->actions().constFirst()->isEnabled());
        QCOMPARE(shell.menuAction(QStringLiteral("Library\u2026"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        QCOMPARE(shell.menuAction(QStringLiteral("Settings\u2026"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QCOMPARE(shell.menuAction(QStringLiteral("Quit"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        // Rebuilt every time it opens.
        QCoreApplication::setApplicationVersion(QStringLiteral("2.5.1"));
        QCOMPARE(shell.menuTitles().constFirst(), QStringLiteral("Tarnwick v2.5.1"));
        QCOMPARE(shell.menuTitles().size(), expected.size());
        QCoreApplication::setApplicationVersion(QString());
    }

    void menuActions()
    {
        Shell shell;
        shell.add(2);
        QCOMPARE(shell.monitor.unreadCount(), 2);
        shell.menuAction(QStringLiteral("Clear Screenshots"))->trigger();
        QTRY_VERIFY(shell.monitor.screenshots().isEmpty());
        QCOMPARE(shell.monitor.unreadCount(), 0);

        shell.menuAction(QStringLiteral("Show Screenshots"))->trigger();
        QVERIFY(shell.delegate.isPopoverShown());
        shell.delegate.togglePopover();

        shell.menuAction(QStringLiteral("Library\u2026"))->trigger();
        QPointer<QWidget> library = LibraryWindowController::window();
        QVERIFY(library && library->isVisible());
        QCOMPARE(library->windowTitle(), QStringLiteral("Library"));
        shell.menuAction(QStringLiteral("Library\u2026"))->trigger();
        QCOMPARE(LibraryWindowController::window(), library.data());  // one slot

        shell.menuAction(QStringLiteral("Settings\u2026"))->trigger();
        QPointer<QWidget> settings = SettingsWindowController::window();
        QVERIFY(settings && settings->isVisible());
        QCOMPARE(settings->windowTitle(), QStringLiteral("Tarnwick Settings"));
        library->close();
        settings->close();
        QTRY_VERIFY(!library && !settings);
    }

    void headerAndEmptyState()
    {
        Shell shell;
        shell.delegate.togglePopover();
        auto *title = shell.child<QLabel>(QStringLiteral("emptyState.title"));
        auto *hint = shell.child<QLabel>(QStringLiteral("emptyState.hint"));
        auto *capturing = shell.child<QLabel>(QStringLiteral("header.capturing"));
        auto *counter = shell.child<QLabel>(QStringLiteral("header.counter"));
        QVERIFY(title && hint && capturing && counter);
        QVERIFY(title->isVisible());
        QCOMPARE(title->text(), QStringLiteral("No Screenshots"));
        QTextDocument hintText;
        hintText.setHtml(hint->text());
        QCOMPARE(hintText.toPlainText(), QStringLiteral("PrtSc or Shift PrtSc"));
        QVERIFY(hint->text().contains(QStringLiteral("<code>PrtSc</code>")));
        QVERIFY(!capturing->isVisible());
        QVERIFY(!counter->isVisible());
        QCOMPARE(shell.child<QLabel>(QStringLiteral("footer.version"))->text(),
                 QStringLiteral("Tarnwick v") + (QCoreApplication::applicationVersion().isEmpty()
                                                     ? QStringLiteral("1.0")
                                                     : QCoreApplication::applicationVersion()));

        shell.monitor.screenshotEventFired();
        QTRY_VERIFY(capturing->isVisible());
        QVERIFY(!counter->isVisible());
        QCOMPARE(capturing->text(), QStringLiteral("Capturing..."));
        QVERIFY(shell.delegate.contentView()->findChild<Spinner *>()->isSpinning());

        shell.add(3);  // the capture ends the pending state
        QTRY_VERIFY(!capturing->isVisible());
        QVERIFY(!title->isVisible());
        QVERIFY(counter->isVisible());
        QCOMPARE(counter->text(), QStringLiteral("1 of 3"));
        auto *library = shell.child<QPushButton>(QStringLiteral("header.library"));
        QVERIFY(library && library->isVisible());
        QSignalSpy libraryRequested(shell.delegate.contentView(), &ContentView::libraryRequested);
        library->click();
        QCOMPARE(libraryRequested.count(), 1);
        QTRY_VERIFY(LibraryWindowController::window());
        LibraryWindowController::window()->close();
        shell.delegate.popover()->close();
    }

    void swipesMoveBetweenItems()
    {
        Shell shell;
        shell.add(3);
        shell.delegate.togglePopover();
        QWindow *window = shell.delegate.popover()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        ContentView *content = shell.delegate.contentView();
        auto *counter = shell.child<QLabel>(QStringLiteral("header.counter"));

        for (int i = 0; i < 3; ++i)  // -45 in one gesture: the older item
            sendWheel(window, QPoint(-15, 0), Qt::ScrollUpdate);
        sendWheel(window, QPoint(), Qt::ScrollEnd);
        QCOMPARE(content->currentIndex(), 1);
        QCOMPARE(counter->text(), QStringLiteral("2 of 3"));

        sendWheel(window, QPoint(0, -60), Qt::ScrollUpdate);  // vertical: nothing
        sendWheel(window, QPoint(20, 0), Qt::ScrollUpdate);
        sendWheel(window, QPoint(), Qt::ScrollEnd);  // +20, ended: nothing
        sendWheel(window, QPoint(25, 0), Qt::ScrollUpdate);
        sendWheel(window, QPoint(), Qt::ScrollEnd);
        QCOMPARE(content->currentIndex(), 1);

        for (int i = 0; i < 18; ++i)  // +90 in one gesture: two steps, stopped at the newest
            sendWheel(window, QPoint(5, 0), Qt::ScrollUpdate);
        sendWheel(window, QPoint(), Qt::ScrollEnd);
        QCOMPARE(content->currentIndex(), 0);

        // A tilt wheel without phases: one notch is one step.
        sendWheel(window, QPoint(), Qt::NoScrollPhase, QPoint(-120, 0));
        QCOMPARE(content->currentIndex(), 1);
        sendWheel(window, QPoint(), Qt::NoScrollPhase, QPoint(-120, 0));
        sendWheel(window, QPoint(), Qt::NoScrollPhase, QPoint(-120, 0));  // already the oldest
        QCOMPARE(content->currentIndex(), 2);

        // Removing the shown last item shows the new last one.
        shell.monitor.remove(shell.monitor.screenshots().at(2));
        QTRY_COMPARE(content->currentIndex(), 1);
        QCOMPARE(counter->text(), QStringLiteral("2 of 2"));

        // Closed, the viewer takes no swipes.
        shell.delegate.popover()->close();
        QVERIFY(!content->swipeInput()->isEnabled());
    }

    void phaselessScrollingEndsWhenQuiet()
    {
        SwipeInput input(nullptr, std::chrono::milliseconds(30));
        QSignalSpy right(&input, &SwipeInput::swipedRight);
        QWheelEvent small(QPointF(), QPointF(), QPoint(), QPoint(60, 0), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);  // 30 points
        input.feed(&small);
        QTest::qWait(80);  // quiet: the gesture is over
        input.feed(&small);
        QCOMPARE(right.count(), 0);
        input.feed(&small);  // 60 within one burst
        QCOMPARE(right.count(), 1);
    }

    void hoverPanelWindow()
    {
        MonitorFixture fixture;
        const QString path = writePng(fixture.root.path() + QStringLiteral("/Screenshot wide.png"), makeImage(640, 320));
        ScreenshotItem item;
        item.url = QUrl::fromLocalFile(path);
        item.capturedAt = QDateTime::currentDateTime();
        item.thumbnail = makeImage(640, 320);
        auto *view = new HoverPreviewView(item);
        QCOMPARE(view->detailsText(),
                 item.formattedDate() + QStringLiteral(" · 640×320 · ") + item.fileSize());

        QPointer<HoverPanel> panel = new HoverPanel(view);
        panel->setGeometry(100, 100, 220, 166);
        panel->fadeIn(std::chrono::milliseconds(60));
        QVERIFY(panel->isVisible());
        QVERIFY(panel->windowOpacity() < 0.5);
        QTRY_COMPARE(panel->windowOpacity(), 1.0);
        QVERIFY(QApplication::activeWindow() != panel);
        panel->fadeOut(std::chrono::milliseconds(60));
        QVERIFY(panel->isVisible());
        QTRY_VERIFY(!panel);  // faded out, hidden and gone
    }

    void previewOfAGoneFile()
    {
        ScreenshotItem item;
        item.url = QUrl::fromLocalFile(QStringLiteral("/nonexistent/Screenshot with a rather long name that "
                                                      "cannot fit in the panel at all.png"));
        item.capturedAt = QDateTime::currentDateTime();
        HoverPreviewView view(item);
        QCOMPARE(view.detailsText(), item.formattedDate());  // no dimensions, no size
        auto *name = view.findChild<QLabel *>(QStringLiteral("hover.name"));
        QVERIFY(name->text().contains(QStringLiteral("…")));
        QVERIFY(name->text().startsWith(QStringLiteral("Screenshot")));
        QVERIFY(name->text().endsWith(QStringLiteral(".png")));
    }
};

QTEST_MAIN(ShellUiTest)
#include "test_shell_ui.moc"
