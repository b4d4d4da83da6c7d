#pragma once

#include <QKeyCombination>
#include <QObject>

// The one system-wide chord that toggles the popover, whichever desktop
// service delivers it. activated() always arrives on the main thread.
class GlobalHotKey : public QObject
{
    Q_OBJECT
public:
    static constexpr QKeyCombination chord{Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Space};

    using QObject::QObject;
    ~GlobalHotKey() override;

    // Claims the chord. False when this way of claiming it is not available
    // here or the chord is already taken; the reason goes to the log only.
    virtual bool registerHotKey() = 0;

Q_SIGNALS:
    void activated();
};
