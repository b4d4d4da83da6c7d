// The annotation editor driven by synthesized pointer and key events on the
// offscreen platform: one test per family of gestures.

#include "LocalHttpServer.h"
#include "MonitorFixture.h"
#include "TestSupport.h"
#include "WidgetSupport.h"
#include "annotation/AnnotationDocument.h"
#include "annotation/AnnotationGeometry.h"
#include "editor/AnnotationCanvas.h"
#include "editor/AnnotationEditorView.h"
#include "editor/AnnotationEditorWindowController.h"
#include "editor/EditorToolbar.h"
#include "editor/GlassButton.h"
#include "editor/InlineTextEditor.h"
#include "editor/SelectionHandlesView.h"
#include "editor/StyleChoiceButton.h"
#include "editor/SwatchButton.h"
#include "editor/SymbolButton.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace TestSupport;
using Handle = SelectionHandlesView::Handle;

Q_DECLARE_METATYPE(AnnotationTool)
Q_DECLARE_METATYPE(Handle)

namespace {

Annotation mark(AnnotationTool tool, QPointF start, QPointF end, QString text = {})
{
    return {.tool = tool, .start = start, .end = end, .color = AnnotationPalette::colors().first(),
            .text = std::move(text)};
}

// Whether the mark runs from the line's start to its end, give or take 0.002 on each axis.
bool near(const Annotation &a, const QLineF &line)
{
    const QPointF s = a.start - line.p1(), e = a.end - line.p2();
    return std::max({std::abs(s.x()), std::abs(s.y()), std::abs(e.x()), std::abs(e.y())}) < 0.002;
}

}  // namespace

class EditorUiTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    MonitorFixture m_fixture;  // the editor copies to its in-memory clipboard
    std::unique_ptr<AnnotationEditorView> m_view;

    AnnotationDocument *doc() const { return m_view->document(); }
    AnnotationCanvas *canvas() const { return m_view->canvas(); }
    QPoint at(QPointF normalized) const
    {
        return AnnotationGeometry::toView(normalized, canvas()->displayImgRect()).toPoint();
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(canvas(), Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas(), (from + to) / 2);
        QTest::mouseMove(canvas(), to);
        QTest::mouseRelease(canvas(), Qt::LeftButton, {}, to);
    }
    void click(QPointF normalized) { drag(at(normalized), at(normalized)); }
    void select(const Annotation &annotation)
    {
        doc()->append(annotation);
        doc()->setSelectedId(annotation.id);
    }
    void open(AnnotationActions::Dependencies deps = {})
    {
        deps.monitor = m_fixture.monitor.get();
        m_view = std::make_unique<AnnotationEditorView>(m_path, std::move(deps));
        m_view->resize(1200, 745);
        m_view->show();
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        QTRY_VERIFY(canvas() && canvas()->displayImgRect().width() > 1000);  // 800 × 400 enlarged to fit
        canvas()->setFocus();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_path = writePng(m_dir.filePath(QStringLiteral("shot.png")), makeImage(800, 400, Qt::darkCyan));
        m_fixture.start();
    }

    void init() { open(); }
    void cleanup() { m_view.reset(); }

    // A press and drag on a mark moves it; anywhere else it draws with the active tool.
    void dragging_data()
    {
        QTest::addColumn<AnnotationTool>("tool");
        QTest::addColumn<QLineF>("gesture");  // from the press to the release
        QTest::addColumn<int>("count");  // the existing mark and what was made
        QTest::addColumn<int>("selected");  // which of them; -1: none
        QTest::addColumn<QLineF>("existing");  // where the existing mark ends up
        using enum AnnotationTool;
        const QLineF kept(0.6, 0.6, 0.3, 0.3);
        const QLineF moved(0.35, 0.3, 0.65, 0.6);  // 60 points across are 0.05
        QTest::newRow("drag on empty image") << circle << QLineF(0.1, 0.1, 0.3, 0.3) << 2 << 1 << kept;
        QTest::newRow("shape click makes nothing") << rectangle << QLineF(0.1, 0.1, 0.1, 0.1) << 1 << -1 << kept;
        QTest::newRow("under 1 % makes nothing") << arrow << QLineF(0.1, 0.1, 0.105, 0.105) << 1 << -1 << kept;
        QTest::newRow("text click places a text") << text << QLineF(0.1, 0.1, 0.1, 0.1) << 2 << 1 << kept;
        QTest::newRow("arrow tool moves") << arrow << QLineF(0.45, 0.45, 0.5, 0.45) << 1 << 0 << moved;
        QTest::newRow("text tool moves") << text << QLineF(0.45, 0.45, 0.5, 0.45) << 1 << 0 << moved;
        QTest::newRow("within 3 points stays") << arrow << QLineF(0.45, 0.45, 0.452, 0.45) << 1 << 0
                                               << QLineF(0.3, 0.3, 0.6, 0.6);
    }

    void dragging()
    {
        QFETCH(AnnotationTool, tool);
        QFETCH(QLineF, gesture);
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(QLineF, existing);
        // Drawn up-left: its corners are put in order when a move begins.
        select(mark(AnnotationTool::rectangle, {0.6, 0.6}, {0.3, 0.3}));
        doc()->setActiveTool(tool);
        drag(at(gesture.p1()), at(gesture.p2()));
        QCOMPARE(doc()->annotations().size(), count);
        const Annotation &first = doc()->annotations().first();
        QVERIFY2(near(first, existing), qPrintable(QDebug::toString(QLineF(first.start, first.end))));
        QCOMPARE(doc()->selectedId(), selected < 0 ? QUuid() : doc()->annotations().at(selected).id);
        if (selected < 1)
            return;
        QCOMPARE(doc()->annotations().last().tool, tool);
        QCOMPARE(doc()->editingTextId(), tool == AnnotationTool::text ? doc()->selectedId() : QUuid());
        QCOMPARE(canvas()->textEditor() != nullptr, tool == AnnotationTool::text);
    }

    void textEditing()
    {
        doc()->setActiveTool(AnnotationTool::text);
        click({0.2, 0.2});
        InlineTextEditor *editor = canvas()->textEditor();
        QVERIFY(editor);
        QTRY_VERIFY(editor->hasFocus());  // shortly after it shows
        QTest::keyClicks(editor, QStringLiteral("Hey"));
        QCOMPARE(doc()->annotations().first().text, QStringLiteral("Hey"));
        const int oneLine = editor->height();
        QTest::keyClick(editor, Qt::Key_Return);  // a second line: the box grows
        QVERIFY(editor->height() > oneLine);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(editor->height(), oneLine);
        QTest::keyClick(editor, Qt::Key_Backspace);  // a character, not the mark
        QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClick(editor, Qt::Key_Delete);
        QCOMPARE(doc()->annotations().first().text, QStringLiteral("H"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(doc()->editingTextId().isNull());
        QTRY_VERIFY(!canvas()->textEditor());

        // One click on the text opens it again, with the caret at the end.
        doc()->setActiveTool(AnnotationTool::arrow);
        click({0.21, 0.21});
        QCOMPARE(doc()->editingTextId(), doc()->annotations().first().id);
        QVERIFY(canvas()->textEditor());
        QTRY_VERIFY(canvas()->textEditor()->hasFocus());
        QTest::keyClicks(canvas()->textEditor(), QStringLiteral("i"));
        QCOMPARE(doc()->annotations().first().text, QStringLiteral("Hi"));
        // A swatch recolours the text; neither it nor a click on the border
        // around the image takes the keys from the text.
        QTest::mouseClick(m_view->toolbar()->swatches()[3], Qt::LeftButton);
        QCOMPARE(doc()->annotations().first().color, AnnotationPalette::colors()[3]);
        const QPoint border(at({0.5, 0.5}).x(), int(canvas()->displayImgRect().top()) / 2);
        QTest::mouseClick(canvas(), Qt::LeftButton, {}, border);
        QWidget *const focused = nullptr;  // the keys go where the focus is
        QTest::keyClicks(focused, QStringLiteral("!?"));
        QTest::keyClick(focused, Qt::Key_Backspace);
        QTest::keyClick(m_view.get(), Qt::Key_Delete);  // never the mark being written
        QCOMPARE(doc()->annotations().value(0).text, QStringLiteral("Hi!"));
        click({0.8, 0.8});  // beside the editor: commits, draws nothing
        QVERIFY(doc()->editingTextId().isNull());
        QWidget elsewhere;  // keys another window gets leave the selected mark
        elsewhere.show();
        QTest::keyClick(&elsewhere, Qt::Key_Delete);
        QTest::keyClick(&elsewhere, Qt::Key_Backspace);
        QCOMPARE(doc()->annotations().size(), 1);

        // Outside the text input, Backspace or Delete takes the selected mark.
        QTest::keyClick(canvas(), Qt::Key_Backspace);
        QVERIFY(doc()->annotations().isEmpty());

        // A text committed empty disappears and clears the selection.
        doc()->setActiveTool(AnnotationTool::text);
        click({0.5, 0.5});
        QCOMPARE(doc()->annotations().size(), 1);
        QTest::keyClicks(canvas()->textEditor(), QStringLiteral("  "));
        QTest::keyClick(canvas()->textEditor(), Qt::Key_Return);  // a new line, still blank
        QTest::keyClick(canvas()->textEditor(), Qt::Key_Escape);
        QVERIFY(doc()->annotations().isEmpty());
        QVERIFY(doc()->selectedId().isNull());

        // A path too long for a line breaks inside: the box grows down, over
        // the text as it is measured and drawn.
        click({0.1, 0.1});
        QTest::keyClicks(canvas()->textEditor(), QStringLiteral("/home/") + QString(114, u'W'));
        const QSizeF used = AnnotationGeometry::textSize(doc()->annotations().first().text, 18);
        const QSize box = canvas()->textEditor()->size();
        QVERIFY2(box.width() <= 616 && used.width() <= 600 && std::abs(box.height() - used.height() - 16) < 2,
                 qPrintable(QStringLiteral("%1 × %2").arg(box.width()).arg(box.height())));
        QTest::keyClick(canvas()->textEditor(), Qt::Key_Escape);
        QTest::keyClick(canvas(), Qt::Key_Delete);
        QVERIFY(doc()->annotations().isEmpty());
    }

    void handles_data()
    {
        QTest::addColumn<AnnotationTool>("tool");
        QTest::addColumn<QLineF>("drawn");  // from start to end
        QTest::addColumn<Handle>("handle");
        QTest::addColumn<QPoint>("translation");
        QTest::addColumn<QLineF>("edited");
        using enum AnnotationTool;
        // The image is shown at 1200 × 600: 60 pixels across are 0.05, 30 down are 0.05.
        QTest::newRow("top-right up and right") << rectangle << QLineF(0.4, 0.4, 0.6, 0.6) << Handle::topRight
                                                << QPoint(60, -30) << QLineF(0.4, 0.35, 0.65, 0.6);
        QTest::newRow("arrow start past its tip") << arrow << QLineF(0.4, 0.5, 0.5, 0.5) << Handle::start << QPoint(240, 0)
                                                  << QLineF(0.6, 0.5, 0.5, 0.5);
        QTest::newRow("arrow top-right moves tip across, tail down") << arrow << QLineF(0.4, 0.4, 0.5, 0.6)
            << Handle::topRight << QPoint(60, 30) << QLineF(0.4, 0.45, 0.55, 0.6);
        QTest::newRow("under 10 points") << circle << QLineF(0.4, 0.4, 0.6, 0.6) << Handle::end << QPoint(6, 6)
                                         << QLineF(0.4, 0.4, 0.6, 0.6);
    }

    void handles()
    {
        QFETCH(AnnotationTool, tool);
        QFETCH(QLineF, drawn);
        QFETCH(Handle, handle);
        QFETCH(QPoint, translation);
        QFETCH(QLineF, edited);
        select(mark(tool, drawn.p1(), drawn.p2()));
        const QPoint from = canvas()->handles()->handlePosition(handle)->toPoint();
        drag(from, from + translation);
        const Annotation &result = doc()->annotations().first();
        QVERIFY2(near(result, edited), qPrintable(QDebug::toString(QLineF(result.start, result.end))));
    }

    void rotation()
    {
        // Near the top edge the handle stands over the border, and still works.
        select(mark(AnnotationTool::rectangle, {0.4, 0.02}, {0.6, 0.2}));
        const QPoint handle = canvas()->handles()->handlePosition(Handle::rotation)->toPoint();
        QVERIFY(!canvas()->displayImgRect().contains(handle));
        drag(handle, handle + QPoint(80, 40));  // clockwise about the centre
        const double first = doc()->annotations().first().rotation;
        QVERIFY(first > 0.3);
        // The handle stays at the unrotated box; a second turn adds to the first.
        QCOMPARE(canvas()->handles()->handlePosition(Handle::rotation)->toPoint(), handle);
        drag(handle, handle + QPoint(80, 40));
        QCOMPARE(doc()->annotations().first().rotation, 2 * first);
        // A box drawn up and to the left keeps its corners as drawn; its handle still stands over its top edge.
        select(mark(AnnotationTool::rectangle, {0.6, 0.6}, {0.4, 0.4}));
        QCOMPARE_LT(canvas()->handles()->handlePosition(Handle::rotation)->y(), at({0.5, 0.4}).y());
    }

    // The undo button, even while a text is being written, and Ctrl+Z; then
    // the canvas still draws. A copy asked for early goes to the monitor's
    // clipboard once the image is decoded.
    void undoAndEarlyCopy()
    {
        doc()->append(mark(AnnotationTool::circle, {0.6, 0.6}, {0.8, 0.8}));
        doc()->setActiveTool(AnnotationTool::text);
        click({0.3, 0.3});
        QVERIFY(!doc()->editingTextId().isNull());
        m_view->toolbar()->undoButton()->click();
        QCOMPARE(doc()->annotations().size(), 1);
        QVERIFY(doc()->editingTextId().isNull());
        QTest::keyClick(canvas(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(doc()->annotations().isEmpty());
        doc()->setActiveTool(AnnotationTool::arrow);
        drag(at({0.1, 0.1}), at({0.4, 0.4}));
        QCOMPARE(doc()->annotations().size(), 1);

        // Asked for while the image is still being decoded (almost always:
        // a decode done before the view is made loads it at once): copied once it is.
        m_view = std::make_unique<AnnotationEditorView>(m_path, AnnotationActions::Dependencies{m_fixture.monitor.get()});
        m_view->copyAnnotatedImage();
        QTRY_VERIFY(m_view->actions()->isCopied());
        QCOMPARE(m_fixture.clipboard.image().size(), QSize(800, 400));
    }

    // The editor by keyboard alone: Tab walks the toolbar left to right,
    // Space and Return press the focused button; Escape, which only ends the
    // text being written, leaves the window open.
    void keyboard_data()
    {
        QTest::addColumn<QString>("control");  // the focused one's name
        QTest::addColumn<int>("key");
        QTest::addColumn<AnnotationTool>("tool");
        QTest::addColumn<int>("marks");
        QTest::addColumn<bool>("copied");
        QTest::newRow("Return chooses a tool") << u"Circle"_s << int(Qt::Key_Return) << AnnotationTool::circle << 1 << false;
        QTest::newRow("Space presses Undo") << u"Undo"_s << int(Qt::Key_Space) << AnnotationTool::arrow << 0 << false;
        QTest::newRow("Return presses Copy") << u"Copy"_s << int(Qt::Key_Return) << AnnotationTool::arrow << 1 << true;
        QTest::newRow("Escape keeps the window") << u"Circle"_s << int(Qt::Key_Escape) << AnnotationTool::arrow << 1 << false;
    }
    void keyboard()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(AnnotationTool, tool);
        QFETCH(int, marks);
        QFETCH(bool, copied);
        doc()->append(mark(AnnotationTool::circle, {0.6, 0.6}, {0.8, 0.8}));
        const EditorToolbar *bar = m_view->toolbar();
        QList<QWidget *> controls(bar->toolButtons().cbegin(), bar->toolButtons().cend());
        controls << QList<QWidget *>(bar->swatches().cbegin(), bar->swatches().cend())
                 << QList<QWidget *>(bar->lineWidthButtons().cbegin(), bar->lineWidthButtons().cend())
                 << bar->undoButton() << bar->clearButton() << bar->copyButton();
        QStringList order;
        for (const QWidget *each : controls)
            order << WidgetSupport::controlName(each);
        QCOMPARE(WidgetSupport::tabWalk(order.size()), order);
        QCOMPARE(WidgetSupport::tabWalk(order.size() - 1, true), QStringList(order.crbegin() + 1, order.crend()));
        QVERIFY(WidgetSupport::tabTo(control));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_COMPARE(m_view->actions()->isCopied(), copied);
        QCOMPARE(bar->copyButton()->text(), copied ? u"Copied!"_s : u"Copy"_s);
        QTRY_COMPARE(doc()->activeTool(), tool);
        QCOMPARE(doc()->annotations().size(), marks);
        QVERIFY(m_view->isVisible());
    }

    void toolbarFollowsTheSelection()
    {
        Annotation arrow = mark(AnnotationTool::arrow, {0.2, 0.2}, {0.5, 0.5});
        arrow.color = AnnotationPalette::colors()[3];
        arrow.lineWidth = 4.5;
        doc()->append(arrow);
        click({0.3, 0.3});
        EditorToolbar *toolbar = m_view->toolbar();
        QCOMPARE(doc()->selectedId(), arrow.id);
        QVERIFY(toolbar->swatches()[3]->isActive());
        QVERIFY(!toolbar->swatches()[0]->isActive());
        QVERIFY(toolbar->lineWidthButtons()[2]->isActive());
        toolbar->swatches()[0]->click();
        QCOMPARE(doc()->annotations().first().color, AnnotationPalette::colors()[0]);
        QCOMPARE(doc()->activeColor(), AnnotationPalette::colors()[0]);

        // The text tool offers sizes instead of widths; a size resizes the selected text.
        toolbar->toolButtons()[4]->click();
        QVERIFY(!toolbar->lineWidthButtons()[0]->isVisibleTo(toolbar));
        QVERIFY(toolbar->fontSizeButtons()[0]->isVisibleTo(toolbar));
        select(mark(AnnotationTool::text, {0.7, 0.7}, {0.7, 0.7}, QStringLiteral("Note")));
        toolbar->fontSizeButtons()[3]->click();
        QCOMPARE(doc()->selected()->fontSize, 36.0);
        QCOMPARE(doc()->annotations().first().fontSize, 18.0);  // the arrow keeps its own
    }

    // The same file raises the open window with its marks; another file
    // replaces it, and one that does not decode shows the photo symbol, the
    // reason and no canvas, and Copy does nothing.
    void oneWindowPerFile()
    {
        m_view.reset();
        const QString broken = writeBytes(m_dir.filePath(QStringLiteral("broken.png")), "not an image");
        QPointer<QWidget> first = AnnotationEditorWindowController::open(m_path, nullptr);
        QTRY_VERIFY(AnnotationEditorWindowController::view()->isLoaded());
        AnnotationDocument *marks = AnnotationEditorWindowController::view()->document();
        marks->append(mark(AnnotationTool::arrow, {0.1, 0.1}, {0.5, 0.5}));
        QCOMPARE(AnnotationEditorWindowController::open(m_path, nullptr), first.data());
        QCOMPARE(AnnotationEditorWindowController::view()->document()->annotations().size(), 1);

        QWidget *second = AnnotationEditorWindowController::open(broken, m_fixture.monitor.get());
        QTRY_VERIFY(!first);
        AnnotationEditorView *view = AnnotationEditorWindowController::view();
        QTRY_VERIFY(view->isLoaded());
        QVERIFY(view->document()->annotations().isEmpty());
        QVERIFY(!view->canvas());
        QVERIFY(!view->findChild<QLabel *>(QStringLiteral("photo"))->pixmap().isNull());
        QCOMPARE(view->findChild<QLabel *>(QStringLiteral("problem"))->text(),
                 QStringLiteral("broken.png cannot be shown: not an image that can be read."));
        m_fixture.clipboard.setString(QStringLiteral("kept"));
        view->copyAnnotatedImage();
        QVERIFY(!view->actions()->isCopied());
        QCOMPARE(m_fixture.clipboard.text(), QStringLiteral("kept"));
        delete second;
    }

    void uploadClickedTwiceStartsOne()
    {
        LocalHttpServer server;
        server.setHandler([](const HttpRequest &) { return std::optional<HttpResponse>(); });  // held
        open({.imgur = {.apiHost = server.url(), .clientId = u"0abc"_s, .tls = LocalHttpServer::trustingClient()},
              .timings = {.link = std::chrono::milliseconds(200)}});
        GlassButton *upload = m_view->toolbar()->uploadButton();
        upload->click();
        upload->click();
        QTRY_COMPARE(server.heldCount(), 1);
        QVERIFY(!upload->isEnabled());
        server.releaseHeld({200, "{\"success\":true,\"status\":200,\"data\":{\"link\":\"https://i.example/a.png\"}}"});
        QTRY_COMPARE(upload->toolTip(), QStringLiteral("https://i.example/a.png"));
        QCOMPARE(m_fixture.clipboard.text(), QStringLiteral("https://i.example/a.png"));
        QTRY_COMPARE(upload->text(), QStringLiteral("Imgur"));  // the link's time is up
        QCOMPARE(upload->toolTip(), QStringLiteral("Upload to Imgur"));
        QCOMPARE(server.requests().size(), 1);  // a second would have come with the first
    }
};

QTEST_MAIN(EditorUiTest)
#include "test_editor_ui.moc"
