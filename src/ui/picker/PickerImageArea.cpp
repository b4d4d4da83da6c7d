#include "picker/PickerImageArea.h"

#include "common/DeviceImage.h"
#include "common/Spring.h"
#include "picker/ColorSampler.h"
#include "picker/PickerLoupe.h"
#include "picker/ZoomBadge.h"

#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QVariantAnimation>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr Spring zoomStep{0.18, 0.8};
constexpr Spring zoomReset{0.35, 0.75};

// The part of target (where the whole image would be drawn) that lies in
// visible, widened to whole image pixels, with the matching source pixels.
std::pair<QRectF, QRectF> visiblePart(const QRectF &target, const QSize &imageSize, const QRectF &visible)
{
    const QRectF shown = target.intersected(visible);
    const double sx = imageSize.width() / target.width();
    const double sy = imageSize.height() / target.height();
    const double left = std::max(0.0, std::floor((shown.left() - target.left()) * sx));
    const double top = std::max(0.0, std::floor((shown.top() - target.top()) * sy));
    const double right = std::min(double(imageSize.width()), std::ceil((shown.right() - target.left()) * sx));
    const double bottom = std::min(double(imageSize.height()), std::ceil((shown.bottom() - target.top()) * sy));
    const QRectF source(left, top, right - left, bottom - top);
    const QRectF destination(target.left() + left / sx, target.top() + top / sy, source.width() / sx,
                             source.height() / sy);
    return {destination, source};
}

}  // namespace

PickerImageArea::PickerImageArea(QWidget *parent)
    : QWidget(parent)
    , m_loupe(new PickerLoupe(this))
    , m_badge(new ZoomBadge(this))
{
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PickerImageArea::setImage(const PickerImage &image)
{
    m_image = image;
    m_scaled = {};
    updateGeometryRule();
    update();
}

double PickerImageArea::wheelDelta(const QPoint &pixelDelta, const QPoint &angleDelta)
{
    // Touchpads report precise points; a wheel notch (120 eighths of a
    // degree) counts as three lines.
    if (!pixelDelta.isNull())
        return pixelDelta.y();
    return angleDelta.y() / 120.0 * ZoomPan::notch;
}

void PickerImageArea::scrollZoom(double delta)
{
    if (!hasImage())
        return;
    const QRectF from = shownRect();
    m_zoomPan.scroll(delta);
    zoomChanged(from);
}

void PickerImageArea::resetZoom()
{
    const QRectF from = shownRect();
    m_zoomPan.reset();
    zoomChanged(from, true);
}

void PickerImageArea::setShownRect(const QRectF &rect)
{
    m_shown = rect;
    update();
}

void PickerImageArea::stopMotion()
{
    Spring::stop(this, "shownRect");
    m_shown.reset();
}

std::optional<QColor> PickerImageArea::sampleAt(const QPointF &point) const
{
    return ColorSampler::sample(point, m_zoomPan.zoomedImageRect(), m_image.pixels());
}

void PickerImageArea::setHover(std::optional<QPointF> at, std::optional<QColor> color)
{
    m_hoverAt = at;
    m_hoverColor = color;
    const bool shown = at && color && m_gesture.mode() != PointerGesture::Mode::panning;
    if (shown) {
        m_loupe->setColor(*color);
        m_loupe->follow(*at);
    }
    m_loupe->setVisible(shown);
}

void PickerImageArea::hoverAt(const QPointF &point)
{
    setHover(point, sampleAt(point));
}

void PickerImageArea::zoomChanged(std::optional<QRectF> from, bool reset)
{
    stopMotion();
    if (from && *from != m_zoomPan.zoomedImageRect()) {
        m_shown = *from;
        QVariantAnimation *motion = (reset ? zoomReset : zoomStep).animate(this, "shownRect", m_zoomPan.zoomedImageRect());
        connect(motion, &QVariantAnimation::finished, this, [this] {
            m_shown.reset();
            update();
        });
    }
    m_badge->setZoom(m_zoomPan.zoom());
    // The pixel under a resting pointer changes with the zoom.
    if (m_hoverAt && m_gesture.mode() != PointerGesture::Mode::panning)
        hoverAt(*m_hoverAt);
    update();
}

void PickerImageArea::updateGeometryRule()
{
    stopMotion();
    m_zoomPan.setGeometry(size(), m_image.size());
    m_badge->place();
}

bool PickerImageArea::event(QEvent *event)
{
    if (event->type() != QEvent::NativeGesture || !hasImage())
        return QWidget::event(event);
    const auto *gesture = static_cast<QNativeGestureEvent *>(event);
    switch (gesture->gestureType()) {
    case Qt::ZoomNativeGesture:
        // Each event carries the change since the previous one.
        m_pinchScale = m_pinchScale.value_or(1.0) * (1.0 + gesture->value());
        m_zoomPan.pinchChanged(*m_pinchScale);
        zoomChanged();
        break;
    case Qt::EndNativeGesture:
        if (m_pinchScale) {
            m_zoomPan.pinchEnded(*m_pinchScale);
            m_pinchScale.reset();
            zoomChanged();
        }
        break;
    default:
        break;
    }
    event->accept();
    return true;
}

void PickerImageArea::mousePressEvent(QMouseEvent *event)
{
    if (!hasImage() || event->button() != Qt::LeftButton)
        return;
    m_pressAt = event->position();
}

void PickerImageArea::mouseMoveEvent(QMouseEvent *event)
{
    if (!hasImage())
        return;
    const QPointF at = event->position();
    if (!m_pressAt) {
        if (m_gesture.mode() != PointerGesture::Mode::panning)
            hoverAt(at);
        return;
    }
    const QPointF translation = at - *m_pressAt;
    switch (m_gesture.move(translation, m_zoomPan.isZoomed())) {
    case PointerGesture::Mode::panning:
        setCursor(Qt::ClosedHandCursor);
        stopMotion();
        m_zoomPan.panBy(translation);
        setHover(std::nullopt, std::nullopt);
        update();
        break;
    case PointerGesture::Mode::picking:
        hoverAt(at);
        break;
    case PointerGesture::Mode::idle:
        break;
    }
}

void PickerImageArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressAt || event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position();
    const QPointF translation = at - *m_pressAt;
    m_pressAt.reset();
    switch (m_gesture.release(translation, event->timestamp(), m_zoomPan.isZoomed())) {
    case PointerGesture::Release::endPan:
        m_zoomPan.commitPan();
        break;
    case PointerGesture::Release::resetZoom:
        resetZoom();
        break;
    case PointerGesture::Release::pick:
        if (const std::optional<QColor> color = sampleAt(at))
            Q_EMIT picked(*color);
        break;
    case PointerGesture::Release::nothing:
        break;
    }
    // The loupe comes back with the next movement.
    setHover(m_hoverAt, std::nullopt);
    setCursor(Qt::CrossCursor);
}

