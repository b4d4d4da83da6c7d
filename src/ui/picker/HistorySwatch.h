#pragma once

#include <QAbstractButton>
#include <QColor>

// One past pick in the history row: a small disc of the colour, ringed in
// white when it is the colour shown in the bar.
class HistorySwatch : public QAbstractButton
{
    Q_OBJECT
public:
    HistorySwatch(const QColor &color, bool current, QWidget *parent = nullptr);
    QColor color() const { return m_color; }
    bool isCurrent() const { return m_current; }
    void setCurrent(bool current);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    bool m_current;
};
