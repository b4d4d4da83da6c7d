#include "viewer/PhoneBadge.h"

#include "common/PopIn.h"
#include "common/Style.h"
#include "common/SymbolText.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr double padX = 6;
constexpr double padY = 3;

SymbolText content()
{
    return {QStringLiteral("iphone"), PhoneBadge::tr("iPhone"), Style::font(9, QFont::DemiBold), 9, 3};
}

}  // namespace

PhoneBadge::PhoneBadge(QWidget *parent)
    : QWidget(parent)
    , m_popIn(new PopIn(this, 0.7, Springs::navigation))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(sizeHint());
    setAccessibleName(tr("iPhone"));
}

void PhoneBadge::setShown(bool shown, bool animated)
{
    m_popIn->setShown(shown, animated);
}

bool PhoneBadge::isShown() const
{
    return m_popIn->isShown();
}

QSize PhoneBadge::sizeHint() const
{
    const QSizeF inner = content().size();
    return QSizeF(std::ceil(inner.width() + 2 * padX), std::ceil(inner.height() + 2 * padY)).toSize();
}

void PhoneBadge::paintEvent(QPaintEvent *)
{
    const QRectF capsule = rect();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_popIn->apply(painter, capsule);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Style::withAlpha(Qt::black, 0.55));
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    content().draw(painter, capsule.adjusted(padX, padY, -padX, -padY), Qt::white, devicePixelRatioF());
}
