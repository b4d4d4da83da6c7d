// The popover viewer on a real X server: what its controls show and do as the
// history, the configuration and the user's actions change. Copying runs
// against the real clipboard and uploads against a local HTTPS server; code
// detection and text recognition use test doubles (the engines are tested
// on their own).

#include "capture/QtClipboard.h"
#include "common/Style.h"
#include "shell/SwipeInput.h"
#include "viewer/ActionButton.h"
#include "viewer/CodeScanTrigger.h"
#include "viewer/ContentView.h"
#include "viewer/ThumbnailView.h"
#include "viewer/UploadButton.h"
#include "CachedRemoteConfig.h"
#include "LocalHttpServer.h"
#include "MonitorFixture.h"
#include "TestSupport.h"
#include "WidgetSupport.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;
using namespace TestSupport;
using namespace WidgetSupport;
using std::chrono::milliseconds;

namespace {

// Every feature on but the one given.
RemoteConfig configWith(bool RemoteFeatureFlags::*off, bool forceUpdate = false)
{
    RemoteConfig config;
    if (off)
        config.feature_flags.*off = false;
    config.updates.force_update = forceUpdate;
    config.updates.minimum_supported_version = u"2.0"_s;
    return config;
}

// A monitor over a temporary folder and the viewer on it, shown at the
// popover's size. Parts may be filled in before start().
struct Viewer {
    MonitorFixture fixture;
    std::unique_ptr<QtClipboard> realClipboard;
    RecordingWorkspace workspace;
    std::unique_ptr<RemoteConfigManager> config;
    ContentView::Dependencies deps;
    std::unique_ptr<ContentView> view;

    Viewer()
    {
        deps.timings.scanDelay = milliseconds(10);
        deps.timings.feedback = {milliseconds(300), milliseconds(300)};
    }

    ScreenshotMonitor &monitor() { return *fixture.monitor; }

    // Shown unless asked otherwise, then count new items added.
    ContentView &start(int count = 0, bool show = true)
    {
        if (!fixture.monitor)  // a test may fill the history before the viewer exists
            fixture.start(realClipboard.get());
        deps.monitor = fixture.monitor.get();
        deps.workspace = &workspace;
        deps.remoteConfig = config.get();
        deps.preferences = fixture.preferences.get();
        view = std::make_unique<ContentView>(deps);
        view->resize(360, 480);
        if (show) {
            view->show();
            if (!QTest::qWaitForWindowExposed(view.get()))
                qFatal("the viewer never showed");
        }
        if (count > 0)
            fixture.addShots(count);
        return *view;
    }

    ~Viewer()
    {
        if (view) {
            view->actions()->waitForBackgroundWork();
            view->codeScanTrigger()->waitForBackgroundWork();
        }
        view.reset();
        if (fixture.monitor)
            fixture.monitor->waitForBackgroundWork();
        fixture.monitor.reset();  // before the clipboard it uses
    }

    template <typename T = QWidget>
    T *child(const QString &name) const { return childNamed<T>(view.get(), name); }
    QString counter() const { return child<QLabel>(QStringLiteral("header.counter"))->text(); }
    ThumbnailView *thumbnail() const { return child<ThumbnailView>(QStringLiteral("carousel.thumbnail")); }

    // A click where a person would click: whatever is on top there gets it.
    void clickAt(QWidget *target)
    {
        const QPoint at = target->mapTo(view.get(), target->rect().center());
        QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {}, at);
    }
};

}  // namespace

class ContentViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The clipboard's own echo of a copy, or a clipboard manager taking it
    // over, must never come back as a capture; a foreign image still does.
    void copyAddsNoHistoryItem()
    {
        Viewer viewer;
        viewer.realClipboard = std::make_unique<QtClipboard>();
        viewer.fixture.preferences->setBool(Preferences::clipboardScreenshotsOnlyKey, false);
        // From the history, so the monitor has not offered it to the clipboard itself.
        const QString shot = viewer.fixture.writeShot(1);
        viewer.fixture.preferences->setHistoryPaths({shot});
        viewer.start();
        QTRY_COMPARE(viewer.monitor().screenshots().size(), 1);

        auto *copy = viewer.child<ActionButton>(QStringLiteral("actions.copy"));
        copy->click();
        QTRY_COMPARE(copy->text(), QStringLiteral("Copied"));
        // The same pixels, now owned by another program, then a foreign image.
        for (const QString &file : {shot, viewer.fixture.writeShot(2)}) {
            DiagnosticRecorder diagnostics;
            const ClipboardOwner owner({u"image/png="_s + file});
            QTRY_VERIFY(!QGuiApplication::clipboard()->ownsClipboard());
            viewer.monitor().pollClipboard();
            // Read and judged: kept out as ours, or taken as a new image.
            QTRY_VERIFY(diagnostics.contains(u"[Clipboard] Skipped"_s) || diagnostics.contains(u"[Clipboard] Saved"_s));
            QTRY_COMPARE(viewer.monitor().screenshots().size(), file == shot ? 1 : 2);
        }
    }

    void lateCodeResultShowsNothing_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("shown");
        QTest::newRow("nothing happens: the codes show") << QString() << true;
        QTest::newRow("switched to another item") << QStringLiteral("next") << false;
        QTest::newRow("popover closed") << QStringLiteral("hide") << false;
    }
    void lateCodeResultShowsNothing()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, shown);
        Gate gate;
        WidthCodeDetector detector(&gate);
        Viewer viewer;
        viewer.deps.codeDetector = &detector;
        ContentView &view = viewer.start(0, false);
        viewer.fixture.addShots(1, 160);
        viewer.fixture.addShots(1, WidthCodeDetector::codedWidth);  // the newest, shown first, holds the code
        const QUuid coded = view.currentItem()->id;
        view.show();
        QTRY_COMPARE(gate.arrived(), 1);  // scanning, held at the gate
        if (meanwhile == QLatin1String("next"))
            QVERIFY(view.showNext());
        else if (meanwhile == QLatin1String("hide"))
            view.hide();
        gate.open();
        view.codeScanTrigger()->waitForBackgroundWork();
        QTest::qWait(50);  // any result posted back is delivered
        view.codeScanTrigger()->waitForBackgroundWork();
        QCoreApplication::processEvents();
        QCOMPARE(view.codesItemId(), shown ? std::optional(coded) : std::nullopt);
        QCOMPARE(view.codePayloads().size(), shown ? 1 : 0);
    }

    // The rows under the picture at each place in the history, and what
    // pressing one of their controls there shows.
    void navigationRow_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("after");  // the counter then; none: the empty state
        QTest::newRow("one item: nowhere to go, no strip")
            << 1 << 0 << u"1 of 1"_s << false << false << u"previous"_s << u"1 of 1"_s;
        QTest::newRow("newest of two") << 2 << 0 << u"1 of 2"_s << false << true << u"next"_s << u"2 of 2"_s;
        QTest::newRow("oldest of three") << 3 << 2 << u"3 of 3"_s << true << false << u"previous"_s << u"2 of 3"_s;
        QTest::newRow("past the twentieth of 23: the twentieth")
            << 23 << 30 << u"20 of 20"_s << true << false << u"previous"_s << u"19 of 20"_s;
        QTest::newRow("deleting the last: the new last shows")
            << 3 << 2 << u"3 of 3"_s << true << false << u"delete"_s << u"2 of 2"_s;
        QTest::newRow("deleting the only one: the empty state")
            << 1 << 0 << u"1 of 1"_s << false << false << u"delete"_s << QString();
    }
    void navigationRow()
    {
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(QString, counter);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        QFETCH(QString, press);
        QFETCH(QString, after);
        Viewer viewer;
        ContentView &view = viewer.start(count);
        view.setCurrentIndex(index);
        QCOMPARE(viewer.counter(), counter);
        QCOMPARE(dotColours(viewer.child<QLabel>(u"infoRow.details"_s)),
                 QList<QRgb>(3, Style::quaternary(view.palette()).rgba()));  // fainter than the text
        QCOMPARE(viewer.child<QAbstractButton>(QStringLiteral("navRow.previous"))->isEnabled(), previous);
        QCOMPARE(viewer.child<QAbstractButton>(QStringLiteral("navRow.next"))->isEnabled(), next);
        QCOMPARE(viewer.child(QStringLiteral("navRow.strip"))->isVisible(), count > 1);
        if (!next)
            QVERIFY(!view.showNext());  // a swipe is bounded the same
        const bool deleting = press == u"delete"_s;
        viewer.clickAt(viewer.child(deleting ? u"infoRow.delete"_s : u"navRow."_s + press));
        QTRY_COMPARE(viewer.monitor().screenshots().size(), deleting ? count - 1 : count);
        QCOMPARE(viewer.child<QLabel>(u"emptyState.title"_s)->isVisible(), after.isNull());
        if (!after.isNull())
            QCOMPARE(viewer.counter(), after);
    }

    // Every copy takes back its own feedback: a second copy inside the first
    // one's window does not prolong it.
    void copiedFeedbackEndsOnTime()
    {
        Viewer viewer;
        viewer.deps.timings.feedback.copiedFeedback = milliseconds(600);
        viewer.start(1);
        auto *copy = viewer.child<ActionButton>(QStringLiteral("actions.copy"));
        QFile::rename(viewer.monitor().screenshots().at(0).filePath(), viewer.fixture.root.path() + QStringLiteral("/gone"));
        const qint64 changes = viewer.fixture.clipboard.changeCount();
        copy->click();  // an unreadable file: no feedback, nothing copied
        viewer.view->actions()->waitForBackgroundWork();
        QTest::qWait(20);
        QCOMPARE(copy->text(), QStringLiteral("Copy"));
        QCOMPARE(viewer.fixture.clipboard.changeCount(), changes);
        QFile::rename(viewer.fixture.root.path() + QStringLiteral("/gone"), viewer.monitor().screenshots().at(0).filePath());

        copy->click();
        QTRY_COMPARE(copy->text(), QStringLiteral("Copied"));
        QElapsedTimer since;
        since.start();
        QVERIFY(viewer.fixture.clipboard.changeCount() > changes);
        QTest::qWait(300);
        copy->click();
        QTRY_COMPARE_WITH_TIMEOUT(copy->text(), QStringLiteral("Copy"), 3000);
        // Its own reset at 600 ms, not the second copy's at 900 ms or later.
        QVERIFY2(since.elapsed() < 800, qPrintable(QString::number(since.elapsed())));
    }

    void upload_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("during");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("success: the link is copied") << 200 << u"Link Copied!"_s << u"https://i.example/a.png"_s;
        QTest::newRow("failure: silently offered again") << 500 << u"Upload to Imgur"_s << QString();
    }
    void upload()
    {
        QFETCH(int, status);
        QFETCH(QString, during);
        QFETCH(QString, clipboard);
        LocalHttpServer server;
        server.setHandler([](const HttpRequest &) { return std::optional<HttpResponse>(); });  // held
        Viewer viewer;
        viewer.fixture.preferences->setString(Preferences::imgurClientIdKey, QStringLiteral("0abc"));
        viewer.deps.imgur.apiHost = server.url();
        viewer.deps.imgur.tls = LocalHttpServer::trustingClient();
        viewer.start(1);
        auto *button = viewer.child<UploadButton>(QStringLiteral("actions.upload"));
        button->click();
        QTRY_COMPARE_WITH_TIMEOUT(server.heldCount(), 1, 10000);
        QCOMPARE(button->text(), QStringLiteral("Uploading..."));
        QVERIFY(!button->isEnabled());
        QCOMPARE(server.requests().constFirst().header("authorization"), QByteArray("Client-ID 0abc"));
        server.releaseHeld({status, "{\"success\":true,\"status\":200,\"data\":{\"link\":\"https://i.example/a.png\"}}"});
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 10000);
        QCOMPARE(button->text(), during);
        QCOMPARE(viewer.fixture.clipboard.text(), clipboard);
        QTRY_COMPARE(button->text(), QStringLiteral("Upload to Imgur"));
    }

    void offeredControls_data()
    {
        QTest::addColumn<std::optional<RemoteConfig>>("config");
        QTest::addColumn<QString>("clientId");
        QTest::addColumn<bool>("copyText");
        QTest::addColumn<bool>("upload");
        const QString id = QStringLiteral("0abc");
        using F = RemoteFeatureFlags;
        QTest::newRow("no configuration: everything") << std::optional<RemoteConfig>() << id << true << true;
        QTest::newRow("text recognition off") << std::optional(configWith(&F::ocr_enabled)) << id << false << true;
        QTest::newRow("upload off") << std::optional(configWith(&F::imgur_upload_enabled)) << id << true << false;
        QTest::newRow("no client id") << std::optional<RemoteConfig>() << QString() << true << false;
        QTest::newRow("codes off hides neither") << std::optional(configWith(&F::qr_code_enabled)) << id << true << true;
    }
    void offeredControls()
    {
        QFETCH(std::optional<RemoteConfig>, config);
        QFETCH(QString, clientId);
        QFETCH(bool, copyText);
        QFETCH(bool, upload);
        Viewer viewer;
        viewer.config = cachedConfigManager(viewer.fixture.root.path() + QStringLiteral("/rc"), config);
        viewer.fixture.preferences->setString(Preferences::imgurClientIdKey, clientId);
        viewer.start(1);
        QCOMPARE(viewer.child(QStringLiteral("actions.copyText"))->isVisible(), copyText);
        QCOMPARE(viewer.child(QStringLiteral("actions.upload"))->isVisible(), upload);
        QVERIFY(viewer.child(QStringLiteral("actions.copy"))->isVisible());
        QVERIFY(!viewer.child(QStringLiteral("updateBanner"))->isVisible());
        // Whatever rows lie below, the picture keeps the full content width
        // at 1.6 : 1, once the rows hidden by the configuration are laid out.
        const int width = viewer.view->width() - 28;
        QTRY_COMPARE(viewer.thumbnail()->size(), QSize(width, qRound(width / 1.6)));
        // The id set while the popover is closed counts from the next opening.
        viewer.view->hide();
        viewer.fixture.preferences->setString(Preferences::imgurClientIdKey, clientId.isEmpty() ? u"0abc"_s : QString());
        viewer.view->show();
        QCOMPARE(viewer.child(QStringLiteral("actions.upload"))->isVisible(),
                 (!config || config->feature_flags.imgur_upload_enabled) && clientId.isEmpty());
    }

    void forcedOverlaySwallowsInput_data()
    {
        QTest::addColumn<bool>("forced");
        QTest::newRow("forced: nothing beneath reacts") << true;
        QTest::newRow("not forced: the controls work") << false;
    }
    // Forced, the overlay takes all input but for its download button; both
    // download buttons follow the one download the configuration allows.
    void forcedOverlaySwallowsInput()
    {
        QFETCH(bool, forced);
        LocalHttpServer server;
        server.setHandler([](const HttpRequest &) { return std::optional<HttpResponse>(); });  // held
        RemoteConfig config = configWith(nullptr, forced);
        config.updates.show_update_banner = true;
        config.updates.latest_version = u"3.0"_s;
        config.updates.download_url = server.url(u"/Tarnwick.deb"_s).toString();
        Viewer viewer;
        viewer.config = cachedConfigManager(viewer.fixture.root.path() + u"/rc"_s, config);
        ContentView &view = viewer.start(4);
        view.activateWindow();  // where the arrow keys count
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QCOMPARE(viewer.child(u"forceUpdateOverlay"_s)->isVisible(), forced);
        QVERIFY(viewer.child(u"updateBanner"_s)->isVisible());
        viewer.clickAt(viewer.child(QStringLiteral("navRow.next")));
        viewer.clickAt(viewer.child(QStringLiteral("actions.open")));
        QTest::keyClick(view.windowHandle(), Qt::Key_Space);
        QTest::keyClick(view.windowHandle(), Qt::Key_Right);
        swipe(view.windowHandle(), {-15, -15, -15});
        QTest::qWait(20);
        QCOMPARE(view.currentIndex(), forced ? 0 : 3);
        QCOMPARE(viewer.workspace.calls.size(), forced ? 0 : 1);
        QCOMPARE(view.swipeInput()->isEnabled(), !forced);
        if (!forced)
            return;
        auto *banner = viewer.child<QAbstractButton>(u"updateBanner.download"_s);
        auto *overlay = viewer.child<QAbstractButton>(u"forceUpdateOverlay.download"_s);
        QTest::keyClick(view.windowHandle(), Qt::Key_Tab);  // the keyboard stays on the download button
        QCOMPARE(QApplication::focusWidget(), overlay);
        QTest::keyClick(view.windowHandle(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(server.heldCount(), 1, 10000);
        for (QAbstractButton *button : {banner, overlay}) {
            QCOMPARE(button->text(), u"Downloading..."_s);
            QVERIFY(!button->isEnabled());
        }
        server.releaseHeld({404, {}});  // a failed download: both offer it again
        QTRY_VERIFY_WITH_TIMEOUT(banner->isEnabled(), 10000);
        QCOMPARE(banner->text(), u"Download"_s);
        QCOMPARE(overlay->text(), u"Download Update"_s);
    }

    // At the history's cap a new capture takes the shown item's place without
    // changing the count; the old item's codes and frame must not stay. Only
    // such changes pick the frame: the first showing does not.
    void replacedShownItemStartsAfresh()
    {
        WidthCodeDetector detector;
        Viewer viewer;
        viewer.deps.codeDetector = &detector;
        QStringList paths;
        for (int i = 0; i < 100; ++i)
            paths << viewer.fixture.writeShot(i, 40);
        viewer.fixture.preferences->setHistoryPaths(paths);
        viewer.fixture.start();
        QTRY_COMPARE_WITH_TIMEOUT(viewer.monitor().screenshots().size(), 100, 20000);
        viewer.monitor().addScreenshot(viewer.fixture.writeShot(100, WidthCodeDetector::codedWidth),
                                       ScreenshotSource::iPhone);
        QTRY_COMPARE(viewer.monitor().screenshots().at(0).source, ScreenshotSource::iPhone);
        ContentView &view = viewer.start();
        const QUuid first = viewer.monitor().screenshots().at(0).id;
        QTRY_COMPARE(view.codesItemId(), std::optional(first));
        QCOMPARE(viewer.thumbnail()->deviceFrame(), DeviceFrameType::none);
        Q_EMIT viewer.thumbnail()->frameChosen(DeviceFrameType::iPad);
        QCOMPARE(viewer.thumbnail()->deviceFrame(), DeviceFrameType::iPad);

        viewer.monitor().addScreenshot(viewer.fixture.writeShot(101, 40), ScreenshotSource::mac);
        QTRY_VERIFY(viewer.monitor().screenshots().at(0).id != first);
        QCOMPARE(viewer.monitor().screenshots().size(), 100);
        QCOMPARE(view.codesItemId(), std::nullopt);
        QCOMPARE(viewer.thumbnail()->deviceFrame(), DeviceFrameType::none);

        viewer.monitor().addScreenshot(viewer.fixture.writeShot(102, 40), ScreenshotSource::iPhone);
        QTRY_COMPARE(viewer.thumbnail()->deviceFrame(), DeviceFrameType::iPhone);
    }

    void copyText_data()
    {
        using Lines = QList<std::optional<QStringList>>;  // what each click reads; none: the engine failed
        QTest::addColumn<Lines>("results");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("three lines, in the recogniser's order") << Lines{QStringList{u"b"_s, u"a"_s, u"c d"_s}} << u"b\na\nc d"_s;
        QTest::newRow("no text: an empty text, still copied") << Lines{QStringList{}} << QString();
        QTest::newRow("engine failure: clipboard untouched") << Lines{std::nullopt} << u"before"_s;
        QTest::newRow("clicked again while reading: the latest wins")
            << Lines{QStringList{u"first"_s}, QStringList{u"second"_s}} << u"second"_s;
    }
    void copyText()
    {
        QFETCH(QList<std::optional<QStringList>>, results);
        QFETCH(QString, clipboard);
        Gate gate;
        ScriptedTextRecognizer recognizer(results, results.size() > 1 ? &gate : nullptr);
        Viewer viewer;
        viewer.deps.textRecognizer = &recognizer;
        viewer.start(1);
        viewer.fixture.clipboard.setString(u"before"_s);
        auto *button = viewer.child<ActionButton>(QStringLiteral("actions.copyText"));
        button->click();
        if (results.size() > 1) {
            QTRY_COMPARE(gate.arrived(), 1);
            button->click();
            QTRY_COMPARE(viewer.fixture.clipboard.text(), clipboard);
            gate.open();  // the first reading ends last
        }
        viewer.view->actions()->waitForBackgroundWork();
        if (results.size() == 1)
            QTRY_COMPARE(button->text(), results.first() ? u"Copied!"_s : u"Copy Text"_s);
        QTRY_COMPARE(button->text(), u"Copy Text"_s);
        QCOMPARE(viewer.fixture.clipboard.text(), clipboard);
    }

    // The popover by keyboard alone: Tab and Shift+Tab walk its controls in
    // reading order, the focused one ringed in the accent colour; Return
    // and Space press it; Left and Right step through the captures.
    void keyboard_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("copied");
        QTest::newRow("Return presses Copy") << u"actions.copy"_s << int(Qt::Key_Return) << 1 << true;
        QTest::newRow("Space presses Copy") << u"actions.copy"_s << int(Qt::Key_Space) << 1 << true;
        QTest::newRow("Return presses the next arrow") << u"navRow.next"_s << int(Qt::Key_Return) << 2 << false;
        QTest::newRow("Right steps to the older capture") << u"actions.copy"_s << int(Qt::Key_Right) << 2 << false;
        QTest::newRow("Left steps to the newer capture") << u"navRow.next"_s << int(Qt::Key_Left) << 0 << false;
    }
    void keyboard()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, index);
        QFETCH(bool, copied);
        Viewer viewer;
        viewer.realClipboard = std::make_unique<QtClipboard>();
        ContentView &view = viewer.start(3);
        view.setCurrentIndex(1);
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        const QStringList order{u"header.library"_s, u"Pick Color"_s, u"Share"_s, u"Annotate"_s,
                                u"navRow.previous"_s, u"navRow.next"_s, u"infoRow.delete"_s, u"actions.copy"_s,
                                u"actions.copyText"_s, u"actions.open"_s, u"actions.reveal"_s};
        QCOMPARE(controlName(QApplication::focusWidget()), order.first());  // where opening leaves it
        QCOMPARE(tabWalk(order.size()), order.mid(1) << order.first());
        QWidget *ringed = QApplication::focusWidget();
        QVERIFY(showsRing(ringed, Style::accent(view.palette())));
        QCOMPARE(tabWalk(order.size() - 1, true), QStringList(order.crbegin(), order.crend() - 1));
        QVERIFY(!showsRing(ringed, Style::accent(view.palette())));
        viewer.clickAt(viewer.child(u"footer.version"_s));  // the mouse puts the ring away
        QVERIFY(!showsRing(QApplication::focusWidget(), Style::accent(view.palette())));
        QGuiApplication::clipboard()->clear();
        QVERIFY(tabTo(control));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_COMPARE(view.currentIndex(), index);
        QTRY_COMPARE(!QGuiApplication::clipboard()->image().isNull(), copied);
    }

    void actionsReachTheDesktop()
    {
        Viewer viewer;
        ContentView &view = viewer.start(1);
        const QString path = viewer.monitor().screenshots().at(0).filePath();
        viewer.child<ActionButton>(QStringLiteral("actions.open"))->click();
        viewer.child<ActionButton>(QStringLiteral("actions.reveal"))->click();
        Q_EMIT viewer.thumbnail()->openRequested();
        Q_EMIT viewer.thumbnail()->openLinkRequested(QUrl(u"https://example.org/"_s));
        QSignalSpy annotate(&view, &ContentView::annotateRequested);
        Q_EMIT viewer.thumbnail()->annotateRequested();
        QCOMPARE(annotate.size(), 1);
        Q_EMIT viewer.thumbnail()->shareRequested(viewer.thumbnail());
        auto *menu = view.findChild<QMenu *>(u"shareMenu"_s);
        QVERIFY(menu);
        QStringList titles;
        for (QAction *action : menu->actions()) {
            titles << action->text();
            action->trigger();
        }
        QCOMPARE(titles, (QStringList{u"Open With…"_s, u"Send by Email…"_s, u"Copy File Path"_s}));
        QCOMPARE(viewer.workspace.calls,
                 (QStringList{u"openFile "_s + path, u"revealFile "_s + path, u"openFile "_s + path,
                              u"openUrl https://example.org/"_s, u"openFileWith "_s + path,
                              u"sendFileByEmail "_s + path}));
        QCOMPARE(viewer.fixture.clipboard.text(), path);
    }
};

QTEST_MAIN(ContentViewTest)
#include "test_content_view.moc"
