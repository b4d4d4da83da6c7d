#include "BenchSupport.h"

#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace BenchSupport {

QImage screenshotLike(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_ARGB32);
    QPainter painter(&image);
    QLinearGradient background(0, 0, width, height);
    background.setColorAt(0, QColor(30 + seed % 50, 60, 90));
    background.setColorAt(1, QColor(200, 180, 140));
    painter.fillRect(image.rect(), background);
    for (int i = 0; i < 40; ++i) {
        const QRect panel((i * 137 + seed * 31) % width, (i * 89 + seed * 17) % height, 300 + i * 7, 200 + i * 5);
        painter.fillRect(panel, QColor((i * 40) % 255, (i * 70 + seed) % 255, (i * 20) % 255, 200));
        painter.setPen(Qt::black);
        for (int line = 0; line < 8; ++line)
            painter.drawText(panel.adjusted(10, 10 + line * 20, 0, 0), QStringLiteral("Line %1 of panel %2 — %3")
                                                                           .arg(line).arg(i).arg(seed));
    }
    painter.end();
    return image;
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.run_type == Run::RT_Iteration && run.iterations > 0)
            m_millis[run.benchmark_name()] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::millis(const std::string &name) const
{
    for (const auto &[key, value] : m_millis) {
        if (key.rfind(name, 0) == 0)
            return value;
    }
    return 0;
}

void RatioReporter::printRatio(const std::string &label, const std::string &measured, const std::string &baseline,
                               double target) const
{
    const double m = millis(measured);
    const double b = millis(baseline);
    const double ratio = b > 0 ? m / b : 0;
    std::printf("RATIO %-40s %8.2f ms / %8.2f ms = %5.2f (target <= %.2f) %s\n", label.c_str(), m, b, ratio, target,
                ratio <= target ? "ok" : "OVER");
}

}  // namespace BenchSupport
