#pragma once

#include <QObject>

class ColorScheme;

// Keeps the application's palette on the side the desktop asks for. The
// platform theme gives the palette (KDE's colour schemes arrive that way);
// where the desktop prefers dark but that palette is light, as GNOME's
// settings leave it for Qt, the app sets a dark one itself, and takes it
// back when the desktop returns to light.
class SchemePalette : public QObject
{
public:
    explicit SchemePalette(ColorScheme *scheme, QObject *parent = nullptr);

private:
    void follow();

    ColorScheme *m_scheme;
    bool m_ownDark = false;  // the palette in use is the app's own dark one
};
