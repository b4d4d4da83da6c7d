#include "picker/ZoomBadge.h"

#include "common/Style.h"
#include "picker/ZoomPan.h"

#include <QPainter>

namespace {

QFont badgeFont()
{
    return Style::monospacedDigitsFont(10, QFont::DemiBold);
}

}  // namespace

ZoomBadge::ZoomBadge(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void ZoomBadge::setZoom(double zoom)
{
    const std::optional<QString> text = ZoomPan::badgeText(zoom);
    setVisible(text.has_value());
    if (!text || *text == m_text)
        return;
    m_text = *text;
    const QFontMetrics metrics(badgeFont());
    setFixedSize(metrics.horizontalAdvance(m_text) + 14, metrics.height() + 6);
    place();
    update();
}

void ZoomBadge::place()
{
    if (parentWidget())
        move(parentWidget()->width() - width() - 8, 8);
}

void ZoomBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Style::withAlpha(Qt::black, 0.5));
    painter.drawRoundedRect(QRectF(rect()), height() / 2.0, height() / 2.0);
    painter.setFont(badgeFont());
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}
