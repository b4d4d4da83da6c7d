#include "common/FocusRing.h"

#include "common/Style.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>
#include <QFocusFrame>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

// A QFocusFrame so that accessibility leaves it out of the control's children.
class FocusRingFrame : public QFocusFrame
{
public:
    explicit FocusRingFrame(QWidget *target)
        : QFocusFrame(target)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    void cover(QWidget *target)
    {
        setParent(target);
        setGeometry(target->rect());
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        constexpr qreal width = 2;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Style::accent(palette()), width));
        painter.setBrush(Qt::NoBrush);
        const QRectF ring = QRectF(rect()).adjusted(width / 2, width / 2, -width / 2, -width / 2);
        const qreal radius = std::min<qreal>(8, ring.height() / 2);
        painter.drawRoundedRect(ring, radius, radius);
    }
};

FocusRing::FocusRing(QWidget *scope)
    : QObject(scope)
    , m_scope(scope)
{
    qApp->installEventFilter(this);
}

FocusRing::~FocusRing()
{
    delete m_frame;
}

bool FocusRing::inScope(const QObject *object) const
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    return widget && (widget == m_scope || m_scope->isAncestorOf(widget));
}

bool FocusRing::wantsRing(const QWidget *widget)
{
    return !qobject_cast<const QAbstractScrollArea *>(widget) && !qobject_cast<const QLineEdit *>(widget)
        && !widget->property("noFocusRing").toBool();
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (inScope(watched)) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
                m_keyboard = true;
            else if (reason == Qt::MouseFocusReason)
                m_keyboard = false;
            follow(static_cast<QWidget *>(watched));
        }
        break;
    case QEvent::FocusOut:
        if (m_frame && watched == m_frame->parentWidget())
            hide();
        break;
    case QEvent::MouseButtonPress:
        if (inScope(watched)) {
            m_keyboard = false;
            hide();
        }
        break;
    case QEvent::Resize:
        if (m_frame && watched == m_frame->parentWidget())
            m_frame->setGeometry(static_cast<QWidget *>(watched)->rect());
        break;
    default:
        break;
    }
    return false;
}

void FocusRing::follow(QWidget *widget)
{
    if (!m_keyboard || widget == m_scope || !wantsRing(widget))
        return hide();
    if (!m_frame)
        m_frame = new FocusRingFrame(widget);
    m_frame->cover(widget);
}

void FocusRing::hide()
{
    if (m_frame)
        m_frame->hide();
}
