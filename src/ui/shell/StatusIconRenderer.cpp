#include "shell/StatusIconRenderer.h"

#include "common/Style.h"
#include "common/Symbols.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Positions in a 22 × 22 canvas with the origin at the top left: an 8-pixel
// disc in the lower right corner and a 6-pixel dot inside it, leaving a
// 1-pixel ring.
constexpr QRectF glyphRect(2, 2, 18, 18);
constexpr QRectF ringRect(14, 14, 8, 8);
constexpr QRectF dotRect(15, 15, 6, 6);
constexpr double ringOpacity = 0.85;

}  // namespace

StatusIconRenderer::Colors StatusIconRenderer::colorsFor(const PanelShade::Colors &panel)
{
    return {panel.glyph, panel.background, Style::systemRed()};
}

QImage StatusIconRenderer::render(int unreadCount, bool isPending, const Colors &colors, qreal devicePixelRatio)
{
    QImage canvas(QSize(size, size) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    canvas.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawImage(glyphRect, Symbols::image(QStringLiteral("camera.on.rectangle"), colors.glyph,
                                                glyphRect.size(), devicePixelRatio));
    if (!showsDot(unreadCount, isPending))
        return canvas;
    painter.setPen(Qt::NoPen);
    painter.setOpacity(ringOpacity);
    painter.setBrush(colors.ring);
    painter.drawEllipse(ringRect);
    painter.setOpacity(1.0);
    painter.setBrush(colors.dot);
    painter.drawEllipse(dotRect);
    return canvas;
}

QIcon StatusIconRenderer::icon(int unreadCount, bool isPending, const Colors &colors)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0})
        icon.addPixmap(QPixmap::fromImage(render(unreadCount, isPending, colors, ratio)));
    return icon;
}
