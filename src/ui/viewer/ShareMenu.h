#pragma once

#include <QMenu>

#include <functional>

class Workspace;

// What the Share button offers for one file: another application, a new
// mail with the file attached, or the file's path as text.
class ShareMenu : public QMenu
{
    Q_OBJECT
public:
    // copyText puts plain text on the clipboard.
    ShareMenu(const QString &path, Workspace *workspace, std::function<void(const QString &)> copyText,
              QWidget *parent = nullptr);

    // Opens under anchor (above it when there is no room below) and deletes
    // itself once closed.
    void popupAt(QWidget *anchor);
};
