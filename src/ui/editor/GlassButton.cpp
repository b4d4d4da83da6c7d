#include "editor/GlassButton.h"

#include "common/Style.h"
#include "common/Symbols.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QTimerEvent>

namespace {

constexpr int glyph = 12;
constexpr int gap = 5;

QFont labelFont()
{
    return Style::font(12, QFont::DemiBold);
}

}  // namespace

GlassButton::GlassButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void GlassButton::setContent(const QString &symbol, const QString &label, const QColor &tint)
{
    m_symbol = symbol;
    m_tint = tint;
    setText(label);
    setFixedSize(sizeHint());
    update();
}

void GlassButton::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    if (busy)
        m_timer = startTimer(16);
    else if (m_timer)
        killTimer(m_timer);
    if (!busy)
        m_timer = 0;
    update();
}

void GlassButton::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer)
        return QAbstractButton::timerEvent(event);  // a keyboard press ends on the button's own timer
    m_angle = (m_angle + 8) % 360;
    update();
}

QSize GlassButton::sizeHint() const
{
    const int textWidth = QFontMetrics(labelFont()).horizontalAdvance(text());
    return {12 + glyph + gap + textWidth + 12, 30};
}

void GlassButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(1, 1, -1, -2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 30));  // the drop shadow
    painter.drawRoundedRect(capsule.translated(0, 1.5), 14, 14);
    painter.setBrush(isEnabled() ? m_tint : Style::withAlpha(m_tint, m_tint.alphaF() * 0.7));
    painter.drawRoundedRect(capsule, 14, 14);
    QLinearGradient sheen(capsule.topLeft(), QPointF(capsule.left(), capsule.center().y()));
    sheen.setColorAt(0, QColor(255, 255, 255, 70));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawRoundedRect(capsule, 14, 14);
    QLinearGradient border(capsule.topLeft(), capsule.bottomRight());
    border.setColorAt(0, QColor(255, 255, 255, 120));
    border.setColorAt(1, QColor(255, 255, 255, 20));
    painter.setPen(QPen(QBrush(border), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(capsule, 14, 14);

    const QRectF icon(12, (capsule.height() - glyph) / 2 + 1, glyph, glyph);
    if (m_busy) {
        painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(icon.adjusted(1, 1, -1, -1), -m_angle * 16, 270 * 16);
    } else {
        painter.drawPixmap(icon.topLeft(), Symbols::pixmap(m_symbol, Qt::white, icon.size(), devicePixelRatioF()));
    }
    painter.setPen(Qt::white);
    painter.setFont(labelFont());
    painter.drawText(QRectF(icon.right() + gap, capsule.top(), width(), capsule.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}
