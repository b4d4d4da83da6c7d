#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

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

// The looks of the buttons the popover and the library share: one behaviour,
// each place with its own measures and shades. Opacities apply to the
// primary colour unless named for the tint.
struct ActionLook {
    double fontSize;
    int height;
    double radius;
    double foregroundOpacity;
    double hoverForegroundOpacity;
    double fillOpacity;
    double hoverFillOpacity;
    double tintFillOpacity;
};
ActionLook viewerAction();
ActionLook libraryTile();

struct UploadLook {
    int height;
    double radius;
    int spacing;
    double fontSize;
    QFont::Weight weight;
    double iconSize;
    int spinnerDiameter;
    double uploadedFillOpacity;
    bool accentFill;  // at rest on the palette's accent rather than blue
    QString uploadingText;
};
UploadLook viewerUpload();
UploadLook libraryUpload();

QFont font(double pixelSize, QFont::Weight weight = QFont::Normal);
QFont monospacedDigitsFont(double pixelSize, QFont::Weight weight = QFont::Normal);

// Rich text of the parts joined by "·", the dots in their own colour; the
// parts are escaped, so they are never read as markup.
QString dotSeparated(const QStringList &parts, const QColor &dotColor);

// Sets a label-like widget's font and text colour in one go.
void apply(QWidget *widget, const QFont &font, const QColor &color);

// A slim vertical scroll bar without arrows, its handle in the palette's text
// colour, so scrolling panes match the flat controls around them.
void slimScrollBar(QAbstractScrollArea *area);

}  // namespace Style
