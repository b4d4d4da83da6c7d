// The annotation editor's two hot paths, each against a plain draw of the
// image measured in the same run. Offscreen:
// QT_QPA_PLATFORM=offscreen build/bench/bench_annotation
//   flatten: 50 marks (all five tools, some turned) flattened onto a
//            5120×2880 screenshot as Copy and Imgur do (target <= 150 ms),
//            against one plain draw of the image onto a new image of its size.
//   repaint: the canvas repainted whole with 200 marks, 40 of them text, the
//            image shown at 1440×810 (target <= 16 ms), against one plain
//            draw of the scaled image the canvas keeps: once after the marks
//            changed (all drawn again) and once with them unchanged (the
//            frames of a drawing drag, which reuse the drawn marks).

#include "BenchSupport.h"
#include "annotation/AnnotationDocument.h"
#include "annotation/AnnotationExport.h"
#include "annotation/AnnotationGeometry.h"
#include "editor/AnnotationCanvas.h"

#include <QApplication>
#include <QPainter>
#include <QRandomGenerator>

#include <numbers>

namespace {

const QSize imageSize(5120, 2880);
const QSize canvasSize(1440, 810);
const QImage *g_image = nullptr;

AnnotationList marks(int count, int texts)
{
    QRandomGenerator random(7);
    AnnotationList list;
    for (int i = 0; i < count; ++i) {
        Annotation mark;
        mark.tool = i < texts ? AnnotationTool::text : AnnotationTools::all[static_cast<size_t>(i % 4)];
        mark.start = QPointF(random.bounded(0.9), random.bounded(0.9));
        mark.end = mark.tool == AnnotationTool::text
            ? mark.start
            : mark.start + QPointF(0.02 + random.bounded(0.2), 0.02 + random.bounded(0.2));
        mark.color = AnnotationPalette::colors()[static_cast<qsizetype>(i % 6)];
        mark.lineWidth = AnnotationPalette::lineWidths[static_cast<size_t>(i % 3)];
        mark.fontSize = AnnotationPalette::fontSizes[static_cast<size_t>(i % 4)];
        mark.text = mark.tool == AnnotationTool::text ? QStringLiteral("Look here %1\nand here").arg(i) : QString();
        mark.rotation = i % 5 == 0 ? std::numbers::pi / 7 : 0;
        list.append(mark);
    }
    return list;
}

void BM_PlainDrawImage(benchmark::State &state)
{
    for (auto _ : state) {
        QImage target(g_image->size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&target);
        painter.drawImage(0, 0, *g_image);
    }
}

void BM_Flatten50(benchmark::State &state)
{
    const AnnotationList list = marks(50, 10);
    for (auto _ : state) {
        const QImage flattened = AnnotationExport::buildAnnotatedImage(*g_image, list, canvasSize.width());
        benchmark::DoNotOptimize(flattened.constBits());
    }
}

void BM_PlainDrawShown(benchmark::State &state)
{
    const QRectF shown = AnnotationGeometry::fittedRect(QSizeF(canvasSize), QSizeF(imageSize));
    const QImage cached = g_image->scaled(shown.size().toSize());
    QImage canvas(canvasSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&canvas);
        painter.drawImage(shown.topLeft(), cached);
    }
}

void measureRepaint(benchmark::State &state, bool marksChange)
{
    AnnotationDocument document;
    for (const Annotation &mark : marks(200, 40))
        document.append(mark);
    document.setSelectedId(document.annotations().last().id);
    AnnotationCanvas view(*g_image, &document);
    view.resize(canvasSize);
    QImage canvas(canvasSize, QImage::Format_ARGB32_Premultiplied);
    view.render(&canvas);  // the scaled copy is made once, on the first layout
    for (auto _ : state) {
        if (marksChange)
            document.notify();  // as after a move or a restyle: every mark is drawn again
        view.render(&canvas);
    }
}

// A mark moved, restyled or added: the whole list is drawn.
void BM_Repaint200(benchmark::State &state)
{
    measureRepaint(state, true);
}

// A frame of a drawing drag or a hover: the marks as they were, plus the rest.
void BM_Repaint200Unchanged(benchmark::State &state)
{
    measureRepaint(state, false);
}

BENCHMARK(BM_PlainDrawImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Flatten50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDrawShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint200Unchanged)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Opaque, as screenshots are.
    const QImage image = BenchSupport::screenshotLike(imageSize.width(), imageSize.height())
                             .convertToFormat(QImage::Format_RGB32);
    g_image = &image;
    benchmark::Initialize(&argc, argv);
    BenchSupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const struct {
        const char *name;
        const char *baseline;
        double target;
    } rows[] = {{"BM_Flatten50", "BM_PlainDrawImage", 150},
                {"BM_Repaint200", "BM_PlainDrawShown", 16},
                {"BM_Repaint200Unchanged", "BM_PlainDrawShown", 16}};
    for (const auto &row : rows) {
        const double measured = reporter.millis(row.name);
        const double plain = reporter.millis(row.baseline);
        std::printf("%-23s %7.2f ms (target <= %.0f ms) %s; / plain draw %6.2f ms = %5.1f\n", row.name, measured,
                    row.target, measured <= row.target ? "ok" : "OVER", plain, plain > 0 ? measured / plain : 0.0);
    }
    benchmark::Shutdown();
    return 0;
}
