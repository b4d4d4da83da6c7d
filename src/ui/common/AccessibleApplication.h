#pragma once

#include <QAccessibleObject>

// The application as screen readers see it. Qt leaves popup windows out of
// the application's children, and the popover under the tray icon is one:
// without this, a screen reader finds nothing while it is open. Here every
// top-level window is a child, popups included.
class AccessibleApplication : public QAccessibleApplication
{
public:
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *child(int index) const override;
};
