#pragma once

#include "picker/PickerImage.h"
#include "picker/PointerGesture.h"
#include "picker/ZoomPan.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QWidget>

#include <optional>

class PickerLoupe;
class ZoomBadge;

// The picker's image with its zoom and pan, and every pointer input over it:
// hover shows the loupe, a click picks, a double click resets the zoom, a
// drag pans a zoomed image or previews colours, the wheel and a pinch zoom.
// Reads pixels from the decoded image only; draws it from a copy scaled to
// the shown size, so neither a hover nor a repaint rescales the full image.
class PickerImageArea : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QRectF shownRect READ shownRect WRITE setShownRect)
public:
    explicit PickerImageArea(QWidget *parent = nullptr);

    void setImage(const PickerImage &image);
    bool hasImage() const { return !m_image.isNull(); }
    const ZoomPan &zoomPan() const { return m_zoomPan; }
    PointerGesture::Mode dragMode() const { return m_gesture.mode(); }
    std::optional<QPointF> hoverLocation() const { return m_hoverAt; }
    std::optional<QColor> hoverColor() const { return m_hoverColor; }
    PickerLoupe *loupe() const { return m_loupe; }
    ZoomBadge *badge() const { return m_badge; }
    // Where the image is drawn: the zoomed rectangle, or on the way to it
    // after a wheel step or a reset. Samples are always taken against the
    // zoomed rectangle itself.
    QRectF shownRect() const { return m_shown.value_or(m_zoomPan.zoomedImageRect()); }
    void setShownRect(const QRectF &rect);
    bool isMoving() const { return m_shown.has_value(); }

    // Scroll points, as the wheel gives them: positive zooms in.
    void scrollZoom(double delta);
    void resetZoom();
    // The scroll points of one wheel event.
    static double wheelDelta(const QPoint &pixelDelta, const QPoint &angleDelta);

Q_SIGNALS:
    void picked(const QColor &color);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    std::optional<QColor> sampleAt(const QPointF &point) const;
    void hoverAt(const QPointF &point);
    void setHover(std::optional<QPointF> at, std::optional<QColor> color);
    // from: where the image was drawn before the change; it moves from
    // there unless the change follows the pointer directly.
    void zoomChanged(std::optional<QRectF> from = std::nullopt, bool reset = false);
    void stopMotion();
    void updateGeometryRule();
    void drawImage(QPainter &painter);

    PickerImage m_image;
    ZoomPan m_zoomPan;
    PointerGesture m_gesture;
    std::optional<QPointF> m_pressAt;
    std::optional<double> m_pinchScale;  // magnification since the pinch began
    std::optional<QPointF> m_hoverAt;
    std::optional<QColor> m_hoverColor;
    std::optional<QRectF> m_shown;  // while moving to the zoomed rectangle
    // The image at the zoomed rectangle's size in device pixels, while that
    // is smaller than the image; rebuilt when the zoom or the area changes.
    QImage m_scaled;
    PickerLoupe *m_loupe;
    ZoomBadge *m_badge;
};
