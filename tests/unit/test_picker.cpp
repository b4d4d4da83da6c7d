// The colour picker's rules: sampling, colour strings, the pick history, the
// zoom badge, fitting, zoom and pan limits, and what a press-move-release means.

#include "picker/ColorFormat.h"
#include "picker/ColorHistory.h"
#include "picker/ColorSampler.h"
#include "picker/PickerImage.h"
#include "picker/PointerGesture.h"
#include "picker/ZoomPan.h"

#include <QColorSpace>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A 2 × 2 image: red, green / blue, white.
QImage quad()
{
    QImage image(2, 2, QImage::Format_ARGB32_Premultiplied);
    const QRgb pixels[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
    for (int i = 0; i < 4; ++i)
        image.setPixel(i % 2, i / 2, pixels[i]);
    return image;
}

QString hex(const QColor &color)
{
    return ColorFormat::colorString(color, ColorMode::hex);
}

// One pointer step: a move or a release, with its translation from the press.
struct Step {
    char kind;  // 'm' move, 'r' release
    QPointF translation;
    std::uint64_t ms = 0;
};

}  // namespace

Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(QList<Step>)

class PickerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sample_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QString>("expected");  // empty: no sample
        const auto at = [](const char *what, const QRectF &rect, QPointF point, const char *expected) {
            QTest::newRow(what) << quad() << rect << point << QString::fromLatin1(expected);
        };
        // One pixel, as it is or as loading makes it.
        const auto one = [](const char *what, QImage::Format format, QRgb pixel, const char *expected, bool loaded = false) {
            QImage image(1, 1, format);
            image.setPixel(0, 0, pixel);
            QTest::newRow(what) << (loaded ? PickerImage::fromImage(image).pixels() : image) << QRectF(0, 0, 1, 1)
                                << QPointF(0.5, 0.5) << QString::fromLatin1(expected);
        };
        const QRectF square(0, 0, 200, 200);
        at("right half of the top row", square, {150, 50}, "#00FF00");
        at("just inside the far corner", square, {199, 199}, "#FFFFFF");
        at("on the far edges: outside", square, {200, 200}, "");
        at("the origin is inside", square, {0, 0}, "#FF0000");
        at("left of the rectangle", square, {-0.5, 20}, "");
        at("offset rectangle, bottom left", QRectF(40, 30, 100, 100), {40, 129.9}, "#0000FF");
        at("stretched wide, row from y only", QRectF(0, 0, 1000, 10), {600, 4}, "#00FF00");
        at("empty rectangle", QRectF(0, 0, 0, 200), {0, 0}, "");
        const QImage::Format premultiplied = QImage::Format_ARGB32_Premultiplied;
        one("half transparent comes back un-premultiplied", premultiplied, qRgba(64, 32, 16, 128), "#804020");
        one("fully transparent reads black", premultiplied, qRgba(0, 0, 0, 0), "#000000");
        one("channel order kept", QImage::Format_RGB32, qRgb(0x1A, 0x2B, 0x3C), "#1A2B3C");
        one("straight alpha, through the loaded form", QImage::Format_ARGB32, qRgba(200, 100, 50, 255), "#C86432", true);
        one("other formats are read as premultiplied", QImage::Format_RGBA8888, qRgba(0x1A, 0x2B, 0x3C, 255), "#1A2B3C");
    }

    // Which pixel a point reads, and its colour always opaque.
    void sample()
    {
        QFETCH(QImage, image);
        QFETCH(QRectF, rect);
        QFETCH(QPointF, point);
        QFETCH(QString, expected);
        const std::optional<QColor> color = ColorSampler::sample(point, rect, image);
        QCOMPARE(color ? hex(*color) : QString(), expected);
        if (color)
            QCOMPARE(ColorFormat::colorString(*color, ColorMode::rgba).right(5), QStringLiteral("1.00)"));
    }

    // Components rounded, alpha printed as it is; each form of an opaque colour
    // is checked as copied, by the widget and the end-to-end tests.
    void colorStrings()
    {
        QStringList written;
        for (ColorMode mode : ColorFormat::modes())
            written << ColorFormat::colorString(QColor::fromRgbF(0.5f, 0.1f, 0.999f, 0.5f), mode);
        QCOMPARE(written, (QStringList{"#801AFF", "rgb(128, 26, 255)", "rgba(128, 26, 255, 0.50)"}));
    }

    void history_data()
    {
        QTest::addColumn<QStringList>("picks");
        QTest::addColumn<QStringList>("entries");  // newest first
        QTest::newRow("the same twice: one entry") << QStringList{"#112233", "#112233"} << QStringList{"#112233"};
        QTest::newRow("A, B, A: only the newest is compared")
            << QStringList{"#AAAAAA", "#BBBBBB", "#AAAAAA"} << QStringList{"#AAAAAA", "#BBBBBB", "#AAAAAA"};
        QTest::newRow("one 8-bit step apart is another colour")
            << QStringList{"#FFFFFF", "#FEFEFE"} << QStringList{"#FEFEFE", "#FFFFFF"};
        QStringList picks;
        for (int i = 1; i <= 21; ++i)
            picks << QString::asprintf("#0000%02X", i);
        QTest::newRow("the 21st distinct pick drops the oldest") << picks << QStringList(picks.crbegin(), picks.crend() - 1);
    }

    void history()
    {
        QFETCH(QStringList, picks);
        QFETCH(QStringList, entries);
        ColorHistory history;
        for (const QString &pick : picks)
            history.add(QColor::fromString(pick));
        QStringList listed;
        for (const QColor &entry : history.entries())
            listed << hex(entry);
        QCOMPARE(listed, entries);
    }

    void badge_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<std::optional<QString>>("text");
        QTest::newRow("just above a whole number") << 3.02 << std::optional<QString>(QStringLiteral("3×"));
        QTest::newRow("a half") << 2.5 << std::optional<QString>(QStringLiteral("2.5×"));
        QTest::newRow("the limit") << 12.0 << std::optional<QString>(QStringLiteral("12×"));
        QTest::newRow("1.02 is already zoomed") << 1.02 << std::optional<QString>(QStringLiteral("1×"));
        QTest::newRow("none at 1.01") << 1.01 << std::optional<QString>();
        QTest::newRow("none at 1") << 1.0 << std::optional<QString>();
    }

    void badge()
    {
        QFETCH(double, zoom);
        QFETCH(std::optional<QString>, text);
        QCOMPARE(ZoomPan::badgeText(zoom), text);
    }

    void fitAndPan_data()
    {
        QTest::addColumn<QSizeF>("container");
        QTest::addColumn<QSizeF>("image");
        QTest::addColumn<QRectF>("base");
        QTest::addColumn<double>("scroll");  // zooms to scroll · 0.04 + 1
        QTest::addColumn<QPointF>("pan");
        QTest::addColumn<QPointF>("clamped");
        const auto row = [](const char *what, QSizeF container, QSizeF image, QRectF base, double scroll = 0, QPointF pan = {},
                            QPointF clamped = {}) {
            QTest::newRow(what) << container << image << base << scroll << pan << clamped;
        };
        const QSizeF wide(800, 400);
        const QSizeF photo(600, 400);
        const QRectF heightFitted(100, 0, 600, 400);
        row("wider area: height-fitted, never panned at zoom 1", wide, photo, heightFitted, 0, {50, 50});
        row("taller area: width-fitted", {600, 600}, photo, {0, 100, 600, 400});
        row("no image: the whole area", {600, 600}, {}, {0, 0, 600, 600});
        row("zoom 2: edges meet the area's", wide, photo, heightFitted, 25, {500, -500}, {200, -200});
        row("zoom 2: within the limits", wide, photo, heightFitted, 25, {-150, 120}, {-150, 120});
        row("zoom 1.2: still narrower than the area, x stays 0", wide, photo, heightFitted, 5, {30, -100}, {0, -40});
    }

    void fitAndPan()
    {
        QFETCH(QSizeF, container);
        QFETCH(QSizeF, image);
        QFETCH(QRectF, base);
        QFETCH(double, scroll);
        QFETCH(QPointF, pan);
        QFETCH(QPointF, clamped);
        ZoomPan zoomPan;
        zoomPan.setGeometry(container, image);
        QCOMPARE(zoomPan.baseRect(), base);
        if (scroll == 0)
            QCOMPARE(zoomPan.zoomedImageRect(), base);
        zoomPan.scroll(scroll);
        QCOMPARE(zoomPan.clampPan(pan), clamped);
        zoomPan.panBy(pan);
        QCOMPARE(zoomPan.panOffset(), clamped);
        QCOMPARE(zoomPan.zoomedImageRect().center(), base.center() + clamped);
    }

    void zoomLimits_data()
    {
        QTest::addColumn<QString>("steps");  // s<delta>, p<scale> (a whole pinch), c<scale> (pinch not ended), r
        QTest::addColumn<double>("zoom");
        QTest::newRow("-25 at zoom 1 stays 1") << "s-25" << 1.0;
        QTest::newRow("twice doubles twice") << "s25 s25" << 4.0;
        QTest::newRow("never past 12") << "s25 s25 s25 s25" << 12.0;
        QTest::newRow("pinch of 20 from 1") << "p20" << 12.0;
        QTest::newRow("pinches multiply from the zoom they start at") << "s25 p1.5" << 3.0;
        QTest::newRow("a pinch in progress") << "s25 c0.75" << 1.5;
        QTest::newRow("pinch below 1") << "p0.5" << 1.0;
        QTest::newRow("reset") << "s25 r" << 1.0;
    }

    void zoomLimits()
    {
        QFETCH(QString, steps);
        QFETCH(double, zoom);
        ZoomPan zoomPan;
        zoomPan.setGeometry(QSizeF(800, 400), QSizeF(600, 400));
        zoomPan.scroll(25);
        zoomPan.panBy(QPointF(150, 150));
        zoomPan.commitPan();
        zoomPan.reset();
        for (const QString &step : steps.split(u' ')) {
            const double value = step.mid(1).toDouble();
            switch (step.front().toLatin1()) {
            case 's': zoomPan.scroll(value); break;
            case 'p': zoomPan.pinchChanged(value); zoomPan.pinchEnded(value); break;
            case 'c': zoomPan.pinchChanged(value); break;
            case 'r': zoomPan.reset(); break;
            }
        }
        QVERIFY2(qFuzzyCompare(zoomPan.zoom(), zoom), qPrintable(QString::number(zoomPan.zoom())));
        if (zoom == 1.0)
            QCOMPARE(zoomPan.panOffset(), QPointF());
        if (!steps.contains(u'c'))
            QCOMPARE(zoomPan.baseZoom(), zoomPan.zoom());
    }

    void gesture_data()
    {
        QTest::addColumn<bool>("zoomed");
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QString>("outcome");  // per step: move i/k/n (idle, picking, panning); release P/R/E/-
        // A short click, and drags that preview or pan, are the widget test's.
        QTest::newRow("6 points: no drag yet, no click either") << false << QList<Step>{{'m', {6, 0}}, {'r', {6, 0}, 100}}
                                                                << "i-";
        QTest::newRow("zoomed: double click resets, a third quick click too")
            << true << QList<Step>{{'r', {}, 1000}, {'r', {}, 1300}, {'r', {1, 1}, 1600}} << "PRR";
        QTest::newRow("zoom 1: the second click picks nothing")
            << false << QList<Step>{{'r', {}, 1000}, {'r', {}, 1349}} << "P-";
        QTest::newRow("350 ms apart: two clicks") << true << QList<Step>{{'r', {}, 1000}, {'r', {}, 1350}} << "PP";
        QTest::newRow("a drag breaks the sequence")
            << false << QList<Step>{{'r', {}, 1000}, {'m', {8, 8}}, {'r', {8, 8}, 1100}, {'r', {}, 1200}} << "Pk-P";
    }

    void gesture()
    {
        QFETCH(bool, zoomed);
        QFETCH(QList<Step>, steps);
        QFETCH(QString, outcome);
        PointerGesture gesture;
        QString seen;
        for (const Step &step : steps) {
            if (step.kind == 'm') {
                seen += "ikn"[int(gesture.move(step.translation, zoomed))];
            } else {
                seen += "PRE-"[int(gesture.release(step.translation, step.ms, zoomed))];
                QCOMPARE(gesture.mode(), PointerGesture::Mode::idle);
            }
        }
        QCOMPARE(seen, outcome);
    }

    void loadedImageIsSrgb_data()
    {
        QTest::addColumn<QColorSpace>("space");
        QTest::addColumn<bool>("converted");
        QTest::newRow("Display P3") << QColorSpace(QColorSpace::DisplayP3) << true;
        // How many writers label plain sRGB: its bytes are the colour.
        QTest::newRow("gamma 2.2, sRGB primaries") << QColorSpace(QColorSpace::Primaries::SRgb, 2.2f) << false;
        QTest::newRow("gamma 1.8, sRGB primaries") << QColorSpace(QColorSpace::Primaries::SRgb, 1.8f) << true;
    }

    void loadedImageIsSrgb()
    {
        // A colour in a file with another profile reads as the same colour in
        // sRGB, not as its raw bytes.
        QFETCH(QColorSpace, space);
        QFETCH(bool, converted);
        QTemporaryDir dir;
        const QColor colour(40, 160, 90);
        QImage tagged(4, 4, QImage::Format_RGB32);
        tagged.fill(colour);
        tagged.setColorSpace(space);
        const QString path = dir.filePath(QStringLiteral("tagged.png"));
        QVERIFY(tagged.save(path));
        const PickerImage loaded = PickerImage::load(path);
        QCOMPARE(loaded.size(), QSize(4, 4));
        const QColor expected = converted ? space.transformationToColorSpace(QColorSpace::SRgb).map(colour) : colour;
        const QColor read = loaded.pixels().pixelColor(1, 1);
        QVERIFY2(!converted || hex(read) != hex(colour), "the profile was ignored");
        const int off = std::max({std::abs(read.red() - expected.red()), std::abs(read.green() - expected.green()),
                                  std::abs(read.blue() - expected.blue())});
        QVERIFY2(off <= (converted ? 1 : 0), qPrintable(hex(read) + u' ' + hex(expected)));
        QVERIFY(PickerImage::load(dir.filePath(QStringLiteral("missing.png"))).isNull());
    }

    void scaledCopies()
    {
        QImage big(3000, 1000, QImage::Format_ARGB32_Premultiplied);
        big.fill(QColor(0x1A, 0x2B, 0x3C));
        const PickerImage image = PickerImage::fromImage(big);
        for (const QSize size : {QSize(700, 233), QSize(1500, 500), QSize(2999, 999)})  // colours: the widget test
            QCOMPARE(image.scaled(size).size(), size);
        QCOMPARE(image.scaled(QSize(6000, 2000)).size(), QSize(3000, 1000));
    }
};

QTEST_GUILESS_MAIN(PickerTest)
#include "test_picker.moc"
