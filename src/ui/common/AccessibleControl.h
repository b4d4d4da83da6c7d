#pragma once

#include <QAccessible>
#include <QList>
#include <QRect>
#include <QString>

// A widget that paints its own control, or several side by side, tells
// screen readers what they are through this. Accessibility::install() gives
// every widget that implements it an accessible interface built from it.
class AccessibleControl
{
public:
    // One control painted inside the widget, such as a segment of a selector.
    struct Part {
        QString name;
        QRect rect;  // in the widget
        bool checked = false;
    };

    virtual ~AccessibleControl() = default;

    virtual QAccessible::Role accessibleRole() const = 0;
    virtual QAccessible::State accessibleState() const { return {}; }
    // Whether the control has a default action, and doing what a click does.
    virtual bool isPressable() const { return false; }
    virtual void pressAccessibly() {}

    virtual QList<Part> accessibleParts() const { return {}; }
    virtual QAccessible::Role partRole() const { return QAccessible::RadioButton; }
    virtual void pressAccessiblePart(int index) { Q_UNUSED(index) }
};
