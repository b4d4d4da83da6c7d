#include "editor/SwatchButton.h"

#include "common/Accessibility.h"
#include "common/Style.h"

#include <QPainter>

SwatchButton::SwatchButton(const QColor &color, QWidget *parent)
    : QAbstractButton(parent)
    , m_color(color)
{
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(Accessibility::colourName(color));
}

void SwatchButton::setActive(bool active)
{
    Accessibility::setChosen(this, active);
    if (m_active == active)
        return;
    m_active = active;
    update();
}

void SwatchButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    painter.setPen(QPen(Style::withAlpha(Style::primary(palette()), 0.15), 0.5));  // keeps white visible
    painter.setBrush(m_color);
    painter.drawEllipse(centre, 8, 8);
    if (m_active) {
        painter.setPen(QPen(Style::withAlpha(Style::primary(palette()), 0.8), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, 10, 10);  // the 2-pixel ring inside 22 pixels
    }
}
