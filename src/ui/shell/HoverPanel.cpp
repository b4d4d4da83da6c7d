#include "shell/HoverPanel.h"

#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QVBoxLayout>

HoverPanel::HoverPanel(QWidget *content, bool translucent)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint)
    , m_translucent(translucent)
{
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    setWindowTitle(tr("Tarnwick Preview"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    const int margin = translucent ? shadowMargin : 0;
    layout->setContentsMargins(margin, margin, margin, margin);
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

void HoverPanel::place(const QRect &frame)
{
    const int margin = m_translucent ? shadowMargin : 0;
    setGeometry(frame.adjusted(-margin, -margin, margin, margin));
}

QRectF HoverPanel::panelRect() const
{
    const int margin = m_translucent ? shadowMargin : 0;
    return QRectF(rect()).adjusted(margin, margin, -margin, -margin);
}

void HoverPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_translucent) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // A soft shadow: rings of falling opacity, a little lower than the panel.
    const QRectF panel = panelRect();
    for (int step = shadowMargin; step > 0; --step) {
        const double fade = 1.0 - double(step) / shadowMargin;
        painter.setBrush(QColor(0, 0, 0, int(7 * fade * fade)));
        painter.drawRoundedRect(panel.adjusted(-step, -step + 3, step, step + 3), cornerRadius + step,
                                cornerRadius + step);
    }
    QColor fill = palette().color(QPalette::Window);
    fill.setAlphaF(0.94);
    painter.setBrush(fill);
    painter.setPen(QPen(palette().color(QPalette::Mid), 0.5));
    painter.drawRoundedRect(panel.adjusted(0.25, 0.25, -0.25, -0.25), cornerRadius, cornerRadius);
}

void HoverPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_translucent)
        return;  // the compositor blends the anti-aliased corners
    // Without a compositor, rounded corners by shape.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}
