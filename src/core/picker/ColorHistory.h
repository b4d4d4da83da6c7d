#pragma once

#include <QColor>
#include <QList>

// The picks of one picker window, newest first. Only the newest entry is
// compared with a new pick, so picking A, B, A lists A twice; the oldest
// entry drops out past the capacity.
class ColorHistory
{
public:
    static constexpr qsizetype capacity = 20;

    // False when color equals the newest entry and nothing was added.
    bool add(const QColor &color);
    const QList<QColor> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }

private:
    QList<QColor> m_entries;
};
