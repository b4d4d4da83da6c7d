#pragma once

#include <QObject>

// The colour scheme the desktop asks applications for: the user's choice of
// light or dark, which a palette alone does not always carry.
class ColorScheme : public QObject
{
    Q_OBJECT
public:
    enum class Preference { none, dark, light };

    using QObject::QObject;

    virtual Preference preference() const = 0;

Q_SIGNALS:
    // The user chose another scheme: ask again.
    void changed();
};
