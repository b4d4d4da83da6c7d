#include "settings/SettingsRow.h"

#include "common/Style.h"
#include "common/Symbols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

constexpr int tileSide = 30;

QPixmap tilePixmap(const QString &symbol, const QColor &color, qreal dpr)
{
    QPixmap pixmap(QSize(tileSide, tileSide) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, tileSide);
    gradient.setColorAt(0, color.lighter(115));
    gradient.setColorAt(1, color);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, tileSide, tileSide), 8, 8);
    painter.fillPath(tile, gradient);
    const QSizeF glyph(14, 14);
    painter.drawPixmap(QPointF((tileSide - glyph.width()) / 2, (tileSide - glyph.height()) / 2),
                       Symbols::pixmap(symbol, Qt::white, glyph, dpr));
    return pixmap;
}

}  // namespace

SettingsRow::SettingsRow(const QString &symbol, const QColor &tile, const QString &title, const QString &subtitle,
                         QWidget *control, QWidget *parent)
    : QWidget(parent)
    , m_subtitle(new QLabel(subtitle, this))
    , m_detail(new QLabel(this))
    , m_control(control)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 12, 14, 12);
    row->setSpacing(12);
    auto *icon = new QLabel(this);
    icon->setPixmap(tilePixmap(symbol, tile, devicePixelRatioF()));
    icon->setFixedSize(tileSide, tileSide);
    row->addWidget(icon, 0, Qt::AlignTop);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto *titleLabel = new QLabel(title, this);
    Style::apply(titleLabel, Style::font(13), Style::primary(palette()));
    texts->addWidget(titleLabel);
    // Long texts, as translations make them, take more lines rather than
    // widening the window: a wrapped label otherwise asks for the width that
    // keeps it within four lines.
    for (QLabel *label : {titleLabel, m_subtitle}) {
        label->setWordWrap(true);
        label->setMinimumWidth(1);
    }
    Style::apply(m_subtitle, Style::font(11), Style::secondary(palette()));
    texts->addWidget(m_subtitle);
    Style::apply(m_detail, Style::font(11, QFont::Medium), Style::tertiary(palette()));
    m_detail->hide();
    texts->addWidget(m_detail);
    row->addLayout(texts, 1);
    if (control) {
        control->setParent(this);
        row->addWidget(control, 0, Qt::AlignVCenter);
    }
}

void SettingsRow::setSubtitle(const QString &subtitle)
{
    m_subtitle->setText(subtitle);
}

QString SettingsRow::subtitle() const
{
    return m_subtitle->text();
}

void SettingsRow::setDetail(const QString &detail)
{
    m_detail->setText(detail);
    m_detail->setVisible(!detail.isEmpty());
}

QString SettingsRow::detail() const
{
    return m_detail->isVisibleTo(const_cast<SettingsRow *>(this)) ? m_detail->text() : QString();
}
