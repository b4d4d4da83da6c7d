#pragma once

#include <QList>
#include <QWidget>

class AnnotationActions;
class AnnotationDocument;
class GlassButton;
class QLabel;
class StyleChoiceButton;
class SwatchButton;
class SymbolButton;

// The editor's 44-pixel row: tools, colours, line widths (font sizes for
// the text tool), the tool's name, undo and clear while there are marks,
// then Copy and Imgur. It follows the document: selecting a mark shows its
// colour and width, and a choice made here restyles the selected mark.
class EditorToolbar : public QWidget
{
    Q_OBJECT

public:
    EditorToolbar(AnnotationDocument *document, AnnotationActions *actions, QWidget *parent = nullptr);

    const QList<SymbolButton *> &toolButtons() const { return m_tools; }
    const QList<SwatchButton *> &swatches() const { return m_swatches; }
    const QList<StyleChoiceButton *> &lineWidthButtons() const { return m_widths; }
    const QList<StyleChoiceButton *> &fontSizeButtons() const { return m_sizes; }
    SymbolButton *undoButton() const { return m_undo; }
    SymbolButton *clearButton() const { return m_clear; }
    GlassButton *copyButton() const { return m_copy; }
    GlassButton *uploadButton() const { return m_upload; }

Q_SIGNALS:
    void copyRequested();
    void uploadRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    QWidget *separator();

    AnnotationDocument *m_document;
    AnnotationActions *m_actions;
    QList<SymbolButton *> m_tools;
    QList<SwatchButton *> m_swatches;
    QList<StyleChoiceButton *> m_widths;
    QList<StyleChoiceButton *> m_sizes;
    QWidget *m_widthGroup = nullptr;
    QWidget *m_sizeGroup = nullptr;
    QLabel *m_toolLabel = nullptr;
    SymbolButton *m_undo = nullptr;
    SymbolButton *m_clear = nullptr;
    GlassButton *m_copy = nullptr;
    GlassButton *m_upload = nullptr;
};
