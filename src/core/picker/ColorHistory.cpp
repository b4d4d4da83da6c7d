#include "picker/ColorHistory.h"

#include "picker/ColorFormat.h"

bool ColorHistory::add(const QColor &color)
{
    if (!m_entries.isEmpty() && ColorFormat::colorsEqual(m_entries.first(), color))
        return false;
    m_entries.prepend(color);
    if (m_entries.size() > capacity)
        m_entries.removeLast();
    return true;
}
