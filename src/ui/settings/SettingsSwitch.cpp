#include "settings/SettingsSwitch.h"

#include "common/Style.h"

#include <QPainter>

namespace {
constexpr QSize pill{38, 22};
constexpr int knobInset = 2;
}  // namespace

SettingsSwitch::SettingsSwitch(const QString &accessibleName, QWidget *parent)
    : QCheckBox(parent)
{
    setAccessibleName(accessibleName);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SettingsSwitch::sizeHint() const
{
    return pill;
}

bool SettingsSwitch::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void SettingsSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(QPointF(), QSizeF(pill)).translated((width() - pill.width()) / 2.0,
                                                                     (height() - pill.height()) / 2.0);
    QColor fill = isChecked() ? Style::accent(palette()) : Style::withAlpha(Style::primary(palette()), 0.18);
    if (!isEnabled())
        fill = Style::withAlpha(fill, 0.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const qreal knob = track.height() - 2 * knobInset;
    const qreal x = isChecked() ? track.right() - knobInset - knob : track.left() + knobInset;
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Style::withAlpha(Qt::black, 0.12), 0.5));
    painter.drawEllipse(QRectF(x, track.top() + knobInset, knob, knob));
}
