#pragma once

#include <QWidget>

class QLabel;
class Spinner;

// The viewer's top row: the program's name, then "Capturing..." while a
// screenshot is on its way, else the position counter and the library button
// while there is anything to show.
class ViewerHeader : public QWidget
{
    Q_OBJECT
public:
    explicit ViewerHeader(QWidget *parent = nullptr);

    // index is zero-based; count of the visible items.
    void setState(bool pending, int index, int count);

Q_SIGNALS:
    void libraryRequested();

private:
    QWidget *m_capturing;
    QWidget *m_counterRow;
    QLabel *m_counter;
};
