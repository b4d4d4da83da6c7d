#include "shell/Popover.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

Popover::Popover(QWidget *content)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
{
    setWindowTitle(tr("Tarnwick"));
    setFixedSize(fixedSize);
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
}

void Popover::mousePressEvent(QMouseEvent *event)
{
    const bool outside = !rect().contains(event->position().toPoint());
    setAttribute(Qt::WA_NoMouseReplay, outside && m_toggleArea.contains(event->globalPosition().toPoint()));
    QWidget::mousePressEvent(event);  // a popup closes itself on a press outside
}

void Popover::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Popover::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Q_EMIT shown();
}

void Popover::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    Q_EMIT hidden();
}
