#pragma once

#include <QColor>
#include <QString>

#include <optional>

// The tray glyph must read on the panel it sits in, whatever the app's own
// theme: light on dark panels, dark on light ones. This decides from what can
// be known of that panel.
namespace PanelShade {

struct Clues {
    QString desktop;                        // XDG_CURRENT_DESKTOP
    std::optional<QColor> panelBackground;  // measured, or from the desktop's colour scheme
    QColor appWindow;                       // the app palette's window colour, the last resort
};

struct Colors {
    QColor glyph;
    QColor background;  // the panel's colour, as far as known: the unread dot's ring
};

bool isDark(const QColor &color);
Colors colorsFor(const Clues &clues);

}  // namespace PanelShade
