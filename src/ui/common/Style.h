#pragma once

#include <QColor>
#include <QFont>

class QAbstractScrollArea;
class QPalette;
class QWidget;

// The shell's shared look: foreground levels drawn from the palette's text
// colour at falling opacity, the signal red, and fonts in pixel sizes so that
// the layout keeps its measures at any font DPI.
namespace Style {

QColor primary(const QPalette &palette);
QColor secondary(const QPalette &palette);
QColor tertiary(const QPalette &palette);
QColor quaternary(const QPalette &palette);
QColor withAlpha(QColor color, double alpha);
QColor systemRed();
// The signal colours the viewer shares: success green, link blue, the colour
// picker's teal, the busy orange; and the palette's accent.
QColor systemGreen();
QColor systemBlue();
QColor systemTeal();
QColor systemOrange();
QColor accent(const QPalette &palette);

QFont font(double pixelSize, QFont::Weight weight = QFont::Normal);
QFont monospacedDigitsFont(double pixelSize, QFont::Weight weight = QFont::Normal);

// Sets a label-like widget's font and text colour in one go.
void apply(QWidget *widget, const QFont &font, const QColor &color);

// A slim vertical scroll bar without arrows, its handle in the palette's text
// colour, so scrolling panes match the flat controls around them.
void slimScrollBar(QAbstractScrollArea *area);

}  // namespace Style
