#pragma once

#include <QPointF>

#include <cstdint>
#include <optional>

// What one press-move-release over the picker's image means. A movement
// beyond 6 points turns the press into a drag, once: a pan when the image is
// zoomed, a live preview otherwise. A release that travelled less is a click;
// a second click within 0.35 s of the previous one is a double click, which
// resets a zoomed view and picks nothing. Times are event timestamps in ms.
class PointerGesture
{
public:
    enum class Mode { idle, picking, panning };
    enum class Release { pick, resetZoom, endPan, nothing };

    static constexpr double dragThreshold = 6.0;
    static constexpr std::uint64_t doubleClickMs = 350;

    // translation: from the press to the pointer now.
    Mode move(const QPointF &translation, bool zoomed);
    Release release(const QPointF &translation, std::uint64_t timestampMs, bool zoomed);
    Mode mode() const { return m_mode; }

private:
    Mode m_mode = Mode::idle;
    std::optional<std::uint64_t> m_lastTap;
};
