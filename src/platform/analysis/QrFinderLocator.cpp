#include "analysis/QrFinderLocator.h"

#include <QImage>
#include <QLineF>

#include <algorithm>
#include <array>
#include <cmath>

namespace QrFinderLocator {

namespace {

struct Finder {
    QPointF centre;
    double module = 0;  // module size in pixels
    int hits = 1;
};

constexpr int kThreshold = 128;
constexpr int kMaxFinders = 60;

bool dark(const uchar *row, int x)
{
    return row[x] < kThreshold;
}

// Whether five runs read dark, light, dark, light, dark in the 1:1:3:1:1
// proportions of a finder pattern.
bool finderRatio(const std::array<int, 5> &runs)
{
    int total = 0;
    for (const int run : runs) {
        if (run == 0)
            return false;
        total += run;
    }
    if (total < 7)
        return false;
    const double module = total / 7.0;
    const double slack = module * 0.5;
    return std::abs(runs[0] - module) < slack && std::abs(runs[1] - module) < slack
           && std::abs(runs[2] - 3 * module) < 3 * slack && std::abs(runs[3] - module) < slack
           && std::abs(runs[4] - module) < slack;
}

// The vertical runs through (x, y), y inside the centre square; the centre of
// the pattern and its height when they read as a finder.
bool verticalFinder(const QImage &gray, int x, int y, double expectedTotal, double &centreY)
{
    const int height = gray.height();
    const auto at = [&](int row) { return dark(gray.constScanLine(row), x); };
    std::array<int, 5> runs{};
    int top = y;
    while (top >= 0 && at(top)) {
        --top;
        ++runs[2];
    }
    for (int i = 1; i >= 0; --i) {
        const bool wantDark = i == 0;
        while (top >= 0 && at(top) == wantDark) {
            --top;
            ++runs[i];
        }
    }
    int bottom = y + 1;
    while (bottom < height && at(bottom)) {
        ++bottom;
        ++runs[2];
    }
    for (int i = 3; i <= 4; ++i) {
        const bool wantDark = i == 4;
        while (bottom < height && at(bottom) == wantDark) {
            ++bottom;
            ++runs[i];
        }
    }
    int total = 0;
    for (const int run : runs)
        total += run;
    if (!finderRatio(runs) || std::abs(total - expectedTotal) > expectedTotal * 0.4)
        return false;
    centreY = (top + 1 + runs[0] + runs[1]) + runs[2] / 2.0;
    return true;
}

void merge(QList<Finder> &finders, const Finder &found)
{
    for (Finder &finder : finders) {
        if (QLineF(finder.centre, found.centre).length() < finder.module * 2
            && std::abs(finder.module - found.module) < finder.module * 0.5) {
            finder.centre = (finder.centre * finder.hits + found.centre) / (finder.hits + 1);
            finder.module = (finder.module * finder.hits + found.module) / (finder.hits + 1);
            ++finder.hits;
            return;
        }
    }
    if (finders.size() < kMaxFinders * 8)
        finders.append(found);
}

QList<Finder> findFinders(const QImage &gray)
{
    QList<Finder> finders;
    const int width = gray.width();
    QList<int> runs;
    QList<int> starts;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar *row = gray.constScanLine(y);
        runs.clear();
        starts.clear();
        for (int x = 0; x < width;) {
            const int start = x;
            const bool isDark = dark(row, x);
            while (x < width && dark(row, x) == isDark)
                ++x;
            if (runs.isEmpty() && !isDark)
                continue;  // the first run kept is dark, so dark runs sit at even indices
            runs.append(x - start);
            starts.append(start);
        }
        for (qsizetype i = 0; i + 4 < runs.size(); i += 2) {
            const std::array<int, 5> window{runs[i], runs[i + 1], runs[i + 2], runs[i + 3], runs[i + 4]};
            if (!finderRatio(window))
                continue;
            const int total = window[0] + window[1] + window[2] + window[3] + window[4];
            const double centreX = starts[i + 2] + window[2] / 2.0;
            double centreY = 0;
            if (verticalFinder(gray, int(centreX), y, total, centreY))
                merge(finders, Finder{QPointF(centreX, centreY), total / 7.0});
        }
    }
    // A real finder is crossed by several rows.
    QList<Finder> solid;
    for (const Finder &finder : finders) {
        if (finder.hits >= 2 && solid.size() < kMaxFinders)
            solid.append(finder);
    }
    return solid;
}

// Three finders form a code when one of them is the corner of a right angle
// with two arms of equal length, at least the 14 modules of the smallest code.
bool cornerOf(const Finder &corner, const Finder &a, const Finder &b)
{
    const QPointF armA = a.centre - corner.centre;
    const QPointF armB = b.centre - corner.centre;
    const double lengthA = std::hypot(armA.x(), armA.y());
    const double lengthB = std::hypot(armB.x(), armB.y());
    if (lengthA < 14 * corner.module || std::abs(lengthA - lengthB) > 0.1 * lengthA)
        return false;
    const double cosine = (armA.x() * armB.x() + armA.y() * armB.y()) / (lengthA * lengthB);
    return std::abs(cosine) < 0.1;
}

bool similar(const Finder &a, const Finder &b)
{
    return std::abs(a.module - b.module) < 0.3 * std::max(a.module, b.module);
}

QRectF codeRect(const Finder &corner, const Finder &a, const Finder &b)
{
    const QPointF fourth = a.centre + b.centre - corner.centre;
    double left = fourth.x(), right = left, top = fourth.y(), bottom = top;
    for (const QPointF &point : {corner.centre, a.centre, b.centre}) {
        left = std::min(left, point.x());
        right = std::max(right, point.x());
        top = std::min(top, point.y());
        bottom = std::max(bottom, point.y());
    }
    // Finder centres sit three and a half modules inside the code's edge.
    const double margin = 3.5 * (corner.module + a.module + b.module) / 3;
    return QRectF(QPointF(left - margin, top - margin), QPointF(right + margin, bottom + margin));
}

}  // namespace

QList<QRectF> locate(const QImage &gray)
{
    const QList<Finder> finders = findFinders(gray);
    QList<QRectF> codes;
    QList<bool> used(finders.size(), false);
    for (qsizetype i = 0; i < finders.size(); ++i) {
        for (qsizetype j = 0; j < finders.size(); ++j) {
            for (qsizetype k = j + 1; k < finders.size(); ++k) {
                if (i == j || i == k || used[i] || used[j] || used[k])
                    continue;
                if (!similar(finders[i], finders[j]) || !similar(finders[i], finders[k])
                    || !cornerOf(finders[i], finders[j], finders[k]))
                    continue;
                codes.append(codeRect(finders[i], finders[j], finders[k]));
                used[i] = used[j] = used[k] = true;
            }
        }
    }
    return codes;
}

}  // namespace QrFinderLocator
