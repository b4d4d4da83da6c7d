#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

struct xcb_connection_t;

// Looks at the X server the way a user sees it: which windows are mapped
// where, who owns a selection, and the pixels on screen. Also holds a key
// grab the way another program would.
class X11Probe
{
public:
    struct Window {
        std::uint32_t id = 0;
        QRect geometry;  // on screen
        QString name;
        bool overrideRedirect = false;  // the window manager leaves it alone: no taskbar entry
    };

    X11Probe();
    ~X11Probe();
    X11Probe(const X11Probe &) = delete;
    X11Probe &operator=(const X11Probe &) = delete;

    bool isConnected() const { return m_connection != nullptr; }
    bool hasSelectionOwner(const char *selection) const;
    // Mapped (viewable) children of the root window, bottom to top.
    QList<Window> mappedTopLevels() const;
    // A viewable window called name anywhere below the top level, such as an
    // icon embedded in a tray.
    std::optional<Window> findEmbedded(const QString &name) const;
    // Passive grab of keysym with modifiers on the root window.
    bool grabKey(std::uint32_t keysym, std::uint16_t modifiers);
    // The screen's pixels in area, through ImageMagick's `import`.
    static QImage screenshot(const QRect &area);

private:
    std::uint32_t atom(const char *name) const;
    QString nameOf(std::uint32_t window) const;
    QList<std::uint32_t> children(std::uint32_t window) const;
    // Viewable, and whether the window bypasses the window manager.
    std::optional<bool> viewableOverride(std::uint32_t window) const;
    QRect screenGeometry(std::uint32_t window) const;
    std::optional<Window> findBelow(std::uint32_t window, const QString &name, int depth) const;

    xcb_connection_t *m_connection = nullptr;
    std::uint32_t m_root = 0;
};
