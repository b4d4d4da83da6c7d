#include "picker/ColorModeSelector.h"

#include "common/Style.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

QFont labelFont(bool selected)
{
    return Style::font(10, selected ? QFont::DemiBold : QFont::Normal);
}

int segmentWidth(ColorMode mode)
{
    // Measured in the bold face so that the strip does not shift on a change.
    return QFontMetrics(labelFont(true)).horizontalAdvance(ColorFormat::label(mode)) + 16;
}

}  // namespace

ColorModeSelector::ColorModeSelector(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

QSize ColorModeSelector::sizeHint() const
{
    int width = 0;
    for (ColorMode mode : ColorFormat::modes())
        width += segmentWidth(mode);
    return QSize(width, QFontMetrics(labelFont(true)).height() + 10);
}

QRect ColorModeSelector::segment(ColorMode mode) const
{
    int left = 0;
    for (ColorMode each : ColorFormat::modes()) {
        if (each == mode)
            return QRect(left, 0, segmentWidth(each), height());
        left += segmentWidth(each);
    }
    return {};
}

void ColorModeSelector::setMode(ColorMode mode)
{
    m_mode = mode;
    update();
}

void ColorModeSelector::mousePressEvent(QMouseEvent *event)
{
    for (ColorMode mode : ColorFormat::modes()) {
        if (segment(mode).contains(event->position().toPoint())) {
            setMode(mode);
            Q_EMIT modeChosen(mode);
        }
    }
}

void ColorModeSelector::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath strip;
    strip.addRoundedRect(QRectF(rect()), 6, 6);
    painter.setClipPath(strip);
    painter.fillRect(rect(), Style::withAlpha(palette().color(QPalette::WindowText), 0.06));
    for (ColorMode mode : ColorFormat::modes()) {
        const bool selected = mode == m_mode;
        const QRect place = segment(mode);
        if (selected)
            painter.fillRect(place, Style::withAlpha(palette().color(QPalette::WindowText), 0.10));
        painter.setFont(labelFont(selected));
        painter.setPen(selected ? Style::primary(palette()) : Style::tertiary(palette()));
        painter.drawText(place, Qt::AlignCenter, ColorFormat::label(mode));
    }
}
