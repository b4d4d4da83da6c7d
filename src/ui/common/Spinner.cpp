#include "common/Spinner.h"

#include "common/Style.h"

#include <QPainter>

#include <algorithm>

Spinner::Spinner(int diameter, QWidget *parent)
    : QWidget(parent)
    , m_diameter(diameter)
{
    setFixedSize(diameter, diameter);
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 30) % 360;
        update();
    });
}

QSize Spinner::sizeHint() const
{
    return {m_diameter, m_diameter};
}

void Spinner::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer.start();  // turns only while it can be seen
}

void Spinner::hideEvent(QHideEvent *event)
{
    m_timer.stop();
    QWidget::hideEvent(event);
}

void Spinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double width = std::max(1.5, m_diameter / 8.0);
    const QRectF ring = QRectF(rect()).adjusted(width, width, -width, -width);
    painter.setPen(QPen(Style::quaternary(palette()), width));
    painter.drawEllipse(ring);
    painter.setPen(QPen(Style::secondary(palette()), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, -m_angle * 16, 100 * 16);
}
