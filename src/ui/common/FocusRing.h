#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class FocusRingFrame;

// The keyboard focus ring of one window's controls, drawn in the accent
// colour over whichever control holds the focus. It shows only while the
// user works with the keyboard: Tab, Shift+Tab and shortcuts bring it, a
// mouse press hides it, so clicking a button never leaves a ring behind.
// Drawn over the control rather than by it, so the custom-painted controls
// need no painting of their own. Text fields and lists show their own focus.
class FocusRing : public QObject
{
    Q_OBJECT
public:
    explicit FocusRing(QWidget *scope);
    ~FocusRing() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inScope(const QObject *object) const;
    static bool wantsRing(const QWidget *widget);
    void follow(QWidget *widget);
    void hide();

    QWidget *m_scope;
    QPointer<FocusRingFrame> m_frame;
    bool m_keyboard = false;
};
