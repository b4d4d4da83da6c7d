#pragma once

#include "picker/ColorFormat.h"

#include <QColor>
#include <QList>
#include <QScrollArea>

class HistorySwatch;
class QHBoxLayout;

// The row of past picks under the image, newest first, scrolling sideways
// when they do not fit. Each disc's tool tip is its colour in the current
// mode; pressing one chooses it again.
class ColorHistoryRow : public QScrollArea
{
    Q_OBJECT
public:
    explicit ColorHistoryRow(QWidget *parent = nullptr);
    void setEntries(const QList<QColor> &entries, const QColor &current, ColorMode mode);
    QList<HistorySwatch *> swatches() const;
    // Chooses the pick `delta` places from the current one, the focus going
    // along when it is on the row.
    void step(int delta);

Q_SIGNALS:
    void chosen(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QHBoxLayout *m_row;
};
