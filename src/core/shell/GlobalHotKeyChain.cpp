#include "shell/GlobalHotKeyChain.h"

GlobalHotKeyChain::GlobalHotKeyChain(std::vector<std::unique_ptr<GlobalHotKey>> candidates, QObject *parent)
    : GlobalHotKey(parent)
    , m_candidates(std::move(candidates))
{
}

GlobalHotKeyChain::~GlobalHotKeyChain() = default;

bool GlobalHotKeyChain::registerHotKey()
{
    if (m_active)
        return true;
    for (auto &candidate : m_candidates) {
        if (!candidate || !candidate->registerHotKey())
            continue;
        m_active = std::move(candidate);
        connect(m_active.get(), &GlobalHotKey::activated, this, &GlobalHotKey::activated);
        break;
    }
    m_candidates.clear();
    return m_active != nullptr;
}
