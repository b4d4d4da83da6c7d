// The colour picker's widgets offscreen, driven by synthesized pointer, wheel,
// pinch and key events; the gesture and zoom rules have their own tables.

#include "picker/ColorBar.h"
#include "picker/ColorHistoryRow.h"
#include "picker/ColorModeSelector.h"
#include "picker/ColorPickerView.h"
#include "picker/ColorPickerWindowController.h"
#include "picker/CopyButton.h"
#include "picker/HistorySwatch.h"
#include "picker/PickerImageArea.h"
#include "picker/PickerLoupe.h"
#include "picker/ZoomBadge.h"
#include "TestSupport.h"
#include "WidgetSupport.h"

#include <QApplication>
#include <QLabel>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;
using namespace WidgetSupport;
using std::chrono::milliseconds;

namespace {

const QColor left(0xC0, 0x39, 0x2B);
const QColor right(0x29, 0x80, 0xB9);

QString writeHalves(const QString &path, QSize size = QSize(400, 200))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(left);
    QPainter(&image).fillRect(QRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height()), right);
    return writePng(path, image);
}

QString hex(const std::optional<QColor> &color)
{
    return color ? ColorFormat::colorString(*color, ColorMode::hex) : QStringLiteral("none");
}

// The left button pressed, moved with or released; a move without it held is a hover.
void mouse(QWidget *to, QEvent::Type type, QPointF at, std::uint64_t ms = 0, bool held = true)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    held = held && type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, at, to->mapToGlobal(at), button, held ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    event.setTimestamp(ms);
    QApplication::sendEvent(to, &event);
}

void click(QWidget *to, QPointF at, std::uint64_t ms, QPointF drift = {})
{
    mouse(to, QEvent::MouseButtonPress, at, ms);
    mouse(to, QEvent::MouseButtonRelease, at + drift, ms + 60);
}

void pinch(QWidget *to, Qt::NativeGestureType type, double value = 0)
{
    const QPointF at(100, 100);
    QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2, at, at, to->mapToGlobal(at), value,
                              QPointF());
    QApplication::sendEvent(to, &event);
}

// A picker on the two-colour image, laid out at the window's size, with the
// clipboard and the "Copied" moment replaced.
struct Picker {
    QTemporaryDir dir;
    QStringList copied;
    ColorPickerView view;
    PickerImageArea *area = view.imageArea();

    // The two colours at size; an empty size: a file that is no image.
    explicit Picker(QSize size = QSize(400, 200))
        : view(size.isEmpty() ? writeBytes(dir.filePath(QStringLiteral("broken.png")), "not an image")
                              : writeHalves(dir.filePath(QStringLiteral("halves.png")), size),
               ColorPickerView::Dependencies{[this](const QString &text) { copied << text; }, milliseconds(50),
                                             milliseconds(20)})
    {
        view.resize(680, 740);
        view.show();
        QTRY_VERIFY(view.isLoaded());
        QCOMPARE(area->hasImage(), !size.isEmpty());
    }

    QPointF inLeft() const { return point(0.25); }
    QPointF inRight() const { return point(0.75); }
    QPointF point(double fraction) const
    {
        const QRectF image = area->zoomPan().zoomedImageRect().intersected(QRectF(area->rect()));
        return QPointF(image.left() + image.width() * fraction, image.center().y());
    }
    double zoom() const { return area->zoomPan().zoom(); }
    QString picked() const { return hex(view.pickedColor()); }
};

}  // namespace

class PickerUiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicksAndDrags()
    {
        Picker p;
        mouse(p.area, QEvent::MouseMove, p.inLeft(), 0, false);  // a hover
        QVERIFY(p.area->loupe()->isVisible());
        QCOMPARE(p.area->loupe()->label(), hex(left));

        click(p.area, p.inRight(), 1000, QPointF(4, -3));  // moves less than 6 points
        QCOMPARE(p.picked(), hex(right));
        QCOMPARE(p.view.colorBar()->readout()->text(), hex(right));
        QCOMPARE(p.view.history().entries().size(), 1);

        // At zoom 1 a drag previews in the loupe and picks nothing.
        mouse(p.area, QEvent::MouseButtonPress, p.inLeft(), 2000);
        mouse(p.area, QEvent::MouseMove, p.inLeft() + QPointF(0, 7), 2020);
        QCOMPARE(hex(p.area->hoverColor()), hex(left));
        QVERIFY(p.area->loupe()->isVisible());
        mouse(p.area, QEvent::MouseButtonRelease, p.inLeft() + QPointF(0, 7), 2030);
        QCOMPARE(p.picked(), hex(right));
        QCOMPARE(p.view.history().entries().size(), 1);

        // Zoomed, a drag pans and picks nothing; a quick second click resets the zoom.
        p.area->scrollZoom(25);
        QCOMPARE(p.zoom(), 2.0);
        mouse(p.area, QEvent::MouseButtonPress, p.inLeft(), 3500);
        mouse(p.area, QEvent::MouseMove, p.inLeft() + QPointF(40, 30), 3510);
        QVERIFY(!p.area->loupe()->isVisible());
        mouse(p.area, QEvent::MouseButtonRelease, p.inLeft() + QPointF(40, 30), 3520);
        QCOMPARE(p.area->zoomPan().committedPan(), p.area->zoomPan().panOffset());
        QVERIFY(p.area->zoomPan().panOffset() != QPointF());
        QCOMPARE(p.picked(), hex(right));
        click(p.area, p.inLeft(), 4000);
        QCOMPARE(p.picked(), hex(left));
        click(p.area, p.inRight(), 4280);  // 0.28 s after the first
        QCOMPARE(p.zoom(), 1.0);
        QCOMPARE(p.area->zoomPan().panOffset(), QPointF());
        QCOMPARE(p.area->zoomPan().committedPan(), QPointF());
        QCOMPARE(p.picked(), hex(left));
        QCOMPARE(p.view.history().entries().size(), 2);
    }

    void wheelZooms_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<QPoint>("pixels");
        QTest::addColumn<QPoint>("angle");
        QTest::addColumn<double>("zoom");
        QTest::newRow("one notch up: three lines") << 1.0 << QPoint() << QPoint(0, 120) << 1.12;
        QTest::newRow("one notch down") << 2.0 << QPoint() << QPoint(0, -120) << 1.76;
        QTest::newRow("precise 25 points double") << 1.0 << QPoint(0, 25) << QPoint(0, 200) << 2.0;
        QTest::newRow("precise -10 points") << 4.0 << QPoint(0, -10) << QPoint(0, -80) << 2.4;
    }

    void wheelZooms()
    {
        QFETCH(double, from);
        QFETCH(QPoint, pixels);
        QFETCH(QPoint, angle);
        QFETCH(double, zoom);
        Picker p;
        p.area->scrollZoom((from - 1) / 0.04);
        const QPointF at = p.inLeft();
        QWheelEvent event(at, p.area->mapToGlobal(at), pixels, angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(p.area, &event);
        QVERIFY2(qFuzzyCompare(p.zoom(), zoom), qPrintable(QString::number(p.zoom())));
        QCOMPARE(p.area->badge()->isVisibleTo(p.area), zoom > 1.01);
    }

    void keysAndPinchZoomAndCopy()
    {
        Picker p;
        QTest::keyClick(&p.view, Qt::Key_C, Qt::ControlModifier);
        QVERIFY2(p.copied.isEmpty(), "the placeholder grey was copied");
        QVERIFY(!p.view.isCopied());

        click(p.area, p.inRight(), 1000);
        ColorModeSelector *modes = p.view.colorBar()->modeSelector();
        QTest::mouseClick(modes, Qt::LeftButton, {}, modes->segment(ColorMode::rgba).center());
        p.view.colorBar()->copyButton()->click();
        QCOMPARE(p.copied, QStringList{QStringLiteral("rgba(41, 128, 185, 1.00)")});
        QVERIFY(p.view.isCopied());
        QTRY_VERIFY(!p.view.isCopied());

        QTest::keyClick(&p.view, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(qFuzzyCompare(p.zoom(), 1.12));
        QTest::keyClick(&p.view, Qt::Key_Equal, Qt::ControlModifier);
        QTest::keyClick(&p.view, Qt::Key_Minus, Qt::ControlModifier);
        QVERIFY(qFuzzyCompare(p.zoom(), 1.12 * 1.12 * 0.88));
        QTest::keyClick(&p.view, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(p.zoom(), 1.0);

        // A pinch's steps add up.
        pinch(p.area, Qt::BeginNativeGesture);
        pinch(p.area, Qt::ZoomNativeGesture, 0.5);
        pinch(p.area, Qt::ZoomNativeGesture, 0.2);
        QVERIFY(qFuzzyCompare(p.zoom(), 1.8));
        pinch(p.area, Qt::EndNativeGesture);
        QVERIFY(qFuzzyCompare(p.area->zoomPan().baseZoom(), 1.8));
        QCOMPARE(p.area->badge()->text(), QStringLiteral("1.8×"));
    }

    // The picker by keyboard alone: Tab walks the history and the bar,
    // Up and Down walk the history wherever the focus is, Space and Return
    // press the focused control, Escape closes the window. The history row,
    // hidden until the first pick, marks the chosen colour in the bar's mode.
    void keyboard_data()
    {
        QTest::addColumn<int>("control");  // in the Tab order; -1: the picker itself
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<bool>("open");
        QTest::newRow("Down chooses the older pick") << -1 << QList<int>{Qt::Key_Down} << hex(left) << QStringList() << true;
        QTest::newRow("Up goes back, the focus along")
            << 1 << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << hex(right) << QStringList() << true;
        QTest::newRow("Space presses a pick") << 1 << QList<int>{Qt::Key_Space} << hex(left) << QStringList() << true;
        QTest::newRow("Space moves the mode on") << 2 << QList<int>{Qt::Key_Space, Qt::Key_Return}
                                                 << hex(right) << QStringList() << true;
        QTest::newRow("Return presses Copy") << 3 << QList<int>{Qt::Key_Return} << hex(right) << QStringList{hex(right)}
                                             << true;
        QTest::newRow("Escape closes the window") << -1 << QList<int>{Qt::Key_Escape} << hex(right) << QStringList() << false;
    }
    void keyboard()
    {
        QFETCH(int, control);
        QFETCH(QList<int>, keys);
        QFETCH(QString, picked);
        QFETCH(QStringList, copied);
        QFETCH(bool, open);
        Picker p;
        QVERIFY(!p.view.historyRow()->isVisibleTo(&p.view));
        click(p.area, p.inLeft(), 1000);
        click(p.area, p.inRight(), 2000);
        p.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.view));
        const QList<HistorySwatch *> swatches = p.view.historyRow()->swatches();
        QCOMPARE(swatches.size(), 2);
        QTRY_VERIFY(swatches[1]->isVisible());
        QStringList order;
        for (QWidget *each : std::initializer_list<QWidget *>{swatches[0], swatches[1], p.view.colorBar()->modeSelector(),
                                                             p.view.colorBar()->copyButton(), &p.view})
            order << controlName(each);
        p.view.setFocus();  // as the window opens it
        QCOMPARE(tabWalk(order.size()), order);
        QCOMPARE(tabWalk(order.size() - 1, true), QStringList(order.crbegin() + 1, order.crend()));
        QVERIFY(control < 0 ? (p.view.setFocus(), true) : tabTo(order.at(control)));
        for (const int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(p.picked(), picked);
        QTRY_COMPARE(p.copied, copied);
        QCOMPARE(p.view.isVisible(), open);
        if (keys.contains(Qt::Key_Up))  // the focus went along with the choice
            QCOMPARE(QApplication::focusWidget(), swatches[0]);
        QCOMPARE(p.view.historyRow()->swatches(), swatches);  // same order, same buttons
        QCOMPARE(swatches[1]->isCurrent(), picked == hex(left));
        QCOMPARE(swatches[0]->isCurrent(), !swatches[1]->isCurrent());
        const ColorMode mode = ColorFormat::modes().at(control == 2 ? 2 : 0);
        QCOMPARE(p.view.colorBar()->readout()->text(), ColorFormat::colorString(*p.view.pickedColor(), mode));
        QCOMPARE(swatches[1]->toolTip(), ColorFormat::colorString(left, mode));
    }

    void imageIsDrawn_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("scroll");
        QTest::addColumn<bool>("crisp");  // only the two colours, no blend at their border
        QTest::newRow("large, from the scaled copy") << QSize(2400, 1200) << 0.0 << false;
        QTest::newRow("small, enlarged smoothly at zoom 1") << QSize(8, 4) << 0.0 << false;
        QTest::newRow("small, in blocks at zoom 4") << QSize(8, 4) << 75.0 << true;
        QTest::newRow("long scrolling screenshot") << QSize(1920, 30000) << 0.0 << false;
    }

    void imageIsDrawn()
    {
        QFETCH(QSize, size);
        QFETCH(double, scroll);
        QFETCH(bool, crisp);
        Picker p(size);
        p.area->scrollZoom(scroll);
        QTRY_VERIFY(!p.area->isMoving());  // the zoom eases in
        const QImage shown = p.area->grab().toImage();
        const QRect image = p.area->zoomPan().zoomedImageRect().toAlignedRect().intersected(shown.rect());
        QList<QRgb> row;
        for (int x = image.left() + 2; x < image.right() - 2; ++x)
            row << (shown.pixel(x, image.center().y()) & 0xFFFFFF);
        QCOMPARE(row.first(), left.rgb() & 0xFFFFFF);
        QCOMPARE(row.last(), right.rgb() & 0xFFFFFF);
        if (crisp)
            QCOMPARE(QSet<QRgb>(row.cbegin(), row.cend()).size(), 2);
        else if (size.width() < image.width())
            QVERIFY(QSet<QRgb>(row.cbegin(), row.cend()).size() > 2);
    }

    void unreadableFileSaysWhyAndPicksNothing()
    {
        Picker p(QSize{});
        mouse(p.area, QEvent::MouseMove, QPointF(300, 300), 0, false);
        click(p.area, QPointF(300, 300), 1000);
        p.area->scrollZoom(25);
        QVERIFY(!p.area->loupe()->isVisible());
        QVERIFY(!p.view.pickedColor());
        QCOMPARE(p.zoom(), 1.0);
        QCOMPARE(p.view.colorBar()->readout()->text(), hex(ColorPickerView::placeholderColor()));
        QLabel *problem = p.view.findChild<QLabel *>(QStringLiteral("problem"));
        QVERIFY(problem->isVisible());
        QCOMPARE(problem->text(), QStringLiteral("broken.png cannot be shown: not an image that can be read."));
    }

    void oneWindowShowsTheLastFile()
    {
        QTemporaryDir dir;
        const QString first = writeHalves(dir.filePath(QStringLiteral("first.png")));
        const QString second = writeHalves(dir.filePath(QStringLiteral("second.png")));
        QWidget *window = ColorPickerWindowController::open(first);
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        ColorPickerView *view = ColorPickerWindowController::view();
        QTRY_VERIFY(view->isLoaded());
        view->commitPick(left);

        QCOMPARE(ColorPickerWindowController::open(first), window);
        QCOMPARE(ColorPickerWindowController::view(), view);  // only raised
        QCOMPARE(view->history().entries().size(), 1);

        QCOMPARE(ColorPickerWindowController::open(second), window);  // the new file it shows is checked end to end
        QVERIFY(ColorPickerWindowController::view()->history().isEmpty());

        window->close();
        QTRY_VERIFY(!ColorPickerWindowController::window());
    }
};

QTEST_MAIN(PickerUiTest)
#include "test_picker_ui.moc"
