#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QUuid>

#include <array>

// The kinds of mark, in toolbar order.
enum class AnnotationTool { arrow, rectangle, circle, highlight, text };

namespace AnnotationTools {

inline constexpr std::array<AnnotationTool, 5> all{AnnotationTool::arrow, AnnotationTool::rectangle,
                                                    AnnotationTool::circle, AnnotationTool::highlight,
                                                    AnnotationTool::text};
QString label(AnnotationTool tool);
// The toolbar's symbol name for the tool.
QString symbolName(AnnotationTool tool);

}  // namespace AnnotationTools

// One mark over a screenshot. Points are fractions of the displayed image
// (0,0 top-left, 1,1 bottom-right, y down) and may lie outside 0..1, so marks
// survive any resizing. A text's start is its top-left corner and its end
// equals its start; an arrow runs from start (tail) to end (tip); boxes span
// start and end. A positive rotation (radians, about the midpoint of start
// and end) turns the mark clockwise on screen.
struct Annotation {
    QUuid id = QUuid::createUuid();
    AnnotationTool tool = AnnotationTool::arrow;
    QPointF start;
    QPointF end;
    QColor color;
    double lineWidth = 2.5;  // display pixels, scaled on export
    QString text;
    double fontSize = 18;  // display pixels
    double rotation = 0;

    bool operator==(const Annotation &) const = default;
};

using AnnotationList = QList<Annotation>;

// The six colours of the toolbar and the editor's choices.
namespace AnnotationPalette {

const QList<QColor> &colors();

inline constexpr std::array<double, 3> lineWidths{1.5, 2.5, 4.5};
inline constexpr std::array<double, 4> fontSizes{14, 18, 24, 36};
inline constexpr double defaultLineWidth = 2.5;
inline constexpr double defaultFontSize = 18;
inline constexpr double shapeFontSize = 18;  // what a dragged shape carries

}  // namespace AnnotationPalette
