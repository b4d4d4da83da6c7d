#pragma once

#include "common/DeviceImage.h"
#include "editor/InlineTextEditor.h"

#include "annotation/Annotation.h"

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class AnnotationDocument;
class QVariantAnimation;
class SelectionHandlesView;

// The screenshot fitted into the space (enlarged or reduced, centred) with
// every mark drawn over it. A drag on empty image draws a mark with the
// active tool (at least 1 % of the image on one axis); a drag that starts on
// a mark moves it once past 3 pixels; a click with the text tool places a
// text, a click on a text opens it. While a text is edited the image takes
// no drags and a click beside the editor commits it.
class AnnotationCanvas : public QWidget
{
    Q_OBJECT

public:
    AnnotationCanvas(const QImage &image, AnnotationDocument *document, QWidget *parent = nullptr);

    // Where the image is shown, in this widget.
    QRectF displayImgRect() const { return m_imageRect; }
    SelectionHandlesView *handles() const { return m_handles; }
    InlineTextEditor *textEditor() const { return m_editor; }
    void commitTextEditing();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void fadeOut(const Annotation &mark);
    void beginDrag(const QPointF &point);
    void continueDrag(const QPointF &point);
    void endDrag(const QPointF &point);
    void syncTextEditor();
    void updateCursor(const QPointF &point);
    QPointF normalized(const QPointF &point) const;
    // Every mark drawn once per change of the marks or of the size, so that
    // the frames of a drawing drag only add the preview.
    const QImage &marksLayer();

    QImage m_image;
    DeviceImage m_shown;  // the image at its displayed size in device pixels
    QImage m_marks;  // null: to be redrawn
    Annotation m_fading;  // a deleted mark, fading out
    QPointer<QVariantAnimation> m_fade;
    AnnotationDocument *m_document;
    SelectionHandlesView *m_handles;
    QPointer<InlineTextEditor> m_editor;
    QRectF m_imageRect;

    bool m_isDragging = false;
    bool m_isImplicitMove = false;
    QPointF m_pressPoint;  // view pixels
    QPointF m_dragStart;   // normalised
    QPointF m_dragCurrent;
    QPointF m_moveOriginStart;
    QPointF m_moveOriginEnd;
    QPointF m_moveDragAnchor;
};
