#include "editor/AnnotationCanvas.h"

#include "annotation/AnnotationDocument.h"
#include "annotation/AnnotationGeometry.h"
#include "annotation/AnnotationPainter.h"
#include "common/Style.h"
#include "editor/InlineTextEditor.h"
#include "editor/SelectionHandlesView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace {

constexpr double moveThreshold = 3;   // a click on a mark does not nudge it
constexpr double clickThreshold = 4;  // a release nearer than this opens a text
constexpr double minimumShare = 0.01;

double length(const QPointF &v)
{
    return std::hypot(v.x(), v.y());
}

}  // namespace

AnnotationCanvas::AnnotationCanvas(const QImage &image, AnnotationDocument *document, QWidget *parent)
    : QWidget(parent)
    , m_image(image)
    , m_document(document)
    , m_handles(new SelectionHandlesView(document, this))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    connect(document, &AnnotationDocument::changed, this, [this] {
        m_marks = QImage();
        syncTextEditor();
        update();
    });
    connect(document, &AnnotationDocument::markDeleted, this, &AnnotationCanvas::fadeOut);
}

void AnnotationCanvas::fadeOut(const Annotation &mark)
{
    if (m_fade)
        m_fade->stop();
    m_fading = mark;
    auto *fade = new QVariantAnimation(this);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    fade->setDuration(200);
    fade->setEasingCurve(QEasingCurve::OutCubic);
    connect(fade, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(fade, &QAbstractAnimation::finished, this, qOverload<>(&QWidget::update));
    m_fade = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

QPointF AnnotationCanvas::normalized(const QPointF &point) const
{
    return AnnotationGeometry::toNormalized(point, m_imageRect);
}

void AnnotationCanvas::resizeEvent(QResizeEvent *)
{
    m_imageRect = AnnotationGeometry::fittedRect(QSizeF(size()), QSizeF(m_image.size()));
    m_handles->setGeometry(rect());
    m_handles->setImageRect(m_imageRect);
    m_marks = QImage();
    syncTextEditor();
}

const QImage &AnnotationCanvas::marksLayer()
{
    const qreal ratio = devicePixelRatioF();
    if (!m_marks.isNull() && m_marks.devicePixelRatio() == ratio)  // a move to another screen redraws
        return m_marks;
    m_marks = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    m_marks.setDevicePixelRatio(ratio);
    m_marks.fill(Qt::transparent);
    QPainter painter(&m_marks);
    painter.setClipRect(m_imageRect);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Annotation &mark : m_document->annotations())
        AnnotationPainter::draw(painter, mark, m_imageRect);
    return m_marks;
}

void AnnotationCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_shown.draw(painter, m_imageRect, m_image);
    if (!m_document->annotations().isEmpty())
        painter.drawImage(QPointF(), marksLayer());
    painter.setClipRect(m_imageRect);
    painter.setRenderHint(QPainter::Antialiasing);
    if (const Annotation *selected = m_document->selected())
        AnnotationPainter::drawSelection(painter, *selected, m_imageRect, Style::accent(palette()));
    if (m_fade) {
        painter.setOpacity(m_fade->currentValue().toDouble());
        AnnotationPainter::draw(painter, m_fading, m_imageRect);
        painter.setOpacity(1);
    }
    if (m_isDragging && !m_isImplicitMove && m_document->activeTool() != AnnotationTool::text) {
        Annotation preview;
        preview.tool = m_document->activeTool();
        preview.start = m_dragStart;
        preview.end = m_dragCurrent;
        preview.color = m_document->activeColor();
        preview.lineWidth = m_document->activeLineWidth();
        AnnotationPainter::draw(painter, preview, m_imageRect);
    }
}

void AnnotationCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPointF point = event->position();
    if (event->button() != Qt::LeftButton)
        return;
    // Handles may stand out over the border around the image.
    if (m_document->editingTextId().isNull() && m_handles->beginDrag(point))
        return;
    if (!m_imageRect.contains(point))
        return;
    if (!m_document->editingTextId().isNull()) {
        commitTextEditing();  // a click beside the editor
        return;
    }
    beginDrag(point);
}

void AnnotationCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF point = event->position();
    updateCursor(point);
    if (m_handles->isDragging())
        m_handles->dragTo(point);
    else if (m_isDragging)
        continueDrag(point);
}

void AnnotationCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_handles->isDragging())
        m_handles->endDrag();
    else if (m_isDragging)
        endDrag(event->position());
}

void AnnotationCanvas::focusInEvent(QFocusEvent *event)
{
    // Until the text is committed the keys are its own, even after a click
    // on the border around the image.
    if (m_editor)
        m_editor->setFocus(event->reason());
    QWidget::focusInEvent(event);
}

