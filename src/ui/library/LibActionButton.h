#pragma once

#include "viewer/ActionButton.h"

// One of the library's six action tiles: the viewer's action button, filling
// its grid cell at a fixed height.
class LibActionButton : public ActionButton
{
    Q_OBJECT
public:
    static constexpr int height = 32;

    LibActionButton(const QString &title, const QString &icon, QWidget *parent = nullptr);
};
