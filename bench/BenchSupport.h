#pragma once

#include <benchmark/benchmark.h>

#include <QImage>
#include <QString>

#include <map>
#include <string>

// Helpers shared by the benchmark programs: screenshot-like images and a
// reporter that remembers each benchmark's mean time so ratios can be printed.
namespace BenchSupport {

// Busy, screenshot-like content: panels, text and gradients.
QImage screenshotLike(int width, int height, int seed = 0);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    // Mean real time per iteration in milliseconds, by benchmark name.
    double millis(const std::string &name) const;
    void printRatio(const std::string &label, const std::string &measured, const std::string &baseline,
                    double target) const;

private:
    std::map<std::string, double> m_millis;
};

}  // namespace BenchSupport
