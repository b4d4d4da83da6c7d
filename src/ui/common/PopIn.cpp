#include "common/PopIn.h"

#include <QPainter>
#include <QVariantAnimation>
#include <QWidget>

#include <algorithm>

PopIn::PopIn(QWidget *widget, double fromScale, Spring spring)
    : QObject(widget)
    , m_widget(widget)
    , m_fromScale(fromScale)
    , m_spring(spring)
{
    widget->hide();
}

void PopIn::setShown(bool shown, bool animated)
{
    m_shown = shown;
    if (!animated) {
        delete m_animation;
        setAmount(shown ? 1 : 0);
        m_widget->setVisible(shown);
        return;
    }
    if (shown)
        m_widget->show();
    m_animation = m_spring.animate(this, "amount", shown ? 1.0 : 0.0);
    connect(m_animation, &QVariantAnimation::finished, this, [this] {
        if (!m_shown && m_widget)
            m_widget->hide();
    });
}

void PopIn::setAmount(double amount)
{
    m_amount = amount;
    if (m_widget)
        m_widget->update();
}

void PopIn::apply(QPainter &painter, const QRectF &around) const
{
    painter.setOpacity(painter.opacity() * std::clamp(m_amount, 0.0, 1.0));
    const double scale = m_fromScale + (1 - m_fromScale) * m_amount;
    painter.translate(around.center());
    painter.scale(scale, scale);
    painter.translate(-around.center());
}
