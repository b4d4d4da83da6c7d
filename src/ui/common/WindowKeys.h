#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

// The keys every window of the app answers alike, once the focused control
// has let them pass: Return and Enter press the focused button as Space
// does, and Escape closes the window unless the window gives it a meaning of
// its own. Also draws the window's keyboard focus ring, and on closing gives
// the activation back to the app's window that had it before, whose focused
// control then has the focus again.
class WindowKeys : public QObject
{
    Q_OBJECT
public:
    enum class Escape { closesWindow, keepsMeaning };

    WindowKeys(QWidget *view, Escape escape);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool onKey(const QKeyEvent *key);

    QWidget *m_view;
    Escape m_escape;
    QPointer<QWidget> m_previous;
};
