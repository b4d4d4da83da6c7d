#pragma once

#include "annotation/Annotation.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QTextOption>

#include <memory>
#include <optional>

class QTextLayout;

// The pure geometry the canvas, the handles and the export share. rect is
// where the image is displayed, in view pixels.
namespace AnnotationGeometry {

inline constexpr double textWrapWidth = 600;
inline constexpr double textInset = 8;  // the inline editor's inset on each side
// Lines break between words, and inside a word too long for a line of its
// own (links, file paths). The measurement, the drawing and the inline
// editor all break this way, so the editor covers the drawn text.
inline constexpr QTextOption::WrapMode textWrapMode = QTextOption::WrapAtWordBoundaryOrAnywhere;

QPointF toView(const QPointF &normalized, const QRectF &rect);
QPointF toNormalized(const QPointF &view, const QRectF &rect);

// The image shown as large as fits, centred; the whole space when the
// image has no size. May enlarge.
QRectF fittedRect(const QSizeF &space, const QSizeF &imageSize);

// The medium-weight application font at a pixel size: pixel sizes keep text
// the same size on screen and in the export whatever the font DPI.
QFont textFont(double pixelSize);
// A text mark's string in lines wrapped at 600 pixels, top-left at (0, 0),
// spaced as QPainter::drawText spaces them.
std::unique_ptr<QTextLayout> layoutText(const QString &text, double fontSize);
// The laid-out size of a text mark's string ("Texto" while empty).
QSizeF textSize(const QString &text, double fontSize);
// The view point of the bottom-right corner of a text mark's box, insets
// included.
QPointF textEndPoint(const Annotation &annotation, const QRectF &rect);

// Orders a box's corners (start top-left); arrows and texts keep theirs.
// An index outside the list does nothing.
void normalizeAnnotation(AnnotationList &annotations, qsizetype index);

// The index of the top-most mark under a normalised point, rotation
// ignored, with a tolerance of 20 view pixels (as a fraction of the width,
// on both axes).
std::optional<qsizetype> hitTest(const AnnotationList &annotations, const QPointF &point, const QRectF &rect);

}  // namespace AnnotationGeometry
