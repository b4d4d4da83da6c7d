#pragma once

#include "shell/PanelAppearance.h"

#include <QFileSystemWatcher>

// The panel as the Linux desktop lets us know it: the desktop's name, KDE's
// colour scheme (its panels follow it), and for XEmbed trays the pixels
// around the icon, which are the tray's own background.
class DesktopPanelAppearance : public PanelAppearance
{
    Q_OBJECT
public:
    explicit DesktopPanelAppearance(QObject *parent = nullptr);

    PanelShade::Clues clues(const QRect &iconGeometry) const override;

    // [Colors:Window] BackgroundNormal of a kdeglobals file; none when unset.
    static std::optional<QColor> kdePanelColor(const QString &kdeglobals);
    // The mean colour of the two-pixel frame around rect on screen; none
    // where the screen cannot be read (Wayland, no screen there).
    static std::optional<QColor> frameColorAround(const QRect &rect);

private:
    QString kdeglobalsPath() const;
    void watchColourScheme();

    QFileSystemWatcher m_watcher;
};
