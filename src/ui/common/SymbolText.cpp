#include "common/SymbolText.h"

#include "common/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

QSizeF SymbolText::size() const
{
    const QFontMetricsF metrics(font);
    return {symbolSide + spacing + metrics.horizontalAdvance(text), std::max(symbolSide, metrics.height())};
}

void SymbolText::draw(QPainter &painter, const QRectF &content, const QColor &color, qreal devicePixelRatio) const
{
    const QRectF icon(content.left(), content.center().y() - symbolSide / 2, symbolSide, symbolSide);
    painter.drawImage(icon, Symbols::image(symbol, color, icon.size(), devicePixelRatio));
    painter.setPen(color);
    painter.setFont(font);
    painter.drawText(content.adjusted(symbolSide + spacing, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}
