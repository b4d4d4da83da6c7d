#include "viewer/ForceUpdateOverlay.h"

#include "common/Style.h"
#include "viewer/DownloadButton.h"
#include "viewer/ViewerLabels.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

ForceUpdateOverlay::ForceUpdateOverlay(QWidget *parent)
    : QWidget(parent)
    , m_button(new DownloadButton({tr("Download Update"), Style::font(13, QFont::DemiBold),
                                   Style::withAlpha(Style::systemBlue(), 0.7), 10, 16, QMargins(12, 0, 12, 0)},
                                  this))
{
    setObjectName(QStringLiteral("forceUpdateOverlay"));
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_button);
    m_button->setObjectName(QStringLiteral("forceUpdateOverlay.download"));
    m_button->setFixedHeight(40);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(32, 0, 32, 0);
    column->setSpacing(16);
    column->addStretch(1);
    column->addWidget(ViewerLabels::symbol(QStringLiteral("exclamationmark.triangle.fill"), Style::systemOrange(), 36,
                                           this),
                      0, Qt::AlignHCenter);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(ViewerLabels::text(tr("Update Required"), Style::font(16, QFont::Bold), Qt::white,
                                        this),
                     0, Qt::AlignHCenter);
    auto *message = ViewerLabels::text(
        tr("This version is no longer supported.\nPlease update to continue using Tarnwick."),
        Style::font(12), Style::withAlpha(Qt::white, 0.7), this);
    message->setAlignment(Qt::AlignHCenter);
    texts->addWidget(message, 0, Qt::AlignHCenter);
    column->addLayout(texts);
    column->addWidget(m_button);
    column->addStretch(1);
    connect(m_button, &DownloadButton::clicked, this, &ForceUpdateOverlay::downloadRequested);
}

void ForceUpdateOverlay::setDownloading(bool downloading)
{
    m_button->setDownloading(downloading);
}

bool ForceUpdateOverlay::focusNextPrevChild(bool)
{
    m_button->setFocus(Qt::TabFocusReason);
    return true;
}

void ForceUpdateOverlay::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), QColor::fromRgbF(0, 0, 0, 0.85f));
}

bool ForceUpdateOverlay::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    {
        // Escape still closes the popover around it.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape)
            return QWidget::event(event);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->type() == QEvent::KeyPress)
            m_button->animateClick();
        event->accept();
        return true;
    }
    default:
        return QWidget::event(event);
    }
}
