#pragma once

#include <QString>

#include <optional>

// Whether the program starts when the user logs in. The state lives with the
// desktop, not in the preferences, so it is read anew every time.
class LoginItem
{
public:
    virtual ~LoginItem() = default;

    virtual bool isEnabled() const = 0;
    // None on success, else why it failed.
    virtual std::optional<QString> setEnabled(bool enabled) = 0;
};
