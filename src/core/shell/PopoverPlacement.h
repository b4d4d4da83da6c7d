#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// Where the popover window goes: under the tray icon when the tray tells
// where the icon is, else at the pointer, else in the top-right corner; always
// inside the screen's available area.
namespace PopoverPlacement {

constexpr int gapBelowIcon = 4;

// icon: the tray icon on screen, when known. pointer: the pointer, when it is
// on a screen. available: that screen's available geometry.
QPoint topLeft(const QSize &size, const std::optional<QRect> &icon, const std::optional<QPoint> &pointer,
               const QRect &available);

// A menu dropping down from the icon: left edges aligned, just below it (or
// just above it when the screen has no room below), inside the screen.
QPoint dropDownTopLeft(const QSize &size, const QRect &icon, const QRect &available);

}  // namespace PopoverPlacement
