#include "picker/CopyButton.h"

#include "common/Style.h"
#include "common/SymbolText.h"

#include <QPainter>

#include <cmath>

namespace {

const QColor green(52, 199, 89);

SymbolText content(bool copied)
{
    return {copied ? QStringLiteral("checkmark") : QStringLiteral("doc.on.clipboard"),
            copied ? CopyButton::tr("Copied") : CopyButton::tr("Copy"), Style::font(11, QFont::DemiBold), 11, 5};
}

}  // namespace

CopyButton::CopyButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setText(tr("Copy"));
    setFixedSize(sizeHint());
}

void CopyButton::setCopied(bool copied)
{
    m_copied = copied;
    setText(copied ? tr("Copied") : tr("Copy"));
    update();
}

QSize CopyButton::sizeHint() const
{
    // Wide enough for "Copied", so the bar does not move when it changes.
    const QSizeF inner = content(true).size();
    return QSize(std::ceil(inner.width()) + 20, std::ceil(inner.height()) + 12);
}

void CopyButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor foreground = m_copied ? green : Style::primary(palette());
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_copied ? Style::withAlpha(green, 0.15)
                              : Style::withAlpha(palette().color(QPalette::WindowText), 0.08));
    painter.drawRoundedRect(QRectF(rect()), 7, 7);

    const SymbolText label = content(m_copied);
    const double contentWidth = label.size().width();
    label.draw(painter, QRectF(std::round((width() - contentWidth) / 2), 0, contentWidth, height()), foreground,
               devicePixelRatioF());
}
