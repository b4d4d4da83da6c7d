#pragma once

#include "shell/PanelShade.h"

#include <QColor>
#include <QIcon>
#include <QImage>


// The tray icon: the camera glyph, and a red dot ringed in the background
// colour while anything is unread or a capture is pending. No number.
class StatusIconRenderer
{
public:
    static constexpr int size = 22;

    struct Colors {
        QColor glyph;
        QColor ring;  // drawn at 0.85 opacity under the dot
        QColor dot;
    };

    // The glyph and ring from the panel's shade; the dot stays red.
    static Colors colorsFor(const PanelShade::Colors &panel);
    static bool showsDot(int unreadCount, bool isPending) { return unreadCount > 0 || isPending; }
    // size × size logical pixels at the given device pixel ratio.
    static QImage render(int unreadCount, bool isPending, const Colors &colors, qreal devicePixelRatio = 1.0);
    // Both the 1x and 2x images, so the tray picks what its panel needs.
    static QIcon icon(int unreadCount, bool isPending, const Colors &colors);
};
