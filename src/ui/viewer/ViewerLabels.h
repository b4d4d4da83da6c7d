#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// Label builders shared by the viewer's parts. Texts are always plain: file
// names and the like never get read as markup.
namespace ViewerLabels {

QLabel *symbol(const QString &name, const QColor &color, double size, QWidget *parent);
QLabel *text(const QString &text, const QFont &font, const QColor &color, QWidget *parent,
             const QString &objectName = {});
void setSymbol(QLabel *label, const QString &name, const QColor &color, double size);

}  // namespace ViewerLabels
