#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

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

// Whether the palette draws light text on a dark window.
bool isDark(const QPalette &palette);
// The dark palette the app sets itself when the desktop asks for dark but
// the platform hands out a light one; it keeps light's accent.
QPalette darkPalette(const QPalette &light);

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

// Sets a label-like widget's font and text colour in one go. A colour that
// is a shade of the widget's text colour stays that shade when the palette
// changes, light to dark and back.
void apply(QWidget *widget, const QFont &font, const QColor &color);

// Runs refresh now, and again whenever the palette widget inherits changes
// (the desktop went dark or light): for colours worked out from the palette
// and set on widget, in its palette, style sheet or a drawn symbol, which
// would otherwise keep the scheme they were made in. A later call with the
// same what replaces this one; one without a refresh ends it.
void followPalette(QWidget *widget, const QString &what, std::function<void()> refresh);
// Calls paint with color now. Where color is one of the shades of the text
// colour above, paint is called again with that shade of the new text colour
// whenever it changes.
void followTone(QWidget *widget, const QString &what, const QColor &color, std::function<void(const QColor &)> paint);

// Fills widget with a shade worked out from the palette it inherits, kept
// in step with that palette.
void fill(QWidget *widget, std::function<QColor(const QPalette &inherited)> shade);

// Gives widget the style sheet sheet makes, and makes it again whenever the
// palette around it changes: a widget with a style sheet keeps the palette
// it had when the sheet was set.
void styleSheet(QWidget *widget, std::function<QString()> sheet);

// A slim vertical scroll bar without arrows, its handle in the palette's text
// colour, so scrolling panes match the flat controls around them.
void slimScrollBar(QAbstractScrollArea *area);

}  // namespace Style
