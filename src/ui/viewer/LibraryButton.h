#pragma once

#include <QPushButton>

// The header's way into the library: "Library" with its symbol on a soft
// rounded fill that brightens and grows a little under the pointer.
class LibraryButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(double hoverAmount READ hoverAmount WRITE setHoverAmount)
public:
    explicit LibraryButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    double hoverAmount() const { return m_hover; }
    void setHoverAmount(double amount);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    double m_hover = 0;  // 0 resting, 1 under the pointer
};
