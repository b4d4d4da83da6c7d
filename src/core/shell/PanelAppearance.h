#pragma once

#include "shell/PanelShade.h"

#include <QObject>
#include <QRect>

// What the desktop tells about the panel holding the tray icon.
class PanelAppearance : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // iconGeometry: where the tray icon is on screen; empty when the tray does not say.
    virtual PanelShade::Clues clues(const QRect &iconGeometry) const = 0;

Q_SIGNALS:
    // The desktop's colour scheme changed: ask again.
    void changed();
};
