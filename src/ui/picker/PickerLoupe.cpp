#include "picker/PickerLoupe.h"

#include "common/Spring.h"
#include "common/Style.h"
#include "picker/ColorFormat.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr double swatch = 46;
constexpr double spacing = 5;
constexpr double labelHeight = 17;  // 10-pixel text with 2.5 above and below
constexpr QSize widgetSize(100, 96);  // room for the shadows around the stack

QRectF swatchRect()
{
    const double stackTop = (widgetSize.height() - (swatch + spacing + labelHeight)) / 2;
    return QRectF((widgetSize.width() - swatch) / 2, stackTop, swatch, swatch);
}

// A soft round shadow: the colour at opacity at the swatch's edge, fading
// over radius.
void drawShadow(QPainter &painter, const QRectF &disc, const QColor &color, double opacity, double radius,
                double dy)
{
    const QPointF centre = disc.center() + QPointF(0, dy);
    const double outer = disc.width() / 2 + radius;
    QRadialGradient gradient(centre, outer);
    gradient.setColorAt(0, Style::withAlpha(color, opacity));
    gradient.setColorAt(disc.width() / 2 / outer, Style::withAlpha(color, opacity));
    gradient.setColorAt(1, Style::withAlpha(color, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, outer, outer);
}

}  // namespace

PickerLoupe::PickerLoupe(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(widgetSize);
    hide();
}

void PickerLoupe::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_label = ColorFormat::colorString(color, ColorMode::hex);
    update();
}

void PickerLoupe::follow(const QPointF &pointer)
{
    const QPointF stackCentre(widgetSize.width() / 2.0, swatchRect().top() + (swatch + spacing + labelHeight) / 2);
    const QPoint to = (pointer + offset - stackCentre).toPoint();
    if (isVisible())
        Spring{0.1, 0.86}.animate(this, "pos", to);
    else {
        Spring::stop(this, "pos");
        move(to);
    }
}

void PickerLoupe::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = swatchRect();
    drawShadow(painter, disc, m_color, 0.6, 8, 3);
    drawShadow(painter, disc, Qt::black, 0.25, 3, 1);

    painter.setBrush(m_color);
    painter.drawEllipse(disc);
    QLinearGradient gloss(disc.topLeft(), QPointF(disc.left(), disc.center().y()));
    gloss.setColorAt(0, Style::withAlpha(Qt::white, 0.55));
    gloss.setColorAt(1, Style::withAlpha(Qt::white, 0));
    painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.setBrush(gloss);
    painter.drawEllipse(disc);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    QRadialGradient dot(disc.topLeft() + QPointF(15, 13), 6);
    dot.setColorAt(0, Style::withAlpha(Qt::white, 0.45));
    dot.setColorAt(1, Style::withAlpha(Qt::white, 0));
    painter.setBrush(dot);
    painter.drawEllipse(dot.center(), 6, 6);

    QLinearGradient rim(disc.topLeft(), disc.bottomRight());
    rim.setColorAt(0, Style::withAlpha(Qt::white, 0.85));
    rim.setColorAt(1, Style::withAlpha(Qt::white, 0.15));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(rim), 1.5));
    painter.drawEllipse(disc.adjusted(0.75, 0.75, -0.75, -0.75));

    const QFont font = Style::monospacedDigitsFont(10, QFont::DemiBold);
    const double textWidth = QFontMetricsF(font).horizontalAdvance(m_label);
    const QRectF capsule(disc.center().x() - textWidth / 2 - 6, disc.bottom() + spacing, textWidth + 12, labelHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Style::withAlpha(Qt::black, 0.55));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(capsule, Qt::AlignCenter, m_label);
}
