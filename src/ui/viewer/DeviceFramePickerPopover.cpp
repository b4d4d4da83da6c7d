#include "viewer/DeviceFramePickerPopover.h"

#include "common/Style.h"
#include "common/Symbols.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

constexpr double padding = 12;
constexpr double columnSpacing = 8;
constexpr double labelSpacing = 4;
const QSizeF tileSize(42, 36);

QFont labelFont(bool selected)
{
    return Style::font(10, selected ? QFont::DemiBold : QFont::Normal);
}

double labelHeight()
{
    return std::ceil(QFontMetricsF(labelFont(true)).height());
}

}  // namespace

DeviceFramePickerPopover::DeviceFramePickerPopover(DeviceFrameType selected, QWidget *parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_options(DeviceFrame::allTypes())
    , m_selected(selected)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(sizeHint());
}

double DeviceFramePickerPopover::columnWidth(int index) const
{
    const QString label = DeviceFrame::label(m_options.at(index));
    return std::max(tileSize.width(), std::ceil(QFontMetricsF(labelFont(true)).horizontalAdvance(label)));
}

QRectF DeviceFramePickerPopover::columnRect(int index) const
{
    double x = padding;
    for (int i = 0; i < index; ++i)
        x += columnWidth(i) + columnSpacing;
    return QRectF(x, padding, columnWidth(index), tileSize.height() + labelSpacing + labelHeight());
}

QSize DeviceFramePickerPopover::sizeHint() const
{
    const QRectF last = columnRect(int(m_options.size()) - 1);
    return QSizeF(last.right() + padding, last.bottom() + padding).toSize();
}

QRect DeviceFramePickerPopover::tileRect(DeviceFrameType type) const
{
    const qsizetype index = m_options.indexOf(type);
    if (index < 0)
        return {};
    const QRectF column = columnRect(int(index));
    return QRectF(column.center().x() - tileSize.width() / 2, column.top(), tileSize.width(), tileSize.height())
        .toRect();
}

void DeviceFramePickerPopover::popup(const QPoint &globalPos)
{
    QRect geometry(globalPos, size());
    if (const QScreen *screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        geometry.moveRight(std::min(geometry.right(), area.right()));
        geometry.moveBottom(std::min(geometry.bottom(), area.bottom()));
    }
    move(geometry.topLeft());
    show();
}

void DeviceFramePickerPopover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(Style::withAlpha(palette().color(QPalette::WindowText), 0.15));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    const QColor primary = Style::primary(palette());
    for (int i = 0; i < m_options.size(); ++i) {
        const DeviceFrameType type = m_options.at(i);
        const bool selected = type == m_selected;
        const QRectF column = columnRect(i);
        const QRectF tile = tileRect(type);
        painter.setPen(Qt::NoPen);
        painter.setBrush(selected ? Style::accent(palette()) : Style::withAlpha(primary, 0.08));
        painter.drawRoundedRect(tile, 8, 8);
        const QSizeF symbol(17, 17);
        painter.drawImage(QRectF(tile.center() - QPointF(symbol.width() / 2, symbol.height() / 2), symbol),
                          Symbols::image(DeviceFrame::symbol(type), selected ? QColor(Qt::white) : primary, symbol,
                                         devicePixelRatioF()));
        painter.setFont(labelFont(selected));
        painter.setPen(selected ? primary : Style::secondary(palette()));
        painter.drawText(QRectF(column.left(), tile.bottom() + labelSpacing, column.width(), labelHeight()),
                         Qt::AlignCenter, DeviceFrame::label(type));
    }
}

void DeviceFramePickerPopover::mouseReleaseEvent(QMouseEvent *event)
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (columnRect(i).contains(event->position())) {
            m_selected = m_options.at(i);
            update();
            Q_EMIT chosen(m_selected);
            close();
            return;
        }
    }
    QWidget::mouseReleaseEvent(event);
}
