#pragma once

// Whether a compositing manager runs, so that windows can be translucent and
// cast shadows.
namespace Compositor {
bool isRunning();
}
