#include "viewer/QRBadgeButton.h"

#include "common/PopIn.h"
#include "common/Shadow.h"
#include "common/Style.h"
#include "common/SymbolText.h"
#include "viewer/QRResultsMenu.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr double padX = 7;
constexpr double padY = 4;

SymbolText content(const QString &text)
{
    return {QStringLiteral("qrcode"), text, Style::font(10, QFont::Bold), 10, 4};
}

}  // namespace

QRBadgeButton::QRBadgeButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_popIn(new PopIn(this, 0.7, Springs::results))
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &QRBadgeButton::toggleMenu);
    setPayloads({});
}

void QRBadgeButton::setPayloads(const QStringList &payloads)
{
    m_payloads = payloads;
    setText(payloads.size() == 1 ? tr("QR") : tr("%1 QR").arg(payloads.size()));
    setAccessibleName(text());
    if (m_menu)
        m_menu->close();
    setFixedSize(sizeHint());
    update();
}

void QRBadgeButton::setShown(bool shown, bool animated)
{
    m_popIn->setShown(shown, animated);
    if (!shown && m_menu)
        m_menu->close();
}

bool QRBadgeButton::isShown() const
{
    return m_popIn->isShown();
}

QRResultsMenu *QRBadgeButton::menu() const
{
    return m_menu;
}

QMargins QRBadgeButton::shadowMargins()
{
    return {6, 4, 6, 8};
}

QSizeF QRBadgeButton::capsuleSize() const
{
    const QSizeF inner = content(text()).size();
    return {std::ceil(inner.width() + 2 * padX), std::ceil(inner.height() + 2 * padY)};
}

QSize QRBadgeButton::sizeHint() const
{
    return capsuleSize().toSize().grownBy(shadowMargins());
}

QRectF QRBadgeButton::capsuleRect() const
{
    return QRectF(QPointF(shadowMargins().left(), shadowMargins().top()), capsuleSize());
}

bool QRBadgeButton::hitButton(const QPoint &pos) const
{
    return capsuleRect().contains(pos);
}

void QRBadgeButton::toggleMenu()
{
    if (m_menu && m_menu->isVisible()) {
        m_menu->close();
        return;
    }
    m_menu = new QRResultsMenu(m_payloads, this);
    connect(m_menu, &QRResultsMenu::copyRequested, this, &QRBadgeButton::copyRequested);
    connect(m_menu, &QRResultsMenu::openLinkRequested, this, &QRBadgeButton::openLinkRequested);
    m_menu->popup(this);
}

void QRBadgeButton::paintEvent(QPaintEvent *)
{
    const QRectF capsule = capsuleRect();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_popIn->apply(painter, capsule);
    QPainterPath shape;
    shape.addRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    Shadow::draw(painter, shape, Style::withAlpha(Qt::black, 0.3), 4, QPointF(0, 2));
    painter.fillPath(shape, Style::withAlpha(Qt::black, 0.65));
    content(text()).draw(painter, capsule.adjusted(padX, padY, -padX, -padY), Qt::white, devicePixelRatioF());
}
