#pragma once

#include "common/LoginItem.h"

// Launch at login through the desktop's autostart folder:
// $XDG_CONFIG_HOME/autostart/com.tarnwick.Tarnwick.desktop. The entry counts
// as enabled when the file exists and does not say Hidden=true.
class XdgAutostart : public LoginItem
{
public:
    // configHome empty: $XDG_CONFIG_HOME, else ~/.config. executable empty:
    // this program's own path.
    explicit XdgAutostart(QString configHome = {}, QString executable = {});

    QString filePath() const { return m_filePath; }

    bool isEnabled() const override;
    std::optional<QString> setEnabled(bool enabled) override;

private:
    QByteArray entry() const;

    QString m_filePath;
    QString m_executable;
};
