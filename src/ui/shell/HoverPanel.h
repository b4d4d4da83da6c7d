#pragma once

#include <QWidget>

#include <chrono>

class QPropertyAnimation;

// The floating window that carries the hover preview: never focused, lets
// every click through to what lies beneath, fades in and out. With a
// compositor it is translucent, with anti-aliased corners and a soft shadow;
// without one it is opaque, its corners cut by a mask. One per show; it
// deletes itself once faded out.
class HoverPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr double cornerRadius = 10;
    static constexpr int shadowMargin = 14;

    explicit HoverPanel(QWidget *content, bool translucent = false);

    // Puts the panel's visible frame at frame; a shadow falls outside it.
    void place(const QRect &frame);

    void fadeIn(std::chrono::milliseconds duration);
    // Fades out, then hides and deletes the panel.
    void fadeOut(std::chrono::milliseconds duration);
    bool isFadingOut() const { return m_fadingOut; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void animateOpacity(double to, std::chrono::milliseconds duration);
    QRectF panelRect() const;

    bool m_translucent;
    QPropertyAnimation *m_animation = nullptr;
    bool m_fadingOut = false;
};
