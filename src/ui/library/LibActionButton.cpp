#include "library/LibActionButton.h"

LibActionButton::LibActionButton(const QString &title, const QString &icon, QWidget *parent)
    : ActionButton(title, icon, Style::libraryTile(), parent)
{
}
