#include "library/LibActionButton.h"

#include "common/Style.h"

LibActionButton::LibActionButton(const QString &title, const QString &icon, QWidget *parent)
    : ActionButton(title, icon, parent)
{
    setFont(Style::font(11.5, QFont::Medium));
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}
