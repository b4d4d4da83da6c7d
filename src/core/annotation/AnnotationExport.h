#pragma once

#include "annotation/Annotation.h"

#include <QImage>
#include <QSizeF>

class QPainter;

// Flattens marks onto the screenshot at the image's own resolution: a mark
// lands at the same relative place as on screen, with line widths, arrow
// heads and font sizes scaled by the image's size over the displayed size.
// Unlike the editor, rectangles have square corners and text does not wrap.
namespace AnnotationExport {

// Draws the marks over an image-sized surface (top-left origin).
void renderAnnotations(QPainter &painter, const AnnotationList &annotations, const QSizeF &size, double scaleFactor);

// A new (premultiplied) ARGB32 image of the source's size with the marks drawn over it;
// displayedWidth is the width the editor shows the image at (0: as is).
// A null source gives a null image.
QImage buildAnnotatedImage(const QImage &source, const AnnotationList &annotations, double displayedWidth);

}  // namespace AnnotationExport
