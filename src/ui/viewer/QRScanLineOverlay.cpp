#include "viewer/QRScanLineOverlay.h"

#include "common/Spring.h"
#include "common/Style.h"
#include "viewer/ImageFit.h"
#include "viewer/ThumbnailFrame.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPauseAnimation>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>

#include <algorithm>

namespace {

constexpr double glowHeight = 70;
constexpr double lineHeight = 2.5;

QRScanLineOverlay::Timings &sharedTimings()
{
    static QRScanLineOverlay::Timings timings;
    return timings;
}

QVariantAnimation *makeAnimation(QWidget *owner, int ms, const QEasingCurve &curve, double from, double to)
{
    auto *animation = new QVariantAnimation(owner);
    animation->setDuration(std::max(ms, 0));
    animation->setEasingCurve(curve);
    animation->setStartValue(from);
    animation->setEndValue(to);
    QObject::connect(animation, &QVariantAnimation::valueChanged, owner, qOverload<>(&QWidget::update));
    return animation;
}

// The standard ease-out: fast at first, settling gently.
QEasingCurve easeOut()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

double valueOf(const QVariantAnimation *animation)
{
    return animation->currentValue().toDouble();
}

}  // namespace

void QRScanLineOverlay::setTimings(const Timings &timings)
{
    sharedTimings() = timings;
}

QRScanLineOverlay::QRScanLineOverlay(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const Timings t = sharedTimings();
    const Spring reveal = Springs::reveal;
    m_progress = makeAnimation(this, t.sweepMs, QEasingCurve::Linear, 0, 1);
    m_opacity = makeAnimation(this, t.fadeMs, easeOut(), 1, 0);
    m_reveal = makeAnimation(this, t.revealMs < 0 ? reveal.durationMs() : t.revealMs, reveal.easingCurve(), 0, 1);
    m_fade = new QSequentialAnimationGroup(this);
    m_fade->addPause(std::max(t.fadeDelayMs, 0));
    m_fade->addAnimation(m_opacity);
    hide();
}

void QRScanLineOverlay::play(const QList<QRectF> &boxes, const QSizeF &imageSize)
{
    m_boxes = boxes;
    m_imageSize = imageSize;
    m_revealed = QList<bool>(boxes.size(), false);
    layoutBoxes();
    m_progress->stop();
    m_fade->stop();
    m_reveal->stop();
    m_opacity->setCurrentTime(0);
    m_reveal->setCurrentTime(0);
    show();
    m_progress->start();
    m_fade->start();
    // The sweep's end is set at once, so every box shows as the line starts.
    revealUpTo(1.0);
    update();
}

void QRScanLineOverlay::stop()
{
    m_progress->stop();
    m_fade->stop();
    m_reveal->stop();
    m_boxes.clear();
    m_highlights.clear();
    m_revealed.clear();
    hide();
}

void QRScanLineOverlay::revealUpTo(double progress)
{
    bool any = false;
    for (qsizetype i = 0; i < m_boxes.size(); ++i) {
        if (!m_revealed[i] && m_boxes[i].center().y() <= progress) {
            m_revealed[i] = true;
            any = true;
        }
    }
    if (any) {
        m_reveal->stop();
        m_reveal->start();
    }
}

QRectF QRScanLineOverlay::fitted() const
{
    return ImageFit::fittedRect(size(), m_imageSize);
}

void QRScanLineOverlay::layoutBoxes()
{
    m_highlights.clear();
    const QRectF fit = fitted();
    for (const QRectF &box : std::as_const(m_boxes))
        m_highlights.append(QRHighlightBox(ImageFit::boxInFrame(box, fit)));
    m_lineGlow = {};
}

void QRScanLineOverlay::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutBoxes();
}

void QRScanLineOverlay::paintSweep(QPainter &painter, const QRectF &fit)
{
    const double opacity = valueOf(m_opacity);
    if (opacity <= 0)
        return;
    const QColor green = Style::systemGreen();
    const double top = fit.top() + valueOf(m_progress) * fit.height() - glowHeight;
    painter.save();
    painter.setOpacity(opacity);
    const QRectF glow(fit.left(), top, fit.width(), glowHeight);
    QLinearGradient fade(glow.topLeft(), glow.bottomLeft());
    fade.setColorAt(0, Style::withAlpha(green, 0));
    fade.setColorAt(1, Style::withAlpha(green, 0.4));
    painter.fillRect(glow, fade);

    const QRectF line(fit.left(), glow.bottom(), fit.width(), lineHeight);
    if (m_lineGlow.image.isNull()) {
        QPainterPath shape;
        shape.addRect(QRectF(QPointF(0, 0), line.size()));
        m_lineGlow = Shadow::render(shape, green, 6, devicePixelRatioF());
    }
    Shadow::draw(painter, m_lineGlow, line.topLeft());
    QLinearGradient across(line.topLeft(), line.topRight());
    across.setColorAt(0, Style::withAlpha(green, 0));
    across.setColorAt(0.25, Style::withAlpha(green, 0.85));
    across.setColorAt(0.5, green);
    across.setColorAt(0.75, Style::withAlpha(green, 0.85));
    across.setColorAt(1, Style::withAlpha(green, 0));
    painter.fillRect(line, across);
    painter.restore();
}

void QRScanLineOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(ThumbnailFrame::clipPath(size()));
    paintSweep(painter, fitted());
    const double reveal = valueOf(m_reveal);
    for (qsizetype i = 0; i < m_highlights.size(); ++i) {
        if (!m_revealed.value(i))
            continue;
        painter.save();
        painter.setOpacity(std::clamp(reveal, 0.0, 1.0));
        const QPointF centre = m_highlights[i].rect().center();
        const double scale = 0.85 + 0.15 * reveal;
        painter.translate(centre);
        painter.scale(scale, scale);
        painter.translate(-centre);
        m_highlights[i].paint(painter, devicePixelRatioF());
        painter.restore();
    }
}
