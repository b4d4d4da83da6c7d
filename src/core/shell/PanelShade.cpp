#include "shell/PanelShade.h"

namespace {
// Desktops whose top bar is dark whatever the theme.
bool hasDarkBar(const QString &desktop)
{
    const QString lower = desktop.toLower();
    for (const char *name : {"gnome", "unity", "pantheon"}) {
        if (lower.contains(QLatin1String(name)))
            return true;
    }
    return false;
}
}  // namespace

bool PanelShade::isDark(const QColor &color)
{
    // Relative luminance with the sRGB weights; mid-grey and below is dark.
    const QColor rgb = color.toRgb();
    return 0.2126 * rgb.redF() + 0.7152 * rgb.greenF() + 0.0722 * rgb.blueF() < 0.5;
}

PanelShade::Colors PanelShade::colorsFor(const Clues &clues)
{
    QColor background = clues.panelBackground.value_or(QColor());
    if (!background.isValid())
        background = hasDarkBar(clues.desktop) ? QColor(0x1e, 0x1e, 0x1e) : clues.appWindow;
    const QColor glyph = isDark(background) ? QColor(0xf2, 0xf2, 0xf2) : QColor(0x1e, 0x1e, 0x1e);
    return {glyph, background};
}
