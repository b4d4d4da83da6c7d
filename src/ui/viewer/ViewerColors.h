#pragma once

#include <QColor>

// The viewer's signal colours, as the desktop-neutral system hues.
namespace ViewerColors {
inline QColor blue() { return QColor(0, 122, 255); }
inline QColor green() { return QColor(52, 199, 89); }
inline QColor orange() { return QColor(255, 149, 0); }
}  // namespace ViewerColors
