#pragma once

#include "common/Workspace.h"

#include <QObject>

// Files and links handed to the desktop: the default application through
// xdg-open semantics, the file manager's ShowItems over D-Bus, the portal's
// application chooser and the desktop's mail composer. Every call returns at
// once; a desktop that lacks a service gets the plainer fallback.
class DesktopWorkspace : public QObject, public Workspace
{
    Q_OBJECT
public:
    explicit DesktopWorkspace(QObject *parent = nullptr);

    void openFile(const QString &path) override;
    void openUrl(const QUrl &url) override;
    void revealFile(const QString &path) override;
    void openFileWith(const QString &path) override;
    void sendFileByEmail(const QString &path) override;

private:
    void openContainingFolder(const QString &path);
};
