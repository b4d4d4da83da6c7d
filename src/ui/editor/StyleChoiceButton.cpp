#include "editor/StyleChoiceButton.h"

#include "common/Accessibility.h"
#include "common/Style.h"

#include <QPainter>

StyleChoiceButton::StyleChoiceButton(Kind kind, double value, QWidget *parent)
    : QAbstractButton(parent)
    , m_kind(kind)
    , m_value(value)
{
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setText(QString::number(value));
    setAccessibleName(kind == Kind::lineWidth ? tr("Line width %1").arg(value) : tr("Text size %1").arg(value));
}

QSize StyleChoiceButton::sizeHint() const
{
    return m_kind == Kind::lineWidth ? QSize(34, 28) : QSize(28, 28);
}

void StyleChoiceButton::setActive(bool active)
{
    Accessibility::setChosen(this, active);
    if (m_active == active)
        return;
    m_active = active;
    update();
}

void StyleChoiceButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = Style::primary(palette());
    painter.setPen(Qt::NoPen);
    if (m_active) {
        painter.setBrush(Style::withAlpha(primary, 0.1));
        painter.drawRoundedRect(QRectF(rect()), 6, 6);
    }
    if (m_kind == Kind::lineWidth) {
        const QRectF bar(QRectF(rect()).center().x() - 11, QRectF(rect()).center().y() - m_value / 2, 22, m_value);
        painter.setBrush(m_active ? primary : Style::withAlpha(primary, 0.35));
        painter.drawRoundedRect(bar, m_value / 2, m_value / 2);
        return;
    }
    painter.setFont(Style::font(11, m_active ? QFont::Bold : QFont::Normal));
    painter.setPen(m_active ? primary : Style::withAlpha(primary, 0.45));
    painter.drawText(rect(), Qt::AlignCenter, QString::number(static_cast<int>(m_value)));
}
