#include "viewer/PhoneBadge.h"

#include "common/PopIn.h"
#include "common/Style.h"
#include "common/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

const QString title = QStringLiteral("iPhone");
constexpr double symbolSide = 9;
constexpr double spacing = 3;
constexpr double padX = 6;
constexpr double padY = 3;

QFont badgeFont()
{
    return Style::font(9, QFont::DemiBold);
}

}  // namespace

PhoneBadge::PhoneBadge(QWidget *parent)
    : QWidget(parent)
    , m_popIn(new PopIn(this, 0.7, Springs::navigation))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(sizeHint());
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
    const QFontMetricsF metrics(badgeFont());
    return QSizeF(std::ceil(padX + symbolSide + spacing + metrics.horizontalAdvance(title) + padX),
                  std::ceil(padY + std::max(symbolSide, metrics.height()) + padY))
        .toSize();
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
    const QRectF content = capsule.adjusted(padX, padY, -padX, -padY);
    const QRectF icon(content.left(), content.center().y() - symbolSide / 2, symbolSide, symbolSide);
    painter.drawImage(icon, Symbols::image(QStringLiteral("iphone"), Qt::white, icon.size(), devicePixelRatioF()));
    painter.setPen(Qt::white);
    painter.setFont(badgeFont());
    painter.drawText(content.adjusted(symbolSide + spacing, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
}