void PickerImageArea::leaveEvent(QEvent *)
{
    if (!m_pressAt)
        setHover(std::nullopt, std::nullopt);
}

void PickerImageArea::wheelEvent(QWheelEvent *event)
{
    event->accept();
    scrollZoom(wheelDelta(event->pixelDelta(), event->angleDelta()));
}

void PickerImageArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateGeometryRule();
}

void PickerImageArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRegion background(rect());
    // An opaque image covers its part of the area: only the rest is filled.
    if (m_image.isOpaque())
        background -= m_zoomPan.zoomedImageRect().toAlignedRect().adjusted(1, 1, -1, -1);
    painter.setClipRegion(background);
    painter.fillRect(rect(), QColor(0, 0, 0, 8));  // black at 3 %
    painter.setClipping(false);
    if (hasImage())
        drawImage(painter);
}

void PickerImageArea::drawImage(QPainter &painter)
{
    const QRectF target = shownRect();
    const qreal ratio = devicePixelRatioF();
    const QRect snapped = DeviceImage::snapped(target, ratio);
    const QSize device = snapped.size();
    const QImage &pixels = m_image.pixels();
    // Decided from the drawn size, so that a moving image turns crisp as it grows.
    const bool nearest = target.width() > m_zoomPan.baseRect().width() * ZoomPan::smoothUpTo;
    if (!nearest && device.width() < pixels.width() && device.height() < pixels.height()) {
        if (m_shown && !m_scaled.isNull()) {
            // On the way: the copy at hand, stretched, instead of a new one per frame.
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, m_scaled);
            return;
        }
        if (m_scaled.size() != device || m_scaled.devicePixelRatio() != ratio) {
            m_scaled = m_image.scaled(device);
            m_scaled.setDevicePixelRatio(ratio);
        }
        painter.drawImage(QPointF(snapped.topLeft()) / ratio, m_scaled);  // on whole device pixels
        return;
    }
    // Enlarged: only the pixels that reach the area are transformed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !nearest);
    const auto [destination, source] = visiblePart(target, pixels.size(), rect());
    if (!source.isEmpty())
        painter.drawImage(destination, pixels, source);
}
