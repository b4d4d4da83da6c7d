#include "common/PlaceholderWindow.h"

#include <QLabel>
#include <QVBoxLayout>

QWidget *PlaceholderWindow::show(QPointer<QWidget> &slot, const QString &title, QSize size)
{
    if (!slot) {
        slot = new QWidget;
        slot->setAttribute(Qt::WA_DeleteOnClose);
        slot->setWindowTitle(title);
        slot->setFixedSize(size);
        auto *layout = new QVBoxLayout(slot);
        layout->addWidget(new QLabel(title, slot), 0, Qt::AlignCenter);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}
