#include "library/LibrarySearchField.h"

#include "common/Style.h"

#include <QKeyEvent>

LibrarySearchField::LibrarySearchField(QWidget *parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("librarySearch"));
    setPlaceholderText(tr("Search text in captures"));
    setClearButtonEnabled(true);
    setFont(Style::font(12));
}

void LibrarySearchField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !text().isEmpty())
        return clear();
    if (event->key() == Qt::Key_Down)
        return Q_EMIT moveDownRequested();
    QLineEdit::keyPressEvent(event);
}
