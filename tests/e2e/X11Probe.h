#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

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
        QRect geometry;  // on screen
        QString name;
        bool topLevel = false;  // else inside another window, such as an icon embedded in a tray
    };

    X11Probe();  // ends the test program when there is no X server
    ~X11Probe();
    Q_DISABLE_COPY(X11Probe)

    bool hasSelectionOwner(const char *selection) const;
    // The viewable windows by title (and place): top-level ones, or ones
    // embedded in another such as the tray; find() gives the first.
    QList<QRect> windows(const QString &title, bool topLevel = true,
                         const std::function<bool(QRect)> &where = {}) const;
    std::optional<QRect> find(const QString &title, bool topLevel = true,
                              const std::function<bool(QRect)> &where = {}) const;
    // The titles of the viewable top-level windows that have one.
    QStringList titles() const;
    // Whether the keyboard focus is in the top-level window with this title,
    // so keys typed now reach it.
    bool hasFocus(const QString &title) const;
    // Passive grab of keysym with modifiers on the root window.
    bool grabKey(std::uint32_t keysym, std::uint16_t modifiers);
    // The screen's pixels in area, through ImageMagick's `import`.
    static QImage screenshot(const QRect &area);
    // Runs xdotool with the space-separated command; fails the test if it fails.
    static void xdotool(const QString &command);

private:
    // Every viewable window, each before its children.
    QList<Window> viewableWindows() const;
    std::uint32_t atom(const char *name) const;
    void collect(std::uint32_t parent, QList<Window> &into) const;

    xcb_connection_t *m_connection = nullptr;
    std::uint32_t m_root = 0;
};
