#include "common/AccessibleApplication.h"

#include <QGuiApplication>
#include <QWindow>

namespace {

QObjectList windowRoots()
{
    QObjectList roots;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (window->type() == Qt::Desktop)
            continue;
        if (QAccessibleInterface *root = window->accessibleRoot(); root && root->object())
            roots.append(root->object());
    }
    return roots;
}

}  // namespace

int AccessibleApplication::childCount() const
{
    return int(windowRoots().size());
}

int AccessibleApplication::indexOfChild(const QAccessibleInterface *child) const
{
    return child ? int(windowRoots().indexOf(child->object())) : -1;
}

QAccessibleInterface *AccessibleApplication::child(int index) const
{
    const QObjectList roots = windowRoots();
    return index >= 0 && index < roots.size() ? QAccessible::queryAccessibleInterface(roots.at(index)) : nullptr;
}
