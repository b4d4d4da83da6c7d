#pragma once

#include <QColor>
#include <QTextEdit>

#include <chrono>

// Plain multi-line text typed straight into a text mark: medium font, 8-pixel
// insets, lines wrapping at 600 pixels, a box that grows with the text (at
// least 80 wide and one and a half lines high). It takes the focus shortly
// after it is shown, with the caret at the end. Escape commits; Return adds
// a line; Ctrl+Z and Ctrl+C act on the text.
class InlineTextEditor : public QTextEdit
{
    Q_OBJECT

public:
    explicit InlineTextEditor(const QString &text, double fontSize, const QColor &color, QWidget *parent = nullptr,
                              std::chrono::milliseconds focusDelay = std::chrono::milliseconds(50));

    void restyle(double fontSize, const QColor &color);

Q_SIGNALS:
    void textEdited(const QString &text);
    void commitRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyStyle();
    void fitToText();

    double m_fontSize;
    QColor m_color;
};
