#include "shell/GlobalHotKey.h"

GlobalHotKey::~GlobalHotKey() = default;
