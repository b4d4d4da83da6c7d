#pragma once

// Where a capture came from; the views badge phone captures.
enum class ScreenshotSource { mac, iPhone };
