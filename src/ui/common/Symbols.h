#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSizeF>
#include <QString>

class QLabel;

// Named symbols drawn from the vendored SVG icons, tinted at draw time.
// Unknown names draw nothing.
namespace Symbols {

// The resource path for a symbol name, or an empty string.
QString resourcePath(const QString &name);
// The symbol fitted into size (logical pixels) in color, at the given device
// pixel ratio; a transparent image when the name is unknown.
QImage image(const QString &name, const QColor &color, const QSizeF &size, qreal devicePixelRatio = 1.0);
QPixmap pixmap(const QString &name, const QColor &color, const QSizeF &size, qreal devicePixelRatio = 1.0);
// Shows the symbol in label; drawn in a shade of the text colour, it is
// drawn again when the palette changes.
void show(QLabel *label, const QString &name, const QColor &color, const QSizeF &size);
// The application's icon: the installed theme's, else the one built in.
QIcon appIcon();

}  // namespace Symbols
