#include "picker/PointerGesture.h"

#include <QLineF>

namespace {

double lengthOf(const QPointF &translation)
{
    return QLineF(QPointF(), translation).length();
}

}  // namespace

PointerGesture::Mode PointerGesture::move(const QPointF &translation, bool zoomed)
{
    if (m_mode == Mode::idle && lengthOf(translation) > dragThreshold)
        m_mode = zoomed ? Mode::panning : Mode::picking;
    return m_mode;
}

PointerGesture::Release PointerGesture::release(const QPointF &translation, std::uint64_t timestampMs, bool zoomed)
{
    const Mode was = m_mode;
    m_mode = Mode::idle;
    if (was == Mode::panning)
        return Release::endPan;
    if (lengthOf(translation) >= dragThreshold) {
        m_lastTap.reset();  // a drag breaks a double-click sequence
        return Release::nothing;
    }
    // The click's time is kept either way, so a third quick click pairs with
    // the second.
    const bool doubleClick = m_lastTap && timestampMs >= *m_lastTap && timestampMs - *m_lastTap < doubleClickMs;
    m_lastTap = timestampMs;
    if (!doubleClick)
        return Release::pick;
    return zoomed ? Release::resetZoom : Release::nothing;
}
