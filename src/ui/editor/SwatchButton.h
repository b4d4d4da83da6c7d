#pragma once

#include <QAbstractButton>
#include <QColor>

// One palette colour: a 16-pixel disc in a 28-pixel frame, ringed while it
// is the active colour.
class SwatchButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit SwatchButton(const QColor &color, QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setActive(bool active);
    bool isActive() const { return m_active; }
    QSize sizeHint() const override { return {28, 28}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    bool m_active = false;
};
