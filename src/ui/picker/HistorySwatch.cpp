#include "picker/HistorySwatch.h"

#include "common/Accessibility.h"
#include "common/Style.h"

#include <QPainter>

namespace {

constexpr double disc = 26;
constexpr int margin = 3;  // the coloured shadow's room; two of these make the row's spacing

}  // namespace

HistorySwatch::HistorySwatch(const QColor &color, bool current, QWidget *parent)
    : QAbstractButton(parent)
    , m_color(color)
    , m_current(current)
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(int(disc) + 2 * margin, int(disc) + 2 * margin);
    setAccessibleName(Accessibility::colourName(color));
    Accessibility::setChosen(this, current);
}

void HistorySwatch::setCurrent(bool current)
{
    Accessibility::setChosen(this, current);
    m_current = current;
    update();
}

void HistorySwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(margin, margin, disc, disc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Style::withAlpha(m_color, 0.55 / 3));
    for (double grow : {1.0, 2.0, 3.0})
        painter.drawEllipse(circle.adjusted(-grow, -grow + 1, grow, grow + 1));
    painter.setBrush(m_color);
    if (m_current)
        painter.setPen(QPen(Qt::white, 2));
    else
        painter.setPen(QPen(Style::withAlpha(palette().color(QPalette::WindowText), 0.15), 1));
    const double inset = painter.pen().widthF() / 2;
    painter.drawEllipse(circle.adjusted(inset, inset, -inset, -inset));
}
