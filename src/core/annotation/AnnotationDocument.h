#pragma once

#include "annotation/Annotation.h"

#include <QObject>

#include <optional>

// The editor's state: the marks in drawing order, the toolbar's choices, the
// selection and the text being edited. Every change emits changed().
// Removing the mark being edited (undo, clear, delete) also ends its editing,
// so the canvas never waits on a mark that is gone.
class AnnotationDocument : public QObject
{
    Q_OBJECT

public:
    explicit AnnotationDocument(QObject *parent = nullptr);

    const AnnotationList &annotations() const { return m_annotations; }
    AnnotationList &mutableAnnotations() { return m_annotations; }  // call notify() after editing
    std::optional<qsizetype> indexOf(const QUuid &id) const;
    const Annotation *find(const QUuid &id) const;
    void append(const Annotation &annotation);
    void replace(qsizetype index, const Annotation &annotation);
    void notify();

    void undo();
    void clear();
    // Removes the selected mark and clears the selection; nothing without one.
    void deleteSelected();

    AnnotationTool activeTool() const { return m_tool; }
    void setActiveTool(AnnotationTool tool);
    QColor activeColor() const { return m_color; }
    // Also recolours the selected mark.
    void setActiveColor(const QColor &color);
    double activeLineWidth() const { return m_lineWidth; }
    // Also applies to the selected mark.
    void setActiveLineWidth(double width);
    double activeFontSize() const { return m_fontSize; }
    // Also resizes the selected mark when it is a text.
    void setActiveFontSize(double size);

    QUuid selectedId() const { return m_selected; }
    const Annotation *selected() const { return find(m_selected); }
    // Selecting a mark shows its colour and width as the active ones.
    void setSelectedId(const QUuid &id);
    QUuid editingTextId() const { return m_editing; }
    const Annotation *editingText() const { return find(m_editing); }
    void setEditingTextId(const QUuid &id);
    void setText(const QUuid &id, const QString &text);
    // Ends editing; a text left blank is removed and the selection cleared.
    void commitTextEditing();

Q_SIGNALS:
    void changed();
    // The selected mark was deleted (the canvas lets it fade out).
    void markDeleted(const Annotation &mark);

private:
    void endEditingIfGone();

    AnnotationList m_annotations;
    AnnotationTool m_tool = AnnotationTool::arrow;
    QColor m_color;
    double m_lineWidth = AnnotationPalette::defaultLineWidth;
    double m_fontSize = AnnotationPalette::defaultFontSize;
    QUuid m_selected;
    QUuid m_editing;
};
