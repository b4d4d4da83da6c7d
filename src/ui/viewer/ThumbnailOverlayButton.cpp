#include "viewer/ThumbnailOverlayButton.h"

#include "common/Spring.h"
#include "common/Style.h"
#include "common/Symbols.h"

#include <QPainter>

#include <algorithm>

namespace {

QColor mix(const QColor &from, const QColor &to, double t)
{
    const auto lerp = [t](float a, float b) { return a + float(t) * (b - a); };
    return QColor::fromRgbF(lerp(from.redF(), to.redF()), lerp(from.greenF(), to.greenF()),
                            lerp(from.blueF(), to.blueF()), lerp(from.alphaF(), to.alphaF()));
}

}  // namespace

ThumbnailOverlayButton::ThumbnailOverlayButton(const QString &symbol, const QString &help, const QColor &hoverColor,
                                               QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_hoverColor(hoverColor)
{
    setToolTip(help);
    setAccessibleName(help);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
}

QSize ThumbnailOverlayButton::sizeHint() const
{
    return {26, 26};
}

void ThumbnailOverlayButton::setHoverAmount(double amount)
{
    m_hoverAmount = amount;
    update();
}

void ThumbnailOverlayButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    setHovered(true);
}

void ThumbnailOverlayButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    setHovered(false);
}

void ThumbnailOverlayButton::setHovered(bool hovered)
{
    Springs::hover.animate(this, "hoverAmount", hovered ? 1.0 : 0.0);
}

QColor ThumbnailOverlayButton::fillColor() const
{
    const QColor rest = Style::withAlpha(Qt::black, 0.5);
    const QColor hovered = m_hoverColor.alpha() == 0 ? Style::withAlpha(Qt::black, 0.72)
                                                     : Style::withAlpha(m_hoverColor, 0.75);
    // The spring overshoots; colours stay between their two ends.
    return mix(rest, hovered, std::clamp(m_hoverAmount, 0.0, 1.0));
}

void ThumbnailOverlayButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fillColor());
    painter.drawEllipse(QRectF(rect()));
    const QSizeF icon(10, 10);
    const QRectF target(QPointF((width() - icon.width()) / 2, (height() - icon.height()) / 2), icon);
    painter.drawImage(target, Symbols::image(m_symbol, Qt::white, icon, devicePixelRatioF()));
}
