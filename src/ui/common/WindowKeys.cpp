#include "common/WindowKeys.h"

#include "common/FocusRing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

WindowKeys::WindowKeys(QWidget *view, Escape escape)
    : QObject(view)
    , m_view(view)
    , m_escape(escape)
{
    new FocusRing(view);
    view->installEventFilter(this);
}

bool WindowKeys::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *window = m_view->window();
    if (watched == window && event->type() == QEvent::Close) {
        if (QApplication::activeWindow() == window && m_previous && m_previous->isVisible())
            m_previous->activateWindow();
        return false;
    }
    if (watched != m_view)
        return false;
    if (event->type() == QEvent::KeyPress)
        return onKey(static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::Show) {
        // Not active yet: the activation moves over once the window is mapped.
        if (QApplication::activeWindow() != window)
            m_previous = QApplication::activeWindow();
        if (window != m_view)
            window->installEventFilter(this);  // known only now: a view may be placed after it is made
    }
    return false;
}

bool WindowKeys::onKey(const QKeyEvent *key)
{
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        auto *button = qobject_cast<QAbstractButton *>(m_view->focusWidget());
        if (!button || !button->isEnabled())
            return false;
        button->animateClick();
        return true;
    }
    if (key->key() == Qt::Key_Escape && m_escape == Escape::closesWindow) {
        m_view->window()->close();
        return true;
    }
    return false;
}
