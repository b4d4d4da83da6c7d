#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <array>

// The three ways the picker writes a colour, in the order the mode selector
// shows them.
enum class ColorMode { hex, rgb, rgba };

namespace ColorFormat {

QList<ColorMode> modes();
// "HEX", "RGB", "RGBA": the selector's labels.
QString label(ColorMode mode);
// The sRGB components rounded to 0…255.
std::array<int, 3> rgb8(const QColor &color);
// "#1A2B3C", "rgb(26, 43, 60)" or "rgba(26, 43, 60, 1.00)".
QString colorString(const QColor &color, ColorMode mode);
// Equal when they print the same: the 8-bit triples match. A looser
// tolerance would merge neighbouring 8-bit values, which an exact-pixel
// tool must tell apart. Alpha is ignored.
bool colorsEqual(const QColor &a, const QColor &b);

}  // namespace ColorFormat
