#pragma once

#include <QLineEdit>

// The library's search field: typing filters the list, Escape clears the
// words, Down hands the keyboard to the list below.
class LibrarySearchField : public QLineEdit
{
    Q_OBJECT
public:
    explicit LibrarySearchField(QWidget *parent = nullptr);

Q_SIGNALS:
    void moveDownRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
