#include "GlobalHotKey.h"

GlobalHotKey::~GlobalHotKey() = default;
