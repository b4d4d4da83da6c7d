#include "editor/InlineTextEditor.h"

#include "annotation/AnnotationGeometry.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <cmath>

InlineTextEditor::InlineTextEditor(const QString &text, double fontSize, const QColor &color, QWidget *parent,
                                   std::chrono::milliseconds focusDelay)
    : QTextEdit(parent)
    , m_fontSize(fontSize)
    , m_color(color)
{
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(static_cast<int>(AnnotationGeometry::textWrapWidth + 2 * AnnotationGeometry::textInset));
    setWordWrapMode(AnnotationGeometry::textWrapMode);
    document()->setDocumentMargin(AnnotationGeometry::textInset);
    setPlainText(text);
    applyStyle();
    connect(this, &QTextEdit::textChanged, this, [this] {
        fitToText();
        Q_EMIT textEdited(toPlainText());
    });
    QTimer::singleShot(focusDelay, this, [this] {
        if (window()->isVisible())
            setFocus(Qt::OtherFocusReason);
        moveCursor(QTextCursor::End);
    });
}

void InlineTextEditor::restyle(double fontSize, const QColor &color)
{
    if (fontSize == m_fontSize && color == m_color)
        return;
    m_fontSize = fontSize;
    m_color = color;
    applyStyle();
}

void InlineTextEditor::applyStyle()
{
    // The whole text takes the style; the string itself is left alone.
    const QColor color = m_color;
    const QSignalBlocker quiet(this);
    setFont(AnnotationGeometry::textFont(m_fontSize));
    document()->setDefaultFont(font());
    QPalette colours = palette();
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
    setTextColor(color);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setForeground(color);
    format.setFont(font());
    all.mergeCharFormat(format);
    fitToText();
}

void InlineTextEditor::fitToText()
{
    // Wide as the wrapped text (as the marks are measured), high as the
    // editor's own layout, which counts a line just begun with Return.
    const QString text = toPlainText();
    const QSizeF used = AnnotationGeometry::textSize(text.isEmpty() ? QStringLiteral(" ") : text, m_fontSize);
    const double inset = 2 * AnnotationGeometry::textInset;
    const double width = std::max(used.width() + inset, 80.0);
    const double height = std::max(document()->size().height(), m_fontSize * 1.5 + inset);
    const int widest = static_cast<int>(AnnotationGeometry::textWrapWidth + inset);
    resize(std::min(static_cast<int>(std::ceil(width)) + 1, widest), static_cast<int>(std::ceil(height)));
}

void InlineTextEditor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT commitRequested();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}
