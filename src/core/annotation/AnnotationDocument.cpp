#include "annotation/AnnotationDocument.h"

AnnotationDocument::AnnotationDocument(QObject *parent)
    : QObject(parent)
    , m_color(AnnotationPalette::colors().first())
{
}

std::optional<qsizetype> AnnotationDocument::indexOf(const QUuid &id) const
{
    if (id.isNull())
        return std::nullopt;
    for (qsizetype i = 0; i < m_annotations.size(); ++i) {
        if (m_annotations[i].id == id)
            return i;
    }
    return std::nullopt;
}

const Annotation *AnnotationDocument::find(const QUuid &id) const
{
    const std::optional<qsizetype> index = indexOf(id);
    return index ? &m_annotations[*index] : nullptr;
}

void AnnotationDocument::append(const Annotation &annotation)
{
    m_annotations.append(annotation);
    notify();
}

void AnnotationDocument::replace(qsizetype index, const Annotation &annotation)
{
    if (index < 0 || index >= m_annotations.size() || m_annotations[index] == annotation)
        return;
    m_annotations[index] = annotation;
    notify();
}

void AnnotationDocument::notify()
{
    Q_EMIT changed();
}

void AnnotationDocument::undo()
{
    if (m_annotations.isEmpty())
        return;
    m_annotations.removeLast();
    endEditingIfGone();
    notify();
}

void AnnotationDocument::clear()
{
    if (m_annotations.isEmpty())
        return;
    m_annotations.clear();
    endEditingIfGone();
    notify();
}

void AnnotationDocument::deleteSelected()
{
    const std::optional<qsizetype> index = indexOf(m_selected);
    if (!index)
        return;
    const Annotation removed = m_annotations.takeAt(*index);
    m_selected = QUuid();
    endEditingIfGone();
    notify();
    Q_EMIT markDeleted(removed);
}

void AnnotationDocument::endEditingIfGone()
{
    if (!m_editing.isNull() && !indexOf(m_editing))
        m_editing = QUuid();
}

void AnnotationDocument::setActiveTool(AnnotationTool tool)
{
    if (m_tool == tool)
        return;
    m_tool = tool;
    notify();
}

void AnnotationDocument::setActiveColor(const QColor &color)
{
    m_color = color;
    if (const std::optional<qsizetype> index = indexOf(m_selected))
        m_annotations[*index].color = color;
    notify();
}

void AnnotationDocument::setActiveLineWidth(double width)
{
    m_lineWidth = width;
    if (const std::optional<qsizetype> index = indexOf(m_selected))
        m_annotations[*index].lineWidth = width;
    notify();
}

void AnnotationDocument::setActiveFontSize(double size)
{
    m_fontSize = size;
    const std::optional<qsizetype> index = indexOf(m_selected);
    if (index && m_annotations[*index].tool == AnnotationTool::text)
        m_annotations[*index].fontSize = size;
    notify();
}

void AnnotationDocument::setSelectedId(const QUuid &id)
{
    if (m_selected == id)
        return;
    m_selected = id;
    if (const Annotation *mark = find(id)) {
        m_color = mark->color;
        m_lineWidth = mark->lineWidth;
    }
    notify();
}

void AnnotationDocument::setEditingTextId(const QUuid &id)
{
    if (m_editing == id)
        return;
    m_editing = id;
    notify();
}

void AnnotationDocument::setText(const QUuid &id, const QString &text)
{
    const std::optional<qsizetype> index = indexOf(id);
    if (!index || m_annotations[*index].text == text)
        return;
    m_annotations[*index].text = text;
    notify();
}

void AnnotationDocument::commitTextEditing()
{
    if (m_editing.isNull())
        return;
    const std::optional<qsizetype> index = indexOf(m_editing);
    if (index && m_annotations[*index].text.trimmed().isEmpty()) {
        m_annotations.removeAt(*index);
        m_selected = QUuid();
    }
    m_editing = QUuid();
    notify();
}
