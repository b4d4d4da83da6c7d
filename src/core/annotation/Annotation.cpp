#include "annotation/Annotation.h"

#include <QCoreApplication>

namespace AnnotationTools {

QString label(AnnotationTool tool)
{
    switch (tool) {
    case AnnotationTool::arrow:
        return QCoreApplication::translate("AnnotationTools", "Arrow");
    case AnnotationTool::rectangle:
        return QCoreApplication::translate("AnnotationTools", "Rectangle");
    case AnnotationTool::circle:
        return QCoreApplication::translate("AnnotationTools", "Circle");
    case AnnotationTool::highlight:
        return QCoreApplication::translate("AnnotationTools", "Highlight");
    case AnnotationTool::text:
        return QCoreApplication::translate("AnnotationTools", "Text");
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
