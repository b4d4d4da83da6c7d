#include "picker/CopyButton.h"

#include "common/Style.h"
#include "common/Symbols.h"

#include <QPainter>

namespace {

const QColor green(52, 199, 89);
constexpr int symbolSize = 11;
constexpr int spacing = 5;

QFont buttonFont()
{
    return Style::font(11, QFont::DemiBold);
}

}  // namespace

CopyButton::CopyButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setText(QStringLiteral("Copy"));
    setFixedSize(sizeHint());
}

void CopyButton::setCopied(bool copied)
{
    m_copied = copied;
    setText(copied ? QStringLiteral("Copied") : QStringLiteral("Copy"));
    update();
}

QSize CopyButton::sizeHint() const
{
    // Wide enough for "Copied", so the bar does not move when it changes.
    const QFontMetrics metrics(buttonFont());
    return QSize(10 + symbolSize + spacing + metrics.horizontalAdvance(QStringLiteral("Copied")) + 10,
                 metrics.height() + 12);
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

    const QFontMetrics metrics(buttonFont());
    const int contentWidth = symbolSize + spacing + metrics.horizontalAdvance(text());
    const int left = (width() - contentWidth) / 2;
    const QString symbol = m_copied ? QStringLiteral("checkmark") : QStringLiteral("doc.on.clipboard");
    painter.drawPixmap(QPoint(left, (height() - symbolSize) / 2),
                       Symbols::pixmap(symbol, foreground, QSizeF(symbolSize, symbolSize), devicePixelRatioF()));
    painter.setFont(buttonFont());
    painter.setPen(foreground);
    painter.drawText(QRect(left + symbolSize + spacing, 0, width(), height()), Qt::AlignVCenter | Qt::AlignLeft,
                     text());
}
