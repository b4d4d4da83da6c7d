#include "picker/ColorHistoryRow.h"

#include "common/Style.h"
#include "picker/HistorySwatch.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

ColorHistoryRow::ColorHistoryRow(QWidget *parent)
    : QScrollArea(parent)
{
    setFixedHeight(42);
    setFocusPolicy(Qt::NoFocus);  // the keyboard stays with the picker's shortcuts
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    auto *strip = new QWidget;
    strip->setAutoFillBackground(false);
    m_row = new QHBoxLayout(strip);
    // The swatches carry 3 points of shadow room on each side.
    m_row->setContentsMargins(16 - 3, 0, 16 - 3, 0);
    m_row->setSpacing(0);
    m_row->addStretch();
    setWidget(strip);
    viewport()->setAutoFillBackground(false);
}

QList<HistorySwatch *> ColorHistoryRow::swatches() const
{
    return widget()->findChildren<HistorySwatch *>(QString(), Qt::FindDirectChildrenOnly);
}

void ColorHistoryRow::setEntries(const QList<QColor> &entries, const QColor &current, ColorMode mode)
{
    QList<HistorySwatch *> shown = swatches();
    QList<QColor> colors;
    for (const HistorySwatch *swatch : shown)
        colors << swatch->color();
    // Rebuilt only when the picks change: choosing a disc must not delete the
    // button that is still delivering its click.
    if (colors != entries) {
        qDeleteAll(shown);
        shown.clear();
        for (const QColor &entry : entries) {
            auto *swatch = new HistorySwatch(entry, false, widget());
            connect(swatch, &HistorySwatch::clicked, this, [this, entry] { Q_EMIT chosen(entry); });
            m_row->insertWidget(m_row->count() - 1, swatch);
            shown << swatch;
        }
    }
    for (HistorySwatch *swatch : shown) {
        swatch->setCurrent(ColorFormat::colorsEqual(swatch->color(), current));
        swatch->setToolTip(ColorFormat::colorString(swatch->color(), mode));
    }
}

void ColorHistoryRow::step(int delta)
{
    const QList<HistorySwatch *> shown = swatches();
    if (shown.isEmpty())
        return;
    const auto current = std::find_if(shown.cbegin(), shown.cend(), [](auto *swatch) { return swatch->isCurrent(); });
    const int from = current == shown.cend() ? (delta > 0 ? -1 : int(shown.size())) : int(current - shown.cbegin());
    HistorySwatch *target = shown.at(std::clamp(from + delta, 0, int(shown.size()) - 1));
    if (isAncestorOf(QApplication::focusWidget()))
        target->setFocus(Qt::ShortcutFocusReason);
    ensureWidgetVisible(target);
    Q_EMIT chosen(target->color());
}

void ColorHistoryRow::wheelEvent(QWheelEvent *event)
{
    // The row only scrolls sideways; an ordinary wheel turns it too.
    const QPoint pixels = event->pixelDelta();
    const QPoint angle = event->angleDelta();
    const auto major = [](QPoint d) { return std::abs(d.x()) > std::abs(d.y()) ? d.x() : d.y(); };
    const int step = pixels.isNull() ? major(angle) * 32 / 120 : major(pixels);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step);
    event->accept();
}

void ColorHistoryRow::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Style::withAlpha(palette().color(QPalette::WindowText), 0.04));
}
