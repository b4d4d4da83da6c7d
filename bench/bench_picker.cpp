// One hover over the colour picker's image, against one plain draw of the
// cached scaled image measured in the same run. Offscreen:
// QT_QPA_PLATFORM=offscreen build/bench/bench_picker
//   hover: a pointer move over a 5120×2880 image in the window's image area
//          (sample, loupe moved and recoloured) and the area repainted whole
//          with the loupe and the badge, at zoom 1 and at zoom 8
//          (target <= 4 ms each). The ratio to the plain draw shows the
//          share of the image itself: the rest is the widget paint path, the
//          area's background and the loupe's gradients and text.

#include "BenchSupport.h"
#include "picker/PickerImage.h"
#include "picker/PickerImageArea.h"
#include "picker/ZoomPan.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <memory>

namespace {

const QSize areaSize(680, 560);  // the image area of a 680 × 740 window
PickerImage *g_image = nullptr;

void BM_PlainDraw(benchmark::State &state)
{
    ZoomPan zoomPan;
    zoomPan.setGeometry(areaSize, g_image->size());
    const QRectF target = zoomPan.zoomedImageRect();
    const QImage cached = g_image->scaled(target.size().toSize());
    QImage canvas(areaSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&canvas);
        painter.drawImage(target.topLeft().toPoint(), cached);
    }
}

void measureHover(benchmark::State &state, double zoom)
{
    PickerImageArea area;
    area.resize(areaSize);
    area.setImage(*g_image);
    area.scrollZoom((zoom - 1) / ZoomPan::scrollRate);
    if (!QTest::qWaitFor([&] { return !area.isMoving(); }, 5000))  // the zoom eases in
        state.SkipWithError("the zoom did not settle");
    QImage canvas(areaSize, QImage::Format_ARGB32_Premultiplied);
    area.render(&canvas);  // the scaled copy is made once, on the first paint
    int step = 0;
    for (auto _ : state) {
        // Across the image, so that every event reads another pixel.
        const QPointF at(40 + (step * 37) % 600, 100 + (step * 53) % 360);
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, area.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&area, &move);
        area.render(&canvas);
    }
    state.counters["zoom"] = area.zoomPan().zoom();
}

void BM_HoverZoom1(benchmark::State &state)
{
    measureHover(state, 1.0);
}

void BM_HoverZoom8(benchmark::State &state)
{
    measureHover(state, 8.0);
}

BENCHMARK(BM_PlainDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverZoom1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverZoom8)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Opaque, as screenshots are.
    PickerImage image =
        PickerImage::fromImage(BenchSupport::screenshotLike(5120, 2880).convertToFormat(QImage::Format_RGB32));
    g_image = &image;
    benchmark::Initialize(&argc, argv);
    BenchSupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.millis("BM_PlainDraw");
    for (const char *name : {"BM_HoverZoom1", "BM_HoverZoom8"}) {
        const double hover = reporter.millis(name);
        std::printf("HOVER %-14s %6.2f ms (target <= 4 ms) %s; %6.2f ms / plain draw %6.3f ms = %5.1f\n", name, hover,
                    hover <= 4.0 ? "ok" : "OVER", hover, plain, plain > 0 ? hover / plain : 0.0);
    }
    benchmark::Shutdown();
    return 0;
}
