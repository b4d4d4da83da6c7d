#include "picker/ColorFormat.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace ColorFormat {

QList<ColorMode> modes()
{
    return {ColorMode::hex, ColorMode::rgb, ColorMode::rgba};
}

QString label(ColorMode mode)
{
    switch (mode) {
    case ColorMode::hex:
        return QCoreApplication::translate("ColorFormat", "HEX");
    case ColorMode::rgb:
        return QCoreApplication::translate("ColorFormat", "RGB");
    case ColorMode::rgba:
        return QCoreApplication::translate("ColorFormat", "RGBA");
    }
    return {};
}

std::array<int, 3> rgb8(const QColor &color)
{
    const QColor srgb = color.toRgb();
    const auto level = [](float component) { return std::clamp(int(std::lround(component * 255.0)), 0, 255); };
    return {level(srgb.redF()), level(srgb.greenF()), level(srgb.blueF())};
}

QString colorString(const QColor &color, ColorMode mode)
{
    const auto [r, g, b] = rgb8(color);
    switch (mode) {
    case ColorMode::hex:
        return QString::asprintf("#%02X%02X%02X", r, g, b);
    case ColorMode::rgb:
        return QStringLiteral("rgb(%1, %2, %3)").arg(r).arg(g).arg(b);
    case ColorMode::rgba:
        return QString::asprintf("rgba(%d, %d, %d, %.2f)", r, g, b, double(color.toRgb().alphaF()));
    }
    return {};
}

bool colorsEqual(const QColor &a, const QColor &b)
{
    return rgb8(a) == rgb8(b);
}

}  // namespace ColorFormat
