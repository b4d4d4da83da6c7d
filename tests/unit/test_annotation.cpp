// The editor's shared geometry on its edge cases, and the flattened export
// read back pixel by pixel.

#include "annotation/AnnotationExport.h"
#include "annotation/AnnotationGeometry.h"
#include "annotation/AnnotationPainter.h"

#include <QPainter>
#include <QTest>

#include <numbers>

Q_DECLARE_METATYPE(AnnotationList)
Q_DECLARE_METATYPE(Annotation)

namespace {

Annotation mark(AnnotationTool tool, QPointF start, QPointF end, double lineWidth = 2.5, QString text = {})
{
    return {.tool = tool, .start = start, .end = end, .color = Qt::red, .lineWidth = lineWidth, .text = std::move(text)};
}

// The same mark with other corners.
Annotation moved(Annotation a, QPointF start, QPointF end)
{
    a.start = start;
    a.end = end;
    return a;
}

bool inked(QRgb pixel)
{
    return qRed(pixel) > 150 && qGreen(pixel) < 120 && qBlue(pixel) < 120;
}

// The box around every reddish pixel.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            box |= inked(image.pixel(x, y)) ? QRect(x, y, 1, 1) : QRect();
    return box;
}

QImage white(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The mark as the editor draws it over the whole image.
QImage drawn(QImage image, const Annotation &a)
{
    QPainter painter(&image);
    AnnotationPainter::draw(painter, a, image.rect());
    painter.end();
    return image;
}

}  // namespace

class AnnotationTest : public QObject
{
    Q_OBJECT

    const QRectF m_rect{0, 0, 400, 200};  // pad = 20 / 400 = 0.05 on both axes
    const QString m_longWord = QStringLiteral("/home/") + QString(114, u'W');

private Q_SLOTS:
    void hitTest_data()
    {
        QTest::addColumn<AnnotationList>("marks");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<int>("expected");  // -1: nothing
        const Annotation dot = mark(AnnotationTool::rectangle, {0.5, 0.5}, {0.5, 0.5});
        QTest::newRow("no marks") << AnnotationList{} << QPointF(0.5, 0.5) << -1;
        QTest::newRow("zero-size box, pad before") << AnnotationList{dot} << QPointF(0.451, 0.451) << 0;
        QTest::newRow("zero-size box, beyond pad before") << AnnotationList{dot} << QPointF(0.449, 0.5) << -1;
        QTest::newRow("zero-size box, 3 pad after") << AnnotationList{dot} << QPointF(0.649, 0.649) << 0;
        QTest::newRow("zero-size box, far edge open") << AnnotationList{dot} << QPointF(0.5, 0.65) << -1;
        const Annotation arrow = mark(AnnotationTool::arrow, {0.8, 0.8}, {0.2, 0.2});
        QTest::newRow("arrow hit anywhere in its box") << AnnotationList{arrow} << QPointF(0.7, 0.3) << 0;
        // "Texto" is wider than the 4·pad minimum: the box reaches past it.
        const Annotation empty = mark(AnnotationTool::text, {0.2, 0.2}, {0.2, 0.2});
        QTest::newRow("fresh empty text") << AnnotationList{empty} << QPointF(0.37, 0.25) << 0;
        // A word wider than 600 pixels breaks inside: the box is tall, not long.
        const Annotation path = mark(AnnotationTool::text, {0, 0.2}, {0, 0.2}, 2.5, m_longWord);
        QTest::newRow("long word: nothing past 616") << AnnotationList{path} << QPointF(1.7, 0.25) << -1;
        QTest::newRow("long word: lines below") << AnnotationList{path} << QPointF(1.0, 0.6) << 0;
        const Annotation a = mark(AnnotationTool::rectangle, {0.1, 0.1}, {0.6, 0.6});
        const Annotation b = mark(AnnotationTool::circle, {0.4, 0.4}, {0.9, 0.9});
        QTest::newRow("later overlapping mark wins") << AnnotationList{a, b} << QPointF(0.5, 0.5) << 1;
        QTest::newRow("earlier mark where alone") << AnnotationList{a, b} << QPointF(0.2, 0.2) << 0;
        Annotation turned = a;
        turned.rotation = std::numbers::pi / 2;
        QTest::newRow("rotation ignored") << AnnotationList{turned} << QPointF(0.12, 0.55) << 0;
    }

    void hitTest()
    {
        QFETCH(AnnotationList, marks);
        QFETCH(QPointF, point);
        QFETCH(int, expected);
        const std::optional<qsizetype> hit = AnnotationGeometry::hitTest(marks, point, m_rect);
        QCOMPARE(hit ? int(*hit) : -1, expected);
    }

    void normalize_data()
    {
        QTest::addColumn<Annotation>("before");
        QTest::addColumn<Annotation>("after");
        const Annotation arrow = mark(AnnotationTool::arrow, {0.9, 0.2}, {0.1, 0.8});
        QTest::newRow("arrow tail right of tip") << arrow << arrow;
        const Annotation text = mark(AnnotationTool::text, {0.9, 0.9}, {0.9, 0.9}, 2.5, QStringLiteral("x"));
        QTest::newRow("text") << text << text;
        // A rectangle drawn up-left: the editor test, whose move puts its corners in order.
        const Annotation crossed = mark(AnnotationTool::highlight, {0.8, 0.1}, {0.2, 0.7});
        QTest::newRow("highlight drawn down-left") << crossed << moved(crossed, {0.2, 0.1}, {0.8, 0.7});
    }

