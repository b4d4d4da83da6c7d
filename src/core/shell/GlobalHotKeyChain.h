#pragma once

#include "shell/GlobalHotKey.h"

#include <memory>
#include <vector>

// Tries several ways of claiming the chord in order and keeps the first one
// that succeeds; the others are dropped.
class GlobalHotKeyChain : public GlobalHotKey
{
    Q_OBJECT
public:
    explicit GlobalHotKeyChain(std::vector<std::unique_ptr<GlobalHotKey>> candidates, QObject *parent = nullptr);
    ~GlobalHotKeyChain() override;

    bool registerHotKey() override;
    // The way that holds the chord, or nullptr.
    GlobalHotKey *active() const { return m_active.get(); }

private:
    std::vector<std::unique_ptr<GlobalHotKey>> m_candidates;
    std::unique_ptr<GlobalHotKey> m_active;
};
