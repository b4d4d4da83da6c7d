#include "annotation/Annotation.h"

namespace AnnotationTools {

QString label(AnnotationTool tool)
{
    switch (tool) {
    case AnnotationTool::arrow:
        return QStringLiteral("Arrow");
    case AnnotationTool::rectangle:
        return QStringLiteral("Rectangle");
    case AnnotationTool::circle:
        return QStringLiteral("Circle");
    case AnnotationTool::highlight:
        return QStringLiteral("Highlight");
    case AnnotationTool::text:
        return QStringLiteral("Text");
    }
    return {};
}

QString symbolName(AnnotationTool tool)
{
    switch (tool) {
    case AnnotationTool::arrow:
        return QStringLiteral("arrow.up.right");
    case AnnotationTool::rectangle:
        return QStringLiteral("rectangle");
    case AnnotationTool::circle:
        return QStringLiteral("circle");
    case AnnotationTool::highlight:
        return QStringLiteral("rectangle.fill");
    case AnnotationTool::text:
        return QStringLiteral("character.textbox");
    }
    return {};
}

}  // namespace AnnotationTools

namespace AnnotationPalette {

const QList<QColor> &colors()
{
    static const QList<QColor> palette{
        QColor(255, 59, 48),  // the desktop's signal red
        QColor::fromRgbF(1.0f, 0.4f, 0.0f),
        QColor::fromRgbF(0.0f, 0.75f, 0.3f),
        QColor::fromRgbF(0.2f, 0.5f, 1.0f),
        QColor::fromRgbF(0.9f, 0.85f, 0.0f),
        QColor(Qt::white),
    };
    return palette;
}

}  // namespace AnnotationPalette
