#include "editor/SymbolButton.h"

#include "common/Accessibility.h"
#include "common/Style.h"
#include "common/Symbols.h"

#include <QPainter>

SymbolButton::SymbolButton(const QString &symbol, const QString &tooltip, QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
{
    setToolTip(tooltip);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

void SymbolButton::setActive(bool active)
{
    Accessibility::setChosen(this, active);
    if (m_active == active)
        return;
    m_active = active;
    update();
}

void SymbolButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SymbolButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SymbolButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = Style::accent(palette());
    const QColor primary = Style::primary(palette());
    QColor ground = Qt::transparent;
    if (m_active)
        ground = Style::withAlpha(accent, 0.15);
    else if (m_hovered)
        ground = Style::withAlpha(primary, 0.07);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawRoundedRect(QRectF(rect()), 6, 6);
    const QColor ink = m_active ? accent : m_secondary ? Style::secondary(palette()) : Style::withAlpha(primary, 0.75);
    const QSizeF glyph(15, 15);
    const QPointF at((width() - glyph.width()) / 2, (height() - glyph.height()) / 2);
    painter.drawPixmap(at, Symbols::pixmap(m_symbol, ink, glyph, devicePixelRatioF()));
}
