#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

// Where the picker draws its image: fitted into the area, scaled by the zoom
// about the fitted centre, shifted by the pan. Pan offsets are in view points
// (x for the width, y for the height) and are kept so that a zoomed image
// never shows a gap at an edge it could cover.
class ZoomPan
{
public:
    static constexpr double minZoom = 1.0;
    static constexpr double maxZoom = 12.0;
    // Zoom factor per scroll point.
    static constexpr double scrollRate = 0.04;
    // One wheel notch in scroll points; also the keyboard's step.
    static constexpr double notch = 3.0;
    // Above this, pixels are drawn as crisp blocks.
    static constexpr double smoothUpTo = 3.0;

    // The area's size and the image's; an empty image size fills the area.
    void setGeometry(const QSizeF &container, const QSizeF &imageSize);

    double zoom() const { return m_zoom; }
    double baseZoom() const { return m_baseZoom; }
    QPointF panOffset() const { return m_pan; }
    QPointF committedPan() const { return m_committedPan; }
    QRectF baseRect() const { return m_base; }
    QRectF zoomedImageRect() const;
    bool isZoomed() const { return m_zoom > minZoom; }
    bool isNearestNeighbour() const { return m_zoom > smoothUpTo; }

    QPointF clampPan(const QPointF &pan) const;

    // A pan drag: the offset follows the committed pan plus the translation.
    void panBy(const QPointF &translation);
    void commitPan();
    // Scroll points: positive zooms in.
    void scroll(double delta);
    // scale: the pinch's total magnification since it began.
    void pinchChanged(double scale);
    void pinchEnded(double scale);
    void reset();

    // "3×", "2.5×", none at 1.01 and below.
    static std::optional<QString> badgeText(double zoom);

private:
    void settleZoom(double zoom);

    QSizeF m_container;
    QRectF m_base;
    double m_zoom = minZoom;
    double m_baseZoom = minZoom;
    QPointF m_pan;
    QPointF m_committedPan;
};
