#include "viewer/ActionButton.h"

#include "common/Style.h"
#include "common/Symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>

namespace {

constexpr int sidePadding = 10;
constexpr int glyphSize = 12;
constexpr int glyphGap = 5;

QColor mix(const QColor &from, const QColor &to, double t)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t),
                            float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

}  // namespace

ActionButton::ActionButton(const QString &title, const QString &icon, QWidget *parent)
    : ActionButton(title, icon, Style::viewerAction(), parent)
{
}

ActionButton::ActionButton(const QString &title, const QString &icon, const Style::ActionLook &look, QWidget *parent)
    : QAbstractButton(parent)
    , m_look(look)
    , m_icon(icon)
{
    setText(title);
    setFont(Style::font(look.fontSize, QFont::Medium));
    setFocusPolicy(Qt::TabFocus);  // a click leaves the keyboard focus where it was
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ActionButton::setContent(const QString &title, const QString &icon, std::optional<QColor> tint)
{
    setText(title);
    m_icon = icon;
    m_tint = tint;
    update();
}

QSize ActionButton::sizeHint() const
{
    return {2 * sidePadding + glyphSize + glyphGap + fontMetrics().horizontalAdvance(text()), m_look.height};
}

QSize ActionButton::minimumSizeHint() const
{
    return {10, m_look.height};
}

void ActionButton::setHoverAmount(double amount)
{
    m_hover = amount;
    update();
}

void ActionButton::animateHover(double to)
{
    // Hover eases out over 0.15 s.
    auto *animation = new QPropertyAnimation(this, "hoverAmount", this);
    animation->setDuration(150);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setEndValue(to);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void ActionButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    animateHover(1);
}

void ActionButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    animateHover(0);
}

void ActionButton::paintEvent(QPaintEvent *)
{
    const QColor primary = Style::primary(palette());
    const QColor foreground = m_tint ? *m_tint
                                     : mix(Style::withAlpha(primary, m_look.foregroundOpacity),
                                           Style::withAlpha(primary, m_look.hoverForegroundOpacity), m_hover);
    const double fillOpacity = m_look.fillOpacity + (m_look.hoverFillOpacity - m_look.fillOpacity) * m_hover;
    const QColor fill = m_tint ? Style::withAlpha(*m_tint, m_look.tintFillOpacity)
                               : Style::withAlpha(primary, fillOpacity);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath background;
    background.addRoundedRect(QRectF(rect()), m_look.radius, m_look.radius);
    painter.fillPath(background, fill);

    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int contentWidth = std::min(width() - 2 * sidePadding, glyphSize + glyphGap + textWidth);
    const int left = (width() - contentWidth) / 2;
    const QRect iconRect(left, (height() - glyphSize) / 2, glyphSize, glyphSize);
    painter.drawPixmap(iconRect, Symbols::pixmap(m_icon, foreground, QSizeF(glyphSize, glyphSize), devicePixelRatioF()));
    painter.setPen(foreground);
    painter.setFont(font());
    const QRect textRect(iconRect.right() + 1 + glyphGap, 0, width() - sidePadding - iconRect.right() - glyphGap, height());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
}
