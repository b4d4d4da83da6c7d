#pragma once

#include "viewer/ActionButton.h"

// One of the library's six action tiles: the viewer's action button in the
// library's look, filling its grid cell.
class LibActionButton : public ActionButton
{
    Q_OBJECT
public:
    LibActionButton(const QString &title, const QString &icon, QWidget *parent = nullptr);
};
