#include "picker/ColorModeSelector.h"

#include "common/Accessibility.h"
#include "common/Style.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

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
    setAccessibleName(tr("Color Format"));
    setFocusPolicy(Qt::TabFocus);
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
    Accessibility::stateChanged(this);
}

QList<AccessibleControl::Part> ColorModeSelector::accessibleParts() const
{
    QList<Part> parts;
    for (ColorMode mode : ColorFormat::modes())
        parts.append({ColorFormat::label(mode), segment(mode), mode == m_mode});
    return parts;
}

void ColorModeSelector::pressAccessiblePart(int index)
{
    const ColorMode mode = ColorFormat::modes().value(index, m_mode);
    setMode(mode);
    Q_EMIT modeChosen(mode);
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

void ColorModeSelector::keyPressEvent(QKeyEvent *event)
{
    // Space and Return move on round the modes, the arrows one way or the other.
    const QList<ColorMode> modes = ColorFormat::modes();
    const int at = int(modes.indexOf(m_mode));
    int to = at;
    switch (event->key()) {
    case Qt::Key_Left:
        to = std::max(0, at - 1);
        break;
    case Qt::Key_Right:
        to = std::min(int(modes.size()) - 1, at + 1);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        to = (at + 1) % int(modes.size());
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    if (to != at) {
        setMode(modes.at(to));
        Q_EMIT modeChosen(m_mode);
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
