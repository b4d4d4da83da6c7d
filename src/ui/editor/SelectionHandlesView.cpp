#include "editor/SelectionHandlesView.h"

#include "annotation/AnnotationDocument.h"
#include "annotation/AnnotationGeometry.h"
#include "common/Style.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double radius = 6;
constexpr double dragThreshold = 10;
constexpr double stemLength = 30;

bool hasHandles(const Annotation *mark)
{
    return mark && mark->tool != AnnotationTool::text;
}

bool isBox(const Annotation &mark)
{
    return mark.tool != AnnotationTool::arrow && mark.tool != AnnotationTool::text;
}

void paintHandle(QPainter &painter, const QPointF &at, const QColor &accent, bool filled)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));  // a soft shadow
    painter.drawEllipse(at, radius + 1.5, radius + 1.5);
    painter.setBrush(Qt::white);
    painter.drawEllipse(at, radius, radius);
    if (filled) {
        painter.setBrush(accent);
        painter.drawEllipse(at, radius - 2, radius - 2);
    }
    painter.setPen(QPen(accent, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, radius, radius);
}

}  // namespace

SelectionHandlesView::SelectionHandlesView(AnnotationDocument *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(document, &AnnotationDocument::changed, this, qOverload<>(&QWidget::update));
}

void SelectionHandlesView::setImageRect(const QRectF &rect)
{
    m_imageRect = rect;
    update();
}

std::optional<QPointF> SelectionHandlesView::handlePosition(Handle handle) const
{
    const Annotation *mark = m_document->selected();
    if (!hasHandles(mark))
        return std::nullopt;
    const QPointF s = AnnotationGeometry::toView(mark->start, m_imageRect);
    const QPointF e = AnnotationGeometry::toView(mark->end, m_imageRect);
    switch (handle) {
    case Handle::start:
        return s;
    case Handle::topRight:
        return QPointF(e.x(), s.y());
    case Handle::end:
        return e;
    case Handle::bottomLeft:
        return QPointF(s.x(), e.y());
    case Handle::rotation:
        if (!isBox(*mark))
            return std::nullopt;
        // Over the top edge also for a box drawn upwards, whose start is a
        // bottom corner until a move puts its corners in order.
        return QPointF((s.x() + e.x()) / 2, std::min(s.y(), e.y()) - stemLength);
    }
    return std::nullopt;
}

std::optional<SelectionHandlesView::Handle> SelectionHandlesView::handleAt(const QPointF &point) const
{
    // The rotation handle is on top, then the corners in reverse order.
    for (const Handle handle : {Handle::rotation, Handle::bottomLeft, Handle::end, Handle::topRight, Handle::start}) {
        const std::optional<QPointF> at = handlePosition(handle);
        if (at && std::hypot(point.x() - at->x(), point.y() - at->y()) <= radius + 2)
            return handle;
    }
    return std::nullopt;
}

bool SelectionHandlesView::beginDrag(const QPointF &point)
{
    m_handle = handleAt(point);
    m_pressPoint = point;
    m_origins.reset();
    return m_handle.has_value();
}

void SelectionHandlesView::dragTo(const QPointF &point)
{
    if (!m_handle || !m_document->selected())
        return;
    const QPointF translation = point - m_pressPoint;
    if (!m_origins) {
        if (std::hypot(translation.x(), translation.y()) < dragThreshold)
            return;
        const Annotation *mark = m_document->selected();
        Origins origins{mark->start, mark->end, mark->rotation, 0, {}};
        if (*m_handle == Handle::rotation) {
            origins.handlePos = *handlePosition(Handle::rotation);
            const QPointF centre = (AnnotationGeometry::toView(mark->start, m_imageRect)
                                    + AnnotationGeometry::toView(mark->end, m_imageRect))
                / 2;
            origins.anchorAngle = std::atan2(origins.handlePos.y() - centre.y(), origins.handlePos.x() - centre.x());
        }
        m_origins = origins;
    }
    if (*m_handle == Handle::rotation)
        applyRotationDrag(translation);
    else
        applyCornerDrag(translation);
}

void SelectionHandlesView::endDrag()
{
    m_handle.reset();
    m_origins.reset();
}

void SelectionHandlesView::applyCornerDrag(const QPointF &translation)
{
    const std::optional<qsizetype> index = m_document->indexOf(m_document->selectedId());
    if (!index)
        return;
    Annotation mark = m_document->annotations()[*index];
    const double dx = translation.x() / m_imageRect.width();
    const double dy = translation.y() / m_imageRect.height();
    switch (*m_handle) {
    case Handle::start:
        mark.start = m_origins->start + QPointF(dx, dy);
        break;
    case Handle::topRight:
        mark.end.setX(m_origins->end.x() + dx);
        mark.start.setY(m_origins->start.y() + dy);
        break;
    case Handle::end:
        mark.end = m_origins->end + QPointF(dx, dy);
        break;
    case Handle::bottomLeft:
        mark.start.setX(m_origins->start.x() + dx);
        mark.end.setY(m_origins->end.y() + dy);
        break;
    case Handle::rotation:
        break;
    }
    m_document->replace(*index, mark);
}

void SelectionHandlesView::applyRotationDrag(const QPointF &translation)
{
    const std::optional<qsizetype> index = m_document->indexOf(m_document->selectedId());
    if (!index)
        return;
    Annotation mark = m_document->annotations()[*index];
    const QPointF centre =
        (AnnotationGeometry::toView(mark.start, m_imageRect) + AnnotationGeometry::toView(mark.end, m_imageRect)) / 2;
    const QPointF pointer = m_origins->handlePos + translation;
    mark.rotation =
        m_origins->rotation + (std::atan2(pointer.y() - centre.y(), pointer.x() - centre.x()) - m_origins->anchorAngle);
    m_document->replace(*index, mark);
}

void SelectionHandlesView::paintEvent(QPaintEvent *)
{
    const Annotation *mark = m_document->selected();
    if (!hasHandles(mark) || m_imageRect.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = Style::accent(palette());
    if (const std::optional<QPointF> rotation = handlePosition(Handle::rotation)) {
        QPen stem(Style::withAlpha(accent, 0.6), 1, Qt::CustomDashLine, Qt::FlatCap);
        stem.setDashPattern({3, 2});
        painter.setPen(stem);
        painter.drawLine(QPointF(rotation->x(), rotation->y() + stemLength), *rotation);
    }
    for (const Handle handle : {Handle::start, Handle::topRight, Handle::end, Handle::bottomLeft})
        paintHandle(painter, *handlePosition(handle), accent, false);
    if (const std::optional<QPointF> rotation = handlePosition(Handle::rotation))
        paintHandle(painter, *rotation, accent, true);
}
