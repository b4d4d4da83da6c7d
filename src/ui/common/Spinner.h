#pragma once

#include <QTimer>
#include <QWidget>

// A small indeterminate progress indicator: an arc that turns while shown.
class Spinner : public QWidget
{
    Q_OBJECT
public:
    explicit Spinner(int diameter, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    bool isSpinning() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_diameter;
    int m_angle = 0;
    QTimer m_timer;
};
