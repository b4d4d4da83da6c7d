#pragma once

#include <QRect>
#include <QWidget>

// The transient window under the tray icon: frameless, no taskbar entry,
// holds the keyboard while open, closes on a click elsewhere or on Escape.
class Popover : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize fixedSize{360, 480};

    explicit Popover(QWidget *content);

    // A click here while open only closes the popover: the tray icon, whose
    // own click would otherwise open it again at once.
    void setToggleArea(const QRect &globalArea) { m_toggleArea = globalArea; }

Q_SIGNALS:
    void shown();
    void hidden();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QRect m_toggleArea;
};