void AnnotationCanvas::beginDrag(const QPointF &point)
{
    const QPointF p = normalized(point);
    m_pressPoint = point;
    m_dragStart = p;
    m_dragCurrent = p;
    m_isDragging = true;
    const std::optional<qsizetype> hit = AnnotationGeometry::hitTest(m_document->annotations(), p, m_imageRect);
    m_isImplicitMove = hit.has_value();
    if (!hit) {
        m_document->setSelectedId(QUuid());
        update();
        return;
    }
    AnnotationGeometry::normalizeAnnotation(m_document->mutableAnnotations(), *hit);
    const Annotation &mark = m_document->annotations()[*hit];
    m_moveOriginStart = mark.start;
    m_moveOriginEnd = mark.end;
    m_moveDragAnchor = p;
    m_document->setSelectedId(mark.id);
    m_document->notify();
}

void AnnotationCanvas::continueDrag(const QPointF &point)
{
    if (!m_isImplicitMove) {
        m_dragCurrent = normalized(point);
        update();
        return;
    }
    const std::optional<qsizetype> index = m_document->indexOf(m_document->selectedId());
    if (!index || length(point - m_pressPoint) <= moveThreshold)
        return;
    const QPointF d = normalized(point) - m_moveDragAnchor;
    Annotation mark = m_document->annotations()[*index];
    mark.start = m_moveOriginStart + d;
    mark.end = mark.tool == AnnotationTool::text ? mark.start : m_moveOriginEnd + d;
    m_document->replace(*index, mark);
}

void AnnotationCanvas::endDrag(const QPointF &point)
{
    m_isDragging = false;
    if (m_isImplicitMove) {
        m_isImplicitMove = false;
        const Annotation *mark = m_document->selected();
        if (length(point - m_pressPoint) < clickThreshold && mark && mark->tool == AnnotationTool::text)
            m_document->setEditingTextId(mark->id);
        update();
        return;
    }
    Annotation created;
    created.tool = m_document->activeTool();
    created.color = m_document->activeColor();
    created.lineWidth = m_document->activeLineWidth();
    created.start = m_dragStart;
    if (created.tool == AnnotationTool::text) {
        created.end = m_dragStart;
        created.fontSize = m_document->activeFontSize();
        m_document->append(created);
        m_document->setSelectedId(created.id);
        m_document->setEditingTextId(created.id);
        return;
    }
    created.end = normalized(point);
    created.fontSize = AnnotationPalette::shapeFontSize;
    if (std::abs(created.end.x() - created.start.x()) > minimumShare
        || std::abs(created.end.y() - created.start.y()) > minimumShare) {
        m_document->append(created);
        m_document->setSelectedId(created.id);
    }
    update();
}

void AnnotationCanvas::commitTextEditing()
{
    m_document->commitTextEditing();
}

void AnnotationCanvas::syncTextEditor()
{
    const Annotation *editing = m_document->editingText();
    if (!editing) {
        if (m_editor) {
            // Possibly from within the editor's own key handling: deleted later.
            const bool hadFocus = m_editor->hasFocus();
            m_editor->hide();
            m_editor->deleteLater();
            m_editor = nullptr;
            if (hadFocus)
                setFocus(Qt::OtherFocusReason);
        }
        m_handles->setVisible(true);
        return;
    }
    if (!m_editor) {
        m_editor = new InlineTextEditor(editing->text, editing->fontSize, editing->color, this);
        const QUuid id = editing->id;
        connect(m_editor, &InlineTextEditor::textEdited, this, [this, id](const QString &text) {
            m_document->setText(id, text);
        });
        connect(m_editor, &InlineTextEditor::commitRequested, this, &AnnotationCanvas::commitTextEditing);
        m_editor->show();
    } else {
        m_editor->restyle(editing->fontSize, editing->color);
    }
    // The editor's text sits exactly where the committed text is drawn.
    const QPointF at = AnnotationGeometry::toView(editing->start, m_imageRect)
        - QPointF(AnnotationGeometry::textInset, AnnotationGeometry::textInset);
    m_editor->move(at.toPoint());
}

void AnnotationCanvas::updateCursor(const QPointF &point)
{
    if (const std::optional<SelectionHandlesView::Handle> handle = m_handles->handleAt(point)) {
        setCursor(*handle == SelectionHandlesView::Handle::rotation ? Qt::OpenHandCursor : Qt::CrossCursor);
    } else if (m_imageRect.contains(point) && m_document->editingTextId().isNull()) {
        setCursor(m_document->activeTool() == AnnotationTool::text ? Qt::IBeamCursor : Qt::CrossCursor);
    } else {
        unsetCursor();
    }
}
