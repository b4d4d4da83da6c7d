#include "editor/EditorToolbar.h"

#include "annotation/AnnotationDocument.h"
#include "common/Style.h"
#include "editor/AnnotationActions.h"
#include "editor/GlassButton.h"
#include "editor/StyleChoiceButton.h"
#include "editor/SwatchButton.h"
#include "editor/SymbolButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace {

QHBoxLayout *row(QWidget *owner, int spacing, int padding)
{
    auto *layout = new QHBoxLayout(owner);
    layout->setContentsMargins(padding, 0, padding, 0);
    layout->setSpacing(spacing);
    return layout;
}

}  // namespace

EditorToolbar::EditorToolbar(AnnotationDocument *document, AnnotationActions *actions, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_actions(actions)
{
    setFixedHeight(44);
    auto *layout = row(this, 0, 0);

    auto *tools = new QWidget(this);
    auto *toolRow = row(tools, 2, 6);
    for (const AnnotationTool tool : AnnotationTools::all) {
        auto *button = new SymbolButton(AnnotationTools::symbolName(tool), AnnotationTools::label(tool), tools);
        connect(button, &QAbstractButton::clicked, document, [document, tool] { document->setActiveTool(tool); });
        toolRow->addWidget(button);
        m_tools.append(button);
    }
    layout->addWidget(tools);
    layout->addWidget(separator());

    auto *colours = new QWidget(this);
    auto *colourRow = row(colours, 7, 6);
    for (const QColor &colour : AnnotationPalette::colors()) {
        auto *swatch = new SwatchButton(colour, colours);
        connect(swatch, &QAbstractButton::clicked, document, [document, colour] { document->setActiveColor(colour); });
        colourRow->addWidget(swatch);
        m_swatches.append(swatch);
    }
    layout->addWidget(colours);

    m_widthGroup = new QWidget(this);
    auto *widthRow = row(m_widthGroup, 6, 0);
    widthRow->addWidget(separator());
    for (const double width : AnnotationPalette::lineWidths) {
        auto *button = new StyleChoiceButton(StyleChoiceButton::Kind::lineWidth, width, m_widthGroup);
        connect(button, &QAbstractButton::clicked, document,
                [document, width] { document->setActiveLineWidth(width); });
        widthRow->addWidget(button);
        m_widths.append(button);
    }
    layout->addWidget(m_widthGroup);

    m_sizeGroup = new QWidget(this);
    auto *sizeRow = row(m_sizeGroup, 4, 0);
    sizeRow->addWidget(separator());
    for (const double size : AnnotationPalette::fontSizes) {
        auto *button = new StyleChoiceButton(StyleChoiceButton::Kind::fontSize, size, m_sizeGroup);
        connect(button, &QAbstractButton::clicked, document, [document, size] { document->setActiveFontSize(size); });
        sizeRow->addWidget(button);
        m_sizes.append(button);
    }
    layout->addWidget(m_sizeGroup);
    layout->addWidget(separator());

    m_toolLabel = new QLabel(this);
    Style::apply(m_toolLabel, Style::font(11), Style::secondary(palette()));
    m_toolLabel->setContentsMargins(0, 0, 4, 0);
    layout->addWidget(m_toolLabel);
    layout->addStretch(1);

    m_undo = new SymbolButton(QStringLiteral("arrow.uturn.backward"), tr("Undo"), this);
    m_clear = new SymbolButton(QStringLiteral("trash"), tr("Clear all"), this);
    for (SymbolButton *button : {m_undo, m_clear}) {
        button->setSecondary(true);
        layout->addWidget(button);
    }
    connect(m_undo, &QAbstractButton::clicked, document, &AnnotationDocument::undo);
    connect(m_clear, &QAbstractButton::clicked, document, &AnnotationDocument::clear);
    layout->addWidget(separator());

    m_copy = new GlassButton(this);
    m_upload = new GlassButton(this);
    layout->addWidget(m_copy);
    layout->addSpacing(6);
    layout->addWidget(m_upload);
    layout->addSpacing(14);
    connect(m_copy, &QAbstractButton::clicked, this, &EditorToolbar::copyRequested);
    connect(m_upload, &QAbstractButton::clicked, this, &EditorToolbar::uploadRequested);

    connect(document, &AnnotationDocument::changed, this, &EditorToolbar::refresh);
    connect(actions, &AnnotationActions::changed, this, &EditorToolbar::refresh);
    refresh();
}

QWidget *EditorToolbar::separator()
{
    auto *holder = new QWidget(this);
    holder->setFixedSize(17, 20);
    auto *line = new QWidget(holder);
    line->setGeometry(8, 0, 1, 20);
    Style::fill(line, [](const QPalette &palette) { return Style::quaternary(palette); });
    return holder;
}

void EditorToolbar::refresh()
{
    const AnnotationTool tool = m_document->activeTool();
    for (qsizetype i = 0; i < m_tools.size(); ++i)
        m_tools[i]->setActive(AnnotationTools::all[static_cast<size_t>(i)] == tool);
    for (SwatchButton *swatch : m_swatches)
        swatch->setActive(swatch->color() == m_document->activeColor());
    for (StyleChoiceButton *button : m_widths)
        button->setActive(button->value() == m_document->activeLineWidth());
    for (StyleChoiceButton *button : m_sizes)
        button->setActive(button->value() == m_document->activeFontSize());
    m_widthGroup->setVisible(tool != AnnotationTool::text);
    m_sizeGroup->setVisible(tool == AnnotationTool::text);
    m_toolLabel->setText(AnnotationTools::label(tool));
    const bool hasMarks = !m_document->annotations().isEmpty();
    m_undo->setVisible(hasMarks);
    m_clear->setVisible(hasMarks);

    const bool copied = m_actions->isCopied();
    m_copy->setContent(copied ? QStringLiteral("checkmark") : QStringLiteral("doc.on.clipboard"),
                       copied ? tr("Copied!") : tr("Copy"),
                       Style::withAlpha(Style::systemGreen(), copied ? 0.9 : 0.75));
    const QString link = m_actions->uploadedLink();
    m_upload->setVisible(m_actions->canUpload());
    m_upload->setBusy(m_actions->isUploading());
    m_upload->setEnabled(!m_actions->isUploading());
    if (m_actions->isUploading())
        m_upload->setContent(QString(), tr("Uploading…"), Style::withAlpha(Style::systemBlue(), 0.6));
    else if (!link.isEmpty())
        m_upload->setContent(QStringLiteral("checkmark.circle.fill"), tr("Uploaded!"),
                             Style::withAlpha(Style::systemGreen(), 0.7));
    else
        m_upload->setContent(QStringLiteral("square.and.arrow.up"), tr("Imgur"),
                             Style::withAlpha(Style::systemBlue(), 0.6));
    m_upload->setToolTip(link.isEmpty() ? tr("Upload to Imgur") : link);
}

void EditorToolbar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}
