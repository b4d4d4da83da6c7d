#include "viewer/AnnotateButton.h"

#include "common/Shadow.h"
#include "common/Spring.h"
#include "common/Style.h"
#include "common/Symbols.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

QString title()
{
    return AnnotateButton::tr("Annotate");
}
constexpr double symbolSide = 10;
constexpr double spacing = 4;
constexpr double padX = 9;
constexpr double padY = 5;

QFont titleFont()
{
    return Style::font(10, QFont::Bold);
}

double lerp(double a, double b, double t)
{
    return a + t * (b - a);
}

}  // namespace

AnnotateButton::AnnotateButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setText(title());
    setAccessibleName(title());
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
}

QColor AnnotateButton::purple()
{
    return QColor::fromRgbF(0.45f, 0.28f, 1.0f);
}

QColor AnnotateButton::pink()
{
    return QColor::fromRgbF(0.85f, 0.25f, 0.75f);
}

QMargins AnnotateButton::shadowMargins()
{
    // The hovered glow (radius 10, 4 down) and the hovered growth.
    return {12, 10, 12, 16};
}

QSizeF AnnotateButton::capsuleSize() const
{
    const QFontMetricsF metrics(titleFont());
    return {std::ceil(padX + symbolSide + spacing + metrics.horizontalAdvance(title()) + padX),
            std::ceil(padY + std::max(symbolSide, metrics.height()) + padY)};
}

QSize AnnotateButton::sizeHint() const
{
    const QMargins m = shadowMargins();
    return capsuleSize().toSize().grownBy(m);
}

QRectF AnnotateButton::capsuleRect() const
{
    return QRectF(QPointF(shadowMargins().left(), shadowMargins().top()), capsuleSize());
}

bool AnnotateButton::hitButton(const QPoint &pos) const
{
    return capsuleRect().contains(pos);
}

void AnnotateButton::setHoverAmount(double amount)
{
    m_hoverAmount = amount;
    update();
}

void AnnotateButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    Springs::hover.animate(this, "hoverAmount", 1.0);
}

void AnnotateButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    Springs::hover.animate(this, "hoverAmount", 0.0);
}

void AnnotateButton::paintEvent(QPaintEvent *)
{
    const double t = m_hoverAmount;
    const QRectF capsule = capsuleRect();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = 1 + 0.06 * t;
    painter.translate(capsule.center());
    painter.scale(scale, scale);
    painter.translate(-capsule.center());

    QPainterPath shape;
    shape.addRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    const double glowAlpha = std::clamp(lerp(0.45, 0.75, t), 0.0, 1.0);
    Shadow::draw(painter, shape, Style::withAlpha(purple(), glowAlpha), std::max(lerp(6, 10, t), 1.0),
                 QPointF(0, lerp(3, 4, t)));

    QLinearGradient gradient(capsule.topLeft(), capsule.topRight());
    gradient.setColorAt(0, purple());
    gradient.setColorAt(1, pink());
    painter.fillPath(shape, gradient);

    const QRectF content = capsule.adjusted(padX, padY, -padX, -padY);
    const QRectF icon(content.left(), content.center().y() - symbolSide / 2, symbolSide, symbolSide);
    painter.drawImage(icon, Symbols::image(QStringLiteral("pencil.and.outline"), Qt::white, icon.size(),
                                           devicePixelRatioF()));
    painter.setPen(Qt::white);
    painter.setFont(titleFont());
    painter.drawText(content.adjusted(symbolSide + spacing, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title());

    if (t > 0) {
        // Brightening adds the same amount to every channel.
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.fillPath(shape, Style::withAlpha(Qt::white, std::min(0.08 * t, 0.08)));
    }
}
