#pragma once

#include <QPointF>
#include <QRectF>
#include <QUuid>
#include <QWidget>

#include <optional>

class AnnotationDocument;

// The resize handles at the four corners of the selected mark's unrotated
// box (or an arrow's bounding box) and, for boxes, the rotation handle on a
// dashed stem 30 pixels above the top edge. It paints only: the canvas hands
// it the pointer presses that land on a handle. A drag does nothing until it
// has gone 10 pixels; then every change is measured from where the drag
// began, so two drags accumulate.
class SelectionHandlesView : public QWidget
{
    Q_OBJECT

public:
    enum class Handle { start, topRight, end, bottomLeft, rotation };

    SelectionHandlesView(AnnotationDocument *document, QWidget *parent = nullptr);

    // The image rectangle inside this view; the view covers the canvas.
    void setImageRect(const QRectF &rect);
    // The handle under a point, for the selected mark when it gets handles.
    std::optional<Handle> handleAt(const QPointF &point) const;
    std::optional<QPointF> handlePosition(Handle handle) const;

    bool beginDrag(const QPointF &point);
    void dragTo(const QPointF &point);
    void endDrag();
    bool isDragging() const { return m_handle.has_value(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Origins {
        QPointF start;
        QPointF end;
        double rotation = 0;
        double anchorAngle = 0;
        QPointF handlePos;
    };

    void applyCornerDrag(const QPointF &translation);
    void applyRotationDrag(const QPointF &translation);

    AnnotationDocument *m_document;
    QRectF m_imageRect;
    std::optional<Handle> m_handle;
    QPointF m_pressPoint;
    std::optional<Origins> m_origins;  // captured once the drag passes the threshold
};