    void normalize()
    {
        QFETCH(Annotation, before);
        QFETCH(Annotation, after);
        AnnotationList list{before};
        AnnotationGeometry::normalizeAnnotation(list, 0);
        QCOMPARE(list.first(), after);
        AnnotationGeometry::normalizeAnnotation(list, 3);  // outside the list: nothing
        QCOMPARE(list.size(), 1);
    }

    // Without marks a copy; an indexed image takes its marks in colour.
    void exportKeepsTheImageAndTakesMarks()
    {
        QImage source = white(64, 48);
        source.setPixel(3, 4, qRgb(10, 20, 30));
        QCOMPARE(AnnotationExport::buildAnnotatedImage(source, {}, 32).convertToFormat(QImage::Format_RGB32), source);
        QVERIFY(AnnotationExport::buildAnnotatedImage(QImage(), {}, 32).isNull());
        const QImage indexed = white(100, 100).convertToFormat(QImage::Format_Indexed8);
        const QImage flattened = AnnotationExport::buildAnnotatedImage(
            indexed, {mark(AnnotationTool::highlight, {0.2, 0.2}, {0.8, 0.8})}, 100);
        QCOMPARE(flattened.size(), indexed.size());
        const QColor inside = flattened.pixelColor(50, 50);
        QVERIFY(inside.red() > 240 && inside.green() < 200);  // red at 0.35 over white
        QCOMPARE(flattened.pixelColor(5, 5), QColor(Qt::white));
    }

    // Shown at half size, a 2.5-pixel arrow is 5 pixels wide in the image
    // with head lines of max(12.5, 14) × 2 = 28. A positive angle turns
    // clockwise as on screen: a rectangle's right edge goes down.
    void strokesScaleAndTurnAsShown()
    {
        const QImage flattened = AnnotationExport::buildAnnotatedImage(
            white(400, 200), {mark(AnnotationTool::arrow, {0.1, 0.5}, {0.9, 0.5})}, 200);
        int shaft = 0;
        for (int y = 0; y < 200; ++y)
            shaft += inked(flattened.pixel(200, y)) ? 1 : 0;
        QVERIFY2(shaft >= 4 && shaft <= 6, qPrintable(QString::number(shaft)));
        // The head spans 2 × 28 × sin 30° = 28 vertically, plus the round caps.
        const QRect ink = inkBox(flattened);
        QVERIFY2(ink.height() >= 31 && ink.height() <= 35, qPrintable(QString::number(ink.height())));
        QVERIFY(ink.right() >= 360 && ink.right() <= 363);  // the tip and its round cap

        Annotation box = mark(AnnotationTool::rectangle, {0.3, 0.45}, {0.7, 0.55}, 4.5);
        box.rotation = std::numbers::pi / 4;
        const QImage turned = AnnotationExport::buildAnnotatedImage(white(400, 400), {box}, 400);
        QVERIFY(inked(turned.pixel(256, 256)));   // the right edge's middle, turned down
        QVERIFY(!inked(turned.pixel(256, 144)));  // where a counter-clockwise turn would put it
        QVERIFY(!inked(turned.pixel(280, 200)));  // and not where it was
    }

    // Shown at half size, a text's top-left lands at start × image size and
    // its glyphs are twice as tall as on screen.
    void textScalesFromItsStart()
    {
        const Annotation text = mark(AnnotationTool::text, {0.25, 0.25}, {0.25, 0.25}, 2.5, QStringLiteral("Hl"));
        const QRect shown = inkBox(drawn(white(400, 200), text)).translated(-100, -50);
        const QRect exported = inkBox(AnnotationExport::buildAnnotatedImage(white(800, 400), {text}, 400))
                                   .translated(-200, -100);
        QVERIFY(!shown.isEmpty());
        QVERIFY2(std::abs(exported.height() - 2 * shown.height()) <= 2,
                 qPrintable(QStringLiteral("%1 vs %2").arg(exported.height()).arg(shown.height())));
        QVERIFY(std::abs(exported.top() - 2 * shown.top()) <= 2);
        QVERIFY(std::abs(exported.left() - 2 * shown.left()) <= 2);
        QVERIFY(exported.left() >= 0 && exported.top() >= 0);

        // On screen a word too long for a line breaks inside its measured box.
        const double measured = AnnotationGeometry::textSize(m_longWord, 18).height();
        const double line = AnnotationGeometry::textSize(QStringLiteral("W"), 18).height();
        const QRect ink = inkBox(drawn(white(1600, 400), mark(AnnotationTool::text, {}, {}, 2.5, m_longWord)));
        QVERIFY2(ink.right() < 600 && ink.bottom() < measured && ink.bottom() > measured - line && measured > 2 * line,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(ink.right()).arg(ink.bottom()).arg(measured)));
    }
};

QTEST_MAIN(AnnotationTest)
#include "test_annotation.moc"
