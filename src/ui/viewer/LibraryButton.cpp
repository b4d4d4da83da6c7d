#include "viewer/LibraryButton.h"

#include "common/Spring.h"
#include "common/Style.h"
#include "common/Symbols.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int glyphSize = 10;
constexpr int gap = 4;
constexpr int padX = 8;
constexpr int padY = 4;
constexpr double grownScale = 1.04;

}  // namespace

LibraryButton::LibraryButton(QWidget *parent)
    : QPushButton(tr("Library"), parent)
{
    setFont(Style::font(11, QFont::DemiBold));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize LibraryButton::sizeHint() const
{
    const QSize content(glyphSize + gap + fontMetrics().horizontalAdvance(text()), fontMetrics().height());
    // Room for the hover growth, so it is never clipped.
    return QSize(qCeil((content.width() + 2 * padX) * grownScale), qCeil((content.height() + 2 * padY) * grownScale));
}

void LibraryButton::setHoverAmount(double amount)
{
    m_hover = amount;
    update();
}

void LibraryButton::enterEvent(QEnterEvent *event)
{
    QPushButton::enterEvent(event);
    Springs::hover.animate(this, "hoverAmount", 1.0);
}

void LibraryButton::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    Springs::hover.animate(this, "hoverAmount", 0.0);
}

void LibraryButton::paintEvent(QPaintEvent *)
{
    const double t = std::clamp(m_hover, 0.0, 1.0);
    const QColor primary = Style::primary(palette());
    const QColor secondary = Style::secondary(palette());
    const QColor foreground = t > 0.5 ? primary : secondary;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const double scale = 1.0 + (grownScale - 1.0) * m_hover;  // the spring may overshoot
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-centre);

    const QSizeF body((sizeHint().width()) / grownScale, sizeHint().height() / grownScale);
    const QRectF bodyRect(centre.x() - body.width() / 2, centre.y() - body.height() / 2, body.width(), body.height());
    QPainterPath background;
    background.addRoundedRect(bodyRect, 6, 6);
    painter.fillPath(background, Style::withAlpha(primary, 0.05 + 0.05 * t));

    const QRectF iconRect(bodyRect.left() + padX, centre.y() - glyphSize / 2.0, glyphSize, glyphSize);
    painter.drawPixmap(iconRect.toRect(),
                       Symbols::pixmap(QStringLiteral("photo.stack"), foreground, QSizeF(glyphSize, glyphSize),
                                       devicePixelRatioF()));
    painter.setPen(foreground);
    painter.setFont(font());
    painter.drawText(QRectF(iconRect.right() + gap, bodyRect.top(), bodyRect.right() - padX - iconRect.right() - gap + 1,
                            bodyRect.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text());
}
