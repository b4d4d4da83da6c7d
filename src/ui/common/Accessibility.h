#pragma once

#include <QString>

class QColor;
class QWidget;
struct ScreenshotItem;

// What screen readers learn about this program's windows beyond what Qt's
// own widgets tell them, reached over AT-SPI like any other toolkit's.
namespace Accessibility {

// Makes the popover and other popup windows part of the application's
// accessible tree and gives the self-painted controls their names, roles,
// states and actions. Call once, right after the application object exists.
void install();

// "Screenshot from Today 10:00, 2880 × 1800": how a picture of item is described.
QString pictureDescription(const ScreenshotItem &item);

// The name a colour swatch is read with.
QString colourName(const QColor &colour);

// Marks a button that is one of a set as the chosen one or not (the active
// tool, colour or width): screen readers read it as a checked radio button.
void setChosen(QWidget *button, bool chosen);

// Tells screen readers that widget's state (or that of the controls it
// paints) changed, e.g. which segment is selected.
void stateChanged(QWidget *widget);

}  // namespace Accessibility
