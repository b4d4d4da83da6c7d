#pragma once

#include <QString>

class QUrl;

// The desktop's handling of files and links. Main thread only; each call
// returns at once and reports nothing to the user.
class Workspace
{
public:
    virtual ~Workspace() = default;
    // Opens the file with its default application.
    virtual void openFile(const QString &path) = 0;
    // Opens a link with the default handler.
    virtual void openUrl(const QUrl &url) = 0;
    // Shows the file selected in the file manager, or opens its folder.
    virtual void revealFile(const QString &path) = 0;
    // Asks the user which application should open the file.
    virtual void openFileWith(const QString &path) = 0;
    // Starts a new mail with the file attached.
    virtual void sendFileByEmail(const QString &path) = 0;
};
