// The shell's widgets offscreen; clicks, hover and the hot key in a real tray
// are the end-to-end test's.

#include "common/Spinner.h"
#include "library/LibraryWindowController.h"
#include "settings/SettingsWindowController.h"
#include "shell/AppDelegate.h"
#include "shell/HoverPanel.h"
#include "shell/HoverPreviewView.h"
#include "shell/Popover.h"
#include "shell/StatusIconRenderer.h"
#include "shell/SwipeInput.h"
#include "viewer/ContentView.h"
#include "MonitorFixture.h"
#include "WidgetSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using std::chrono::milliseconds;
using WidgetSupport::sendWheel;
using WidgetSupport::swipe;

namespace {

bool isRed(QRgb pixel)
{
    return qAlpha(pixel) > 240 && qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

// The dot's centre, in logical pixels of the 22 × 22 icon.
bool hasDot(const QImage &icon)
{
    return isRed(icon.pixel(int(18 * icon.devicePixelRatio()), int(18 * icon.devicePixelRatio())));
}

// A monitor with fast timings and the delegate around it, launched.
struct Shell {
    MonitorFixture fixture;
    ScreenshotMonitor &monitor = fixture.start();
    int refreshes = 0;
    AppDelegate delegate{&monitor, AppDelegate::Services{nullptr, [this] { ++refreshes; }},
                         AppDelegate::Timings{milliseconds(40), milliseconds(30), milliseconds(30)}};

    Shell() { delegate.applicationDidFinishLaunching(); }
    ~Shell() { monitor.waitForBackgroundWork(); }

    bool iconHasDot() const { return hasDot(delegate.statusItem()->icon().pixmap(QSize(22, 22), 1.0).toImage()); }

    void add(int count) { fixture.addShots(count, 800); }  // 800 × 500

    // The menu as it opens: "-" for a separator, disabled items in brackets,
    // the shortcut after a tab.
    QStringList menuLines()
    {
        delegate.menu()->popup(QPoint(10, 10));
        QStringList lines;
        for (QAction *action : delegate.menu()->actions()) {
            QString line = action->isSeparator() ? QStringLiteral("-") : action->text();
            if (!action->shortcut().isEmpty())
                line += u'\t' + action->shortcut().toString();
            lines << (action->isEnabled() ? line : u'[' + line + u']');
        }
        delegate.menu()->close();
        return lines;
    }

    void trigger(const QString &title)
    {
        menuLines();  // fills the menu
        const QList<QAction *> actions = delegate.menu()->actions();
        const auto found = std::find_if(actions.begin(), actions.end(), [&](QAction *a) { return a->text() == title; });
        QVERIFY2(found != actions.end(), qPrintable(title));
        (*found)->trigger();
    }

    template <typename T>
    T *child(const QString &name) const { return WidgetSupport::childNamed<T>(delegate.contentView(), name); }
};

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
        QTest::newRow("many unread, still only a dot") << 42 << false << true;
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
            const QImage icon =
                StatusIconRenderer::render(unread, pending, colors, ratio).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(icon.size(), QSize(22, 22) * ratio);
            QCOMPARE(hasDot(icon), dot);
            // The ring in the background colour around the dot, below and left
            // of it, where the glyph does not reach.
            const QRgb ring = icon.pixel(int(14.75 * ratio), int(18.25 * ratio));
            QVERIFY2(dot ? qAlpha(ring) > 128 && qBlue(ring) > 150 && qRed(ring) < 60 : qAlpha(ring) == 0,
                     qPrintable(QString::number(ring, 16)));
            // The camera glyph in the glyph colour either way, nothing red outside the dot.
            int glyph = 0;
            for (int y = int(5 * ratio); y < int(13 * ratio); ++y)
                for (int x = int(3 * ratio); x < int(13 * ratio); ++x)
                    glyph += qAlpha(icon.pixel(x, y)) > 128 && qRed(icon.pixel(x, y)) < 60 ? 1 : 0;
            QVERIFY2(glyph > 10 * ratio * ratio, qPrintable(QString::number(glyph)));
            QVERIFY(!isRed(icon.pixel(int(11 * ratio), int(11 * ratio))));
        }
    }

    // The unread dot and its clearing, and the hot key, are tried in a real tray end to end.
    void launchedShellFollowsTheMonitor()
    {
        Shell shell;
        QCOMPARE(shell.refreshes, 1);  // the remote configuration is asked for at launch
        QCOMPARE(shell.delegate.statusItem()->toolTip(), QStringLiteral("Tarnwick"));
        shell.delegate.togglePopover();
        auto *empty = shell.child<QLabel>(QStringLiteral("emptyState.title"));
        auto *capturing = shell.child<QLabel>(QStringLiteral("header.capturing"));
        auto *counter = shell.child<QLabel>(QStringLiteral("header.counter"));
        QVERIFY(empty->isVisible() && !capturing->isVisible() && !counter->isVisible());

        shell.monitor.screenshotEventFired();  // pending alone shows the dot and the spinner
        QTRY_VERIFY(shell.iconHasDot());
        QVERIFY(capturing->isVisible() && !counter->isVisible());
        QVERIFY(shell.delegate.contentView()->findChild<Spinner *>()->isSpinning());
        QTRY_VERIFY_WITH_TIMEOUT(!shell.iconHasDot(), 5000);  // until the pending lifetime ran out
        QVERIFY(!capturing->isVisible());

        shell.add(3);
        QVERIFY(!empty->isVisible() && counter->isVisible());
        // Offscreen there is no tray window to hover: the tooltip carries the preview's lines.
        const ScreenshotItem &item = shell.monitor.screenshots().constFirst();
        QCOMPARE(shell.delegate.statusItem()->toolTip(),
                 QStringLiteral("Screenshot 002.png\n") + item.formattedDate() + QStringLiteral(" · 800×500 · ")
                     + item.fileSize());
        shell.child<QPushButton>(QStringLiteral("header.library"))->click();
        QTRY_VERIFY(LibraryWindowController::window());
        LibraryWindowController::window()->close();
    }

    void menuAndItsActions()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("2.5.1"));
        Shell shell;
        QCOMPARE(shell.child<QLabel>(QStringLiteral("footer.version"))->text(), QStringLiteral("Tarnwick v2.5.1"));
        QCOMPARE(shell.menuLines().constFirst(), QStringLiteral("[Tarnwick v2.5.1]"));
        QCoreApplication::setApplicationVersion(QString());  // the menu is rebuilt on every opening
        QCOMPARE(shell.menuLines().join(u'|'), QStringLiteral("[Tarnwick v1.0]|Show Screenshots|-|Clear Screenshots|"
                                                              "Sync Screenshots|-|Library…\tCtrl+L|-|Settings…\tCtrl+,|-|"
                                                              "Quit\tCtrl+Q"));
        shell.add(2);
        shell.trigger(QStringLiteral("Clear Screenshots"));
        QTRY_VERIFY(shell.monitor.screenshots().isEmpty());
        QCOMPARE(shell.monitor.unreadCount(), 0);
        shell.trigger(QStringLiteral("Show Screenshots"));
        QVERIFY(shell.delegate.isPopoverShown());
        shell.delegate.popover()->close();
        for (const QString &title : {QStringLiteral("Library…"), QStringLiteral("Settings…")}) {
            shell.trigger(title);  // one window of each is the end-to-end test's
            QPointer<QWidget> opened =
                title.startsWith(u'L') ? LibraryWindowController::window() : SettingsWindowController::window();
            QVERIFY(opened && opened->isVisible());
            opened->close();
            QTRY_VERIFY(!opened);
        }
    }

    // The swipe rules have their own table; this is about wheel events getting
    // to them: each counted once, gesture phases and wheel notches understood.
    void wheelEventsStepBetweenItems()
    {
        Shell shell;
        shell.add(3);
        shell.delegate.togglePopover();
        QWindow *window = shell.delegate.popover()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        ContentView *content = shell.delegate.contentView();
        const auto afterNotches = [window, content](int count) {  // a tilt wheel has no phases: a notch, a step
            for (int i = 0; i < std::abs(count); ++i)
                sendWheel(window, 0, Qt::NoScrollPhase, QPoint(count > 0 ? 120 : -120, 0));
            return content->currentIndex();
        };

        swipe(window, {-15, -15, -15});  // left: the older item
        QCOMPARE(content->currentIndex(), 1);
        swipe(window, {25});
        swipe(window, {25});
        QCOMPARE(content->currentIndex(), 1);
        QCOMPARE(afterNotches(2), 0);  // right, up to the newest
        QCOMPARE(afterNotches(-1), 1);
        QCOMPARE(afterNotches(-2), 2);  // down to the oldest

        shell.delegate.popover()->close();
        afterNotches(1);  // closed, the viewer takes no swipes and keeps its place
        shell.delegate.togglePopover();
        QCOMPARE(content->currentIndex(), 2);
        QCOMPARE(afterNotches(1), 1);

        // Scrolling without phases ends when it has been quiet for a while.
        SwipeInput input(nullptr, milliseconds(30));
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

    // A file on disk gets dimensions and size in the details, as the tooltip above shows.
    void hoverPreviewOfAGoneFile()
    {
        ScreenshotItem item;
        item.url = QUrl::fromLocalFile(QStringLiteral("/gone/Screenshot with a name far too long for the panel.png"));
        item.capturedAt = QDateTime::currentDateTime();
        auto *view = new HoverPreviewView(item);
        QCOMPARE(view->detailsText(), item.formattedDate());  // no dimensions, no size
        const QString name = view->findChild<QLabel *>(QStringLiteral("hover.name"))->text();
        QVERIFY2(name.contains(u'…') && name.startsWith(u"Screenshot") && name.endsWith(u".png"), qPrintable(name));

        QPointer<HoverPanel> panel = new HoverPanel(view);
        panel->setGeometry(100, 100, 220, 166);
        panel->fadeIn(milliseconds(60));
        QVERIFY(panel->isVisible() && panel->windowOpacity() < 0.5);
        QTRY_COMPARE(panel->windowOpacity(), 1.0);
        QVERIFY(QApplication::activeWindow() != panel);
        panel->fadeOut(milliseconds(60));
        QVERIFY(panel->isVisible());
        QTRY_VERIFY(!panel);  // faded out, hidden and gone
    }
};

QTEST_MAIN(ShellUiTest)
#include "test_shell_ui.moc"
