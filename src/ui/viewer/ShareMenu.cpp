#include "viewer/ShareMenu.h"

#include "common/Workspace.h"

#include <QScreen>

ShareMenu::ShareMenu(const QString &path, Workspace *workspace, std::function<void(const QString &)> copyText,
                     QWidget *parent)
    : QMenu(parent)
{
    setObjectName(QStringLiteral("shareMenu"));
    if (workspace) {
        addAction(tr("Open With…"), this, [workspace, path] { workspace->openFileWith(path); });
        addAction(tr("Send by Email…"), this, [workspace, path] { workspace->sendFileByEmail(path); });
    }
    addAction(tr("Copy File Path"), this, [copyText = std::move(copyText), path] { copyText(path); });
}

void ShareMenu::popupAt(QWidget *anchor)
{
    connect(this, &QMenu::aboutToHide, this, &QObject::deleteLater);  // after the chosen action ran
    const QPoint below = anchor->mapToGlobal(QPoint(0, anchor->height()));
    QPoint at = below;
    if (const QScreen *screen = anchor->screen()) {
        if (below.y() + sizeHint().height() > screen->availableGeometry().bottom())
            at = anchor->mapToGlobal(QPoint(0, -sizeHint().height()));
    }
    popup(at);
}
