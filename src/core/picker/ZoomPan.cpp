#include "picker/ZoomPan.h"

#include "viewer/ImageFit.h"

#include <algorithm>
#include <cmath>

namespace {

double clampZoom(double zoom)
{
    return std::clamp(zoom, ZoomPan::minZoom, ZoomPan::maxZoom);
}

}  // namespace

void ZoomPan::setGeometry(const QSizeF &container, const QSizeF &imageSize)
{
    m_container = container;
    m_base = ImageFit::fittedRect(container, imageSize);
    // A smaller area must not leave the image panned past its new edges.
    m_pan = clampPan(m_pan);
    m_committedPan = clampPan(m_committedPan);
}

QRectF ZoomPan::zoomedImageRect() const
{
    const double w = m_base.width() * m_zoom;
    const double h = m_base.height() * m_zoom;
    const QPointF centre = m_base.center();
    return QRectF(centre.x() - w / 2 + m_pan.x(), centre.y() - h / 2 + m_pan.y(), w, h);
}

QPointF ZoomPan::clampPan(const QPointF &pan) const
{
    if (m_zoom <= minZoom)
        return {};
    const double hw = m_base.width() * m_zoom / 2;
    const double hh = m_base.height() * m_zoom / 2;
    const QPointF centre = m_base.center();
    const double maxX = std::max(0.0, hw - centre.x());
    const double maxY = std::max(0.0, hh - centre.y());
    const double minX = m_container.width() - centre.x() - hw;
    const double minY = m_container.height() - centre.y() - hh;
    // Where the zoomed image is narrower than the area the lower limit is
    // clipped to 0 and the upper one wins: that axis stays centred.
    return QPointF(std::min(maxX, std::max(pan.x(), std::min(minX, 0.0))),
                   std::min(maxY, std::max(pan.y(), std::min(minY, 0.0))));
}

void ZoomPan::panBy(const QPointF &translation)
{
    m_pan = clampPan(m_committedPan + translation);
}

void ZoomPan::commitPan()
{
    m_committedPan = m_pan;
}

void ZoomPan::scroll(double delta)
{
    settleZoom(clampZoom((delta * scrollRate + 1) * m_zoom));
}

void ZoomPan::pinchChanged(double scale)
{
    m_zoom = clampZoom(m_baseZoom * scale);
    m_pan = m_zoom != minZoom ? clampPan(m_committedPan) : QPointF();
}

void ZoomPan::pinchEnded(double scale)
{
    m_baseZoom = clampZoom(m_baseZoom * scale);
    m_zoom = m_baseZoom;
    m_pan = clampPan(m_committedPan);
    m_committedPan = m_pan;
    if (m_zoom == minZoom) {
        m_pan = {};
        m_committedPan = {};
    }
}

void ZoomPan::reset()
{
    m_zoom = m_baseZoom = minZoom;
    m_pan = m_committedPan = {};
}

void ZoomPan::settleZoom(double zoom)
{
    m_zoom = m_baseZoom = zoom;
    if (zoom != minZoom) {
        m_pan = clampPan(m_committedPan);
    } else {
        m_pan = {};
        m_committedPan = {};
    }
}

std::optional<QString> ZoomPan::badgeText(double zoom)
{
    if (zoom <= 1.01)
        return std::nullopt;
    const double fraction = zoom - std::floor(zoom);
    return fraction < 0.05 ? QString::asprintf("%.0f×", zoom) : QString::asprintf("%.1f×", zoom);
}
