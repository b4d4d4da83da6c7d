#include "shell/HoverPanel.h"

#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QVBoxLayout>

HoverPanel::HoverPanel(QWidget *content)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint)
{
    setWindowTitle(QStringLiteral("Tarnwick Preview"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    content->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void HoverPanel::fadeIn(std::chrono::milliseconds duration)
{
    setWindowOpacity(0.0);
    show();
    raise();
    animateOpacity(1.0, duration);
}

void HoverPanel::fadeOut(std::chrono::milliseconds duration)
{
    if (m_fadingOut)
        return;
    m_fadingOut = true;
    animateOpacity(0.0, duration);
    connect(m_animation, &QPropertyAnimation::finished, this, [this] {
        hide();
        deleteLater();
    });
}

void HoverPanel::animateOpacity(double to, std::chrono::milliseconds duration)
{
    if (m_animation)
        m_animation->stop();
    else
        m_animation = new QPropertyAnimation(this, "windowOpacity", this);
    m_animation->disconnect(this);
    m_animation->setDuration(int(duration.count()));
    m_animation->setStartValue(windowOpacity());
    m_animation->setEndValue(to);
    m_animation->start();
}

void HoverPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

void HoverPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Rounded corners by shape, which works with or without a compositor.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}
