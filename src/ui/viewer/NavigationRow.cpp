#include "viewer/NavigationRow.h"

#include "common/Style.h"
#include "common/Symbols.h"
#include "viewer/ThumbnailStrip.h"

#include <QHBoxLayout>
#include <QPainter>

NavButton::NavButton(const QString &icon, QWidget *parent)
    : QAbstractButton(parent)
    , m_icon(icon)
{
    setFixedSize(24, 24);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void NavButton::paintEvent(QPaintEvent *)
{
    if (!isEnabled())
        return;  // a button that cannot move is not drawn at all
    const QColor primary = Style::primary(palette());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Style::withAlpha(primary, 0.06));
    painter.drawEllipse(QRectF(rect()));
    const QRect glyph(7, 7, 10, 10);
    painter.drawPixmap(glyph, Symbols::pixmap(m_icon, Style::withAlpha(primary, 0.6), QSizeF(10, 10),
                                              devicePixelRatioF()));
}

NavigationRow::NavigationRow(QWidget *parent)
    : QWidget(parent)
    , m_previous(new NavButton(QStringLiteral("chevron.left"), this))
    , m_next(new NavButton(QStringLiteral("chevron.right"), this))
    , m_strip(new ThumbnailStrip(this))
    , m_space(new QWidget(this))
{
    m_previous->setObjectName(QStringLiteral("navRow.previous"));
    m_next->setObjectName(QStringLiteral("navRow.next"));
    m_previous->setAccessibleName(tr("Previous Screenshot"));
    m_next->setAccessibleName(tr("Next Screenshot"));
    m_space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_space->setFixedHeight(m_strip->height());
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_previous);
    row->addWidget(m_strip, 1);
    row->addWidget(m_space, 1);
    row->addWidget(m_next);
    connect(m_previous, &NavButton::clicked, this, &NavigationRow::previousRequested);
    connect(m_next, &NavButton::clicked, this, &NavigationRow::nextRequested);
    connect(m_strip, &ThumbnailStrip::thumbnailClicked, this, &NavigationRow::indexRequested);
}

void NavigationRow::setItems(const QList<ScreenshotItem> &items, int current, bool animate)
{
    m_previous->setEnabled(current > 0);
    m_next->setEnabled(current < items.size() - 1);
    const bool several = items.size() > 1;
    m_strip->setVisible(several);
    m_space->setVisible(!several);
    m_strip->setItems(several ? items : QList<ScreenshotItem>(), current, animate);
}
