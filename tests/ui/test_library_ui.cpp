// The library window on a real X server; code detection is a test double
// (the engine is tested on its own).

#include "common/Style.h"
#include "library/LibActionButton.h"
#include "library/LibraryDetailPane.h"
#include "library/LibraryListModel.h"
#include "library/LibraryPreview.h"
#include "library/LibraryRowView.h"
#include "library/LibraryView.h"
#include "library/LibrarySearchField.h"
#include "library/LibraryWindowController.h"
#include "picker/ColorPickerWindowController.h"
#include "search/RecognizerCaptureReader.h"
#include "search/SearchHighlight.h"
#include "search/SqliteCaptureIndex.h"
#include "search/TextIndexer.h"
#include "viewer/CodeScanTrigger.h"
#include "viewer/QRBadgeButton.h"
#include "viewer/UploadButton.h"
#include "CachedRemoteConfig.h"
#include "MonitorFixture.h"
#include "WidgetSupport.h"

#include <QLabel>
#include <QListView>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace WidgetSupport;
using std::chrono::milliseconds;

namespace {

struct Library {
    MonitorFixture fixture;
    std::unique_ptr<RemoteConfigManager> config;
    WidthCodeDetector detector;
    LibraryView::Dependencies deps;
    std::function<void()> beforeWindow = [] {};  // with the monitor and its items in place

    ScreenshotMonitor &monitor() { return *fixture.monitor; }

    LibraryView &open(int count = 0, int width = 160)
    {
        fixture.start();
        if (count > 0)
            fixture.addShots(count, width);
        deps.monitor = fixture.monitor.get();
        deps.remoteConfig = config.get();
        deps.codeDetector = &detector;
        deps.timings.scanDelay = milliseconds(10);
        deps.timings.feedback = {milliseconds(300), milliseconds(300)};
        beforeWindow();
        QWidget *window = LibraryWindowController::open(deps);
        if (!QTest::qWaitForWindowExposed(window))
            qFatal("the library never showed");
        return *LibraryWindowController::view();
    }

    ~Library()
    {
        if (LibraryView *view = LibraryWindowController::view()) {
            view->actions()->waitForBackgroundWork();
            view->codeScanTrigger()->waitForBackgroundWork();
        }
        delete LibraryWindowController::window();
        if (fixture.monitor)
            fixture.monitor->waitForBackgroundWork();
    }
};

QString labelText(QWidget *root, const char *name)
{
    const auto *label = root->findChild<QLabel *>(QLatin1String(name));
    return label && label->isVisibleTo(root->window()) ? label->text() : QString();
}

// Whether the button paints its plain fill, beside its right edge, as top
// laid over its background.
bool paintsFill(QWidget *button, const QColor &top)
{
    const QImage image = button->grab().toImage();
    const QColor seen = image.pixelColor(image.width() - 3, image.height() / 2);
    const QColor base = button->palette().color(button->backgroundRole());
    const float alpha = top.alphaF();
    for (const auto channel : {&QColor::redF, &QColor::greenF, &QColor::blueF}) {
        if (std::abs((seen.*channel)() - ((base.*channel)() * (1 - alpha) + (top.*channel)() * alpha)) > 2.f / 255)
            return false;
    }
    return true;
}

}  // namespace

class LibraryUiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whatever takes the selected item or the window away, the newest is
    // selected next; a new capture at the cap drops the selected oldest item
    // without changing the count. Opened again while open, nothing changes.
    void selectionReturnsToTheNewest_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("change");
        QTest::newRow("the selected item removed") << 3 << u"remove"_s;
        QTest::newRow("the only item removed: the empty state") << 1 << u"remove"_s;
        QTest::newRow("the selected oldest dropped at the cap") << int(ScreenshotMonitor::maxItems) << u"add"_s;
        QTest::newRow("the window closed and opened again") << 3 << u"reopen"_s;
    }
    void selectionReturnsToTheNewest()
    {
        QFETCH(int, count);
        QFETCH(QString, change);
        Library library;
        LibraryView *view = &library.open(count);
        const auto newest = [&] { return library.monitor().screenshots().first().id; };
        QCOMPARE(view->selectedItem()->id, newest());  // on opening
        const QUuid oldest = library.monitor().screenshots().last().id;
        view->select(oldest);
        QCOMPARE(view->list()->currentIndex().row(), count - 1);
        QCOMPARE(LibraryWindowController::open(library.deps), view->window());
        QCOMPARE(LibraryWindowController::view(), view);
        QCOMPARE(view->selectedItem()->id, oldest);
        if (change == u"remove"_s) {
            view->detail()->findChild<QAbstractButton *>(u"removeButton"_s)->click();
        } else if (change == u"add"_s) {
            library.fixture.addShots(1);
        } else {
            view->window()->close();
            QTRY_VERIFY(!LibraryWindowController::window());
            QVERIFY(LibraryWindowController::open(library.deps));
            view = LibraryWindowController::view();
        }
        const int left = change == u"remove"_s ? count - 1 : count;
        QTRY_COMPARE(view->countText(), QString::number(left));
        if (left == 0) {
            QVERIFY(!view->selectedItem());
            QCOMPARE(labelText(view, "emptyList"), u"No Screenshots"_s);
            QCOMPARE(labelText(view, "emptyDetail"), u"Select a screenshot"_s);
            return;
        }
        QTRY_COMPARE(view->selectedItem()->id, newest());
        QCOMPARE(view->list()->currentIndex().row(), 0);
    }

    // The search field driven by keys, over an index the real indexer fills:
    // progress while it reads, then filter, count, the hit's snippet with the
    // word matched in bold, no match, Escape, Down.
    void searchFieldFiltersTheList()
    {
        Library library;
        SqliteCaptureIndex index(library.fixture.root.filePath(QStringLiteral("index.sqlite")));
        Gate gate;
        const ScriptedTextRecognizer recognizer({QStringList{"Kernel panic"}, QStringList{"error report"},
                                                 QStringList{"Invoice error"}}, &gate);
        const RecognizerCaptureReader reader(recognizer);
        std::unique_ptr<TextIndexer> indexer;
        const auto release = qScopeGuard([&gate] { gate.open(); });  // a failed check must not hold the worker
        library.deps.captureIndex = &index;
        library.beforeWindow = [&] {
            indexer = std::make_unique<TextIndexer>(TextIndexer::Dependencies{
                &library.monitor(), &reader, &index, {.settleDelay = milliseconds(0)}});
            library.deps.textIndexer = indexer.get();
            indexer->setEnabled(true);
        };
        LibraryView &searching = library.open(3);
        QTRY_COMPARE(searching.progressText(), QStringLiteral("Indexing 0 of 3…"));
        gate.open();
        QTRY_COMPARE(searching.progressText(), QString());
        const QList<ScreenshotItem> items = library.monitor().screenshots();
        QWidget *window = searching.window();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(searching.searchField()->hasFocus());
        QTest::keyClicks(searching.searchField(), QStringLiteral("pan"));
        QCOMPARE(searching.countText(), QStringLiteral("1 of 3"));
        QCOMPARE(searching.selectedItem()->id, items[0].id);
        QTest::keyClicks(searching.searchField(), QStringLiteral(" zzz"));
        QCOMPARE(searching.noMatchText(), QStringLiteral("No captures contain “pan zzz”"));
        QVERIFY(!searching.selectedItem());
        QTest::keyClick(searching.searchField(), Qt::Key_Escape);
        QCOMPARE(searching.countText(), QStringLiteral("3"));
        QTest::keyClicks(searching.searchField(), QStringLiteral("ERR"));
        QCOMPARE(searching.countText(), QStringLiteral("2 of 3"));
        const QModelIndex hit = searching.list()->model()->index(1, 0);  // "Invoice error"
        const auto bold = hit.data(LibraryListModel::snippetBoldRole).value<QList<SearchHighlight::Span>>();
        QCOMPARE(hit.data(LibraryListModel::snippetRole).toString().mid(bold.value(0).start, bold.value(0).length), u"error");
        QCOMPARE(bold.size(), 1);
        QCOMPARE(searching.selectedItem()->id, items[1].id);
        QTest::keyClick(searching.searchField(), Qt::Key_Down);
        QVERIFY(searching.list()->hasFocus());
        delete LibraryWindowController::window();
    }

    // Thumbnails are drawn for rows on screen, not for the whole history.
    void onlyVisibleRowsHoldThumbnails()
    {
        Library library;
        LibraryView &view = library.open(60);
        QTest::qWait(50);
        const int shown = view.list()->viewport()->height() / view.list()->sizeHintForRow(0) + 2;
        QVERIFY2(view.rowView()->cachedThumbnails() > 0, "no row was drawn");
        QVERIFY2(view.rowView()->cachedThumbnails() <= shown, qPrintable(QString::number(view.rowView()->cachedThumbnails())));
    }

    void codeBadgeObeysTheFlag_data()
    {
        QTest::addColumn<std::optional<bool>>("qrEnabled");
        QTest::addColumn<bool>("badge");
        QTest::newRow("no configuration") << std::optional<bool>() << true;
        QTest::newRow("enabled") << std::optional(true) << true;
        QTest::newRow("disabled") << std::optional(false) << false;
    }

    // The scan runs either way; the badge shows as the flag says and leaves
    // at once with its item.
    void codeBadgeObeysTheFlag()
    {
        QFETCH(std::optional<bool>, qrEnabled);
        QFETCH(bool, badge);
        Library library;
        std::optional<RemoteConfig> config;
        if (qrEnabled)
            config.emplace().feature_flags.qr_code_enabled = *qrEnabled;
        library.config = cachedConfigManager(library.fixture.root.path() + u"/config-cache"_s, config);
        library.fixture.start();
        library.fixture.addShots(1);  // the older one has no code
        LibraryView &view = library.open(1, WidthCodeDetector::codedWidth);
        QTRY_VERIFY(view.codesItemId() == view.selectedItem()->id);
        QCOMPARE(view.codePayloads(), QStringList{u"https://example.org/"_s});
        QTest::qWait(50);
        QCOMPARE(view.detail()->preview()->badge()->isShown(), badge);
        view.select(library.monitor().screenshots().last().id);
        QVERIFY(!view.detail()->preview()->badge()->isShown());
        QVERIFY(view.codePayloads().isEmpty());
        view.codeScanTrigger()->waitForBackgroundWork();
        QTest::qWait(100);
        QVERIFY(!view.detail()->preview()->badge()->isShown());
    }

    // The library shares the popover's buttons and metadata line, not their look.
    void detailPaneHasItsOwnLook()
    {
        Library library;
        LibraryDetailPane *detail = library.open(1).detail();
        QCOMPARE(WidgetSupport::dotColours(detail->findChild<QLabel *>(QStringLiteral("metaRow"))),
                 QList<QRgb>(3, Style::quaternary(detail->palette()).rgba()));
        LibActionButton *tile = detail->copyButton();
        QVERIFY(paintsFill(tile, Style::withAlpha(Style::primary(tile->palette()), 0.07)));
        QCOMPARE(std::pair(tile->look().radius, tile->look().foregroundOpacity), std::pair(8.0, 0.8));
        UploadButton *upload = detail->uploadButton();
        detail->setUploadOffered(true);
        QTRY_COMPARE(upload->height(), 32);
        QVERIFY(paintsFill(upload, Style::accent(upload->palette())));
        QCOMPARE(upload->look().radius, 9.0);
        detail->setFeedback({.uploading = true});
        QCOMPARE(upload->text(), QStringLiteral("Uploading…"));
        detail->setFeedback({.uploaded = true});
        QVERIFY(paintsFill(upload, Style::withAlpha(Style::systemGreen(), 0.18)));
    }

    // The library by keyboard alone: Tab walks the list and the selected
    // capture's controls in reading order, the arrows move through the list,
    // Return presses the focused button and Escape closes the window.
    void keyboard_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("copied");
        QTest::newRow("Down selects the older capture") << u"libraryList"_s << QList<int>{Qt::Key_Down} << 1 << false;
        QTest::newRow("Up goes back") << u"libraryList"_s << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << 1 << false;
        QTest::newRow("Return presses Copy") << u"Copy"_s << QList<int>{Qt::Key_Return} << 0 << true;
        QTest::newRow("Escape closes the window") << u"libraryList"_s << QList<int>{Qt::Key_Escape} << -1 << false;
        QTest::newRow("the picker opened here gives the focus back")
            << u"Pick Color"_s << QList<int>{Qt::Key_Return} << 0 << false;
    }
    void keyboard()
    {
        QFETCH(QString, control);
        QFETCH(QList<int>, keys);
        QFETCH(int, row);
        QFETCH(bool, copied);
        Library library;
        LibraryView &view = library.open(3);
        QVERIFY(QTest::qWaitForWindowActive(view.window()));
        const QStringList order{u"libraryList"_s, u"removeButton"_s, u"Copy"_s, u"Open"_s, u"Copy Text"_s,
                                u"Show in Folder"_s, u"Annotate"_s, u"Pick Color"_s};
        QCOMPARE(controlName(QApplication::focusWidget()), order.first());
        QCOMPARE(tabWalk(order.size()), order.mid(1) << order.first());
        QCOMPARE(tabWalk(order.size() - 1, true), QStringList(order.crbegin(), order.crend() - 1));
        QVERIFY(tabTo(control));
        const qint64 changes = library.fixture.clipboard.changeCount();
        for (const int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        if (row < 0) {
            QTRY_VERIFY(!LibraryWindowController::window());
            return;
        }
        if (control == u"Pick Color"_s) {
            QWidget *pick = QApplication::focusWidget();
            QTRY_VERIFY(ColorPickerWindowController::window());
            QVERIFY(QTest::qWaitForWindowActive(ColorPickerWindowController::window()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QTRY_VERIFY(!ColorPickerWindowController::window());
            QTRY_COMPARE(QApplication::focusWidget(), pick);
            QVERIFY(showsRing(pick, Style::accent(pick->palette())));
        }
        QCOMPARE(view.list()->currentIndex().row(), row);
        QCOMPARE(view.selectedItem()->id, library.monitor().screenshots().at(row).id);
        QTRY_COMPARE(library.fixture.clipboard.changeCount() > changes, copied);
        if (copied) {  // "Copied!" belongs to the item it was pressed on
            QTRY_COMPARE(view.detail()->copyButton()->text(), u"Copied!"_s);
            QVERIFY(!library.fixture.clipboard.image().isNull());
            view.select(library.monitor().screenshots().last().id);
            QCOMPARE(view.detail()->copyButton()->text(), u"Copy"_s);
        }
    }
};

QTEST_MAIN(LibraryUiTest)
#include "test_library_ui.moc"
