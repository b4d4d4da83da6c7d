#pragma once

#include <QString>

#include <functional>

// The bracketed one-line diagnostics on stdout ("[ScreenshotMonitor] Watching: …").
// Their texts are part of the program's interface, so they go through one place
// that tests can observe. Safe to call from any thread.
namespace Diagnostics {
void line(const QString &text);

using Observer = std::function<void(const QString &)>;
// Installs an observer that sees every line as well; pass {} to remove it.
void setObserver(Observer observer);
}  // namespace Diagnostics
