#pragma once

#include <QFont>
#include <QString>

class QColor;
class QPainter;
class QRectF;
class QSizeF;

// A symbol followed by a one-line label, the content of the capsule badges and
// buttons: measured once for the capsule's size, drawn left-aligned and
// vertically centred in whatever rectangle the capsule leaves for it.
struct SymbolText
{
    QString symbol;
    QString text;
    QFont font;
    double symbolSide = 10;
    double spacing = 4;

    QSizeF size() const;
    void draw(QPainter &painter, const QRectF &content, const QColor &color, qreal devicePixelRatio) const;
};
