#include "viewer/ViewerLabels.h"

#include "common/Style.h"
#include "common/Symbols.h"

#include <QLabel>

namespace ViewerLabels {

QLabel *symbol(const QString &name, const QColor &color, double size, QWidget *parent)
{
    auto *label = new QLabel(parent);
    setSymbol(label, name, color, size);
    label->setFixedSize(qCeil(size), qCeil(size));
    return label;
}

void setSymbol(QLabel *label, const QString &name, const QColor &color, double size)
{
    Symbols::show(label, name, color, QSizeF(size, size));
}

QLabel *text(const QString &text, const QFont &font, const QColor &color, QWidget *parent, const QString &objectName)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setObjectName(objectName);
    // Inside a button a label would draw in the button-text colour instead.
    label->setForegroundRole(QPalette::WindowText);
    Style::apply(label, font, color);
    return label;
}

}  // namespace ViewerLabels
