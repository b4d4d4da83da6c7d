#include "library/LibraryRowView.h"

#include "capture/ScreenshotItem.h"
#include "common/Style.h"
#include "common/Symbols.h"
#include "library/LibraryListModel.h"
#include "search/SearchHighlight.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int padX = 8;
constexpr int padY = 7;
constexpr QSize thumbBox{36, 32};
constexpr int spacing = 10;
constexpr int rowHeight = 2 * padY + 32;
constexpr int snippetGap = 2;

QFont snippetFont(QFont::Weight weight = QFont::Normal)
{
    return Style::font(10, weight);
}

// One line of a search hit's text with the words that matched in bold, cut
// off with an ellipsis where it does not fit.
void drawSnippet(QPainter *painter, const QRect &rect, const QString &text,
                 const QList<SearchHighlight::Span> &bold)
{
    qsizetype from = 0;
    int x = rect.left();
    const auto draw = [&](qsizetype start, qsizetype length, bool strong) {
        if (length <= 0 || x >= rect.right())
            return;
        const QFont font = snippetFont(strong ? QFont::Bold : QFont::Normal);
        const QFontMetrics metrics(font);
        const QString piece = metrics.elidedText(text.mid(start, length), Qt::ElideRight, rect.right() - x);
        painter->setFont(font);
        painter->drawText(QRect(x, rect.top(), rect.right() - x, rect.height()), Qt::AlignLeft, piece);
        x += metrics.horizontalAdvance(piece);
        if (piece.size() < length)
            x = rect.right();  // cut off: nothing more fits
    };
    for (const SearchHighlight::Span &span : bold) {
        draw(from, span.start - from, false);
        draw(span.start, span.length, true);
        from = span.start + span.length;
    }
    draw(from, text.size() - from, false);
}

}  // namespace

LibraryRowView::LibraryRowView(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QSize LibraryRowView::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool snippet = !index.data(LibraryListModel::snippetRole).toString().isEmpty();
    return {option.rect.width(), rowHeight + (snippet ? snippetGap + QFontMetrics(snippetFont()).height() : 0)};
}

int LibraryRowView::cachedThumbnails() const
{
    int count = 0;
    for (const QUuid &id : m_cache.keys())
        count += m_cache.object(id)->thumbnail.isNull() ? 0 : 1;
    return count;
}

const LibraryRowView::Row &LibraryRowView::rowFor(const QModelIndex &index, qreal dpr) const
{
    const auto item = index.data(LibraryListModel::itemRole).value<ScreenshotItem>();
    const qint64 source = item.thumbnail.isNull() ? 0 : item.thumbnail.cacheKey();
    // Keyed on the ratio too: a move to another screen rescales.
    if (Row *row = m_cache.object(item.id); row && row->source == source && row->ratio == dpr)
        return *row;
    auto *row = new Row;
    row->source = source;
    row->ratio = dpr;
    if (!item.thumbnail.isNull()) {
        row->thumbnail = QPixmap::fromImage(item.thumbnail.scaled(thumbBox * dpr, Qt::KeepAspectRatio,
                                                                  Qt::SmoothTransformation));
        row->thumbnail.setDevicePixelRatio(dpr);
    }
    row->size = item.fileSize();
    m_cache.insert(item.id, row);
    return *row;
}

void LibraryRowView::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto item = index.data(LibraryListModel::itemRole).value<ScreenshotItem>();
    const QPalette &palette = option.palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, Style::withAlpha(Style::accent(palette), 0.18));
    else if (option.state & QStyle::State_MouseOver)
        painter->fillRect(option.rect, Style::withAlpha(Style::primary(palette), 0.08));

    const QRect content = option.rect.adjusted(padX + 8, padY, -padX - 8, -padY);
    const Row &row = rowFor(index, painter->device()->devicePixelRatioF());
    const QRect box(QPoint(content.left(), content.center().y() - thumbBox.height() / 2), thumbBox);
    QPainterPath clip;
    if (row.thumbnail.isNull()) {
        clip.addRoundedRect(box, 5, 5);
        painter->fillPath(clip, Style::withAlpha(Style::primary(palette), 0.07));
    } else {
        const QSizeF shown = row.thumbnail.deviceIndependentSize();
        QRectF target(QPointF(), shown);
        target.moveCenter(QRectF(box).center());
        clip.addRoundedRect(target, 5, 5);
        painter->setClipPath(clip);
        painter->drawPixmap(target.topLeft(), row.thumbnail);
        painter->setClipping(false);
    }

    int right = content.right();
    if (item.source == ScreenshotSource::iPhone) {
        const QPixmap mark = Symbols::pixmap(QStringLiteral("iphone"), Style::tertiary(palette), {9, 9},
                                             painter->device()->devicePixelRatioF());
        painter->drawPixmap(right - 9, content.center().y() - 4, mark);
        right -= 9 + spacing;
    }
    const int textLeft = box.right() + 1 + spacing;
    const QRect textRect(textLeft, content.top(), right - textLeft, content.height());

    const QFont nameFont = Style::font(11.5, QFont::Medium);
    painter->setFont(nameFont);
    painter->setPen(Style::primary(palette));
    const QFontMetrics nameMetrics(nameFont);
    const QFont infoFont = Style::font(10);
    const QFontMetrics infoMetrics(infoFont);
    const QString snippet = index.data(LibraryListModel::snippetRole).toString();
    const int snippetHeight = snippet.isEmpty() ? 0 : snippetGap + QFontMetrics(snippetFont()).height();
    const int top = textRect.center().y() - (nameMetrics.height() + 3 + infoMetrics.height() + snippetHeight) / 2;
    painter->drawText(QRect(textRect.left(), top, textRect.width(), nameMetrics.height()), Qt::AlignLeft,
                      nameMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, textRect.width()));

    painter->setFont(infoFont);
    QStringList parts{item.formattedDate(), item.formattedTime()};
    if (!row.size.isEmpty())
        parts << row.size;
    int x = textRect.left();
    const int y = top + nameMetrics.height() + 3;
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            painter->setPen(Style::quaternary(palette));
            const QString dot = QStringLiteral(" · ");
            painter->drawText(QRect(x, y, textRect.right() - x, infoMetrics.height()), Qt::AlignLeft, dot);
            x += infoMetrics.horizontalAdvance(dot);
        }
        painter->setPen(Style::secondary(palette));
        const QString text = infoMetrics.elidedText(parts.at(i), Qt::ElideRight, std::max(0, textRect.right() - x));
        painter->drawText(QRect(x, y, textRect.right() - x, infoMetrics.height()), Qt::AlignLeft, text);
        x += infoMetrics.horizontalAdvance(text);
    }
    if (!snippet.isEmpty()) {
        painter->setPen(Style::secondary(palette));
        const QRect line(textRect.left(), y + infoMetrics.height() + snippetGap, textRect.width(), snippetHeight);
        drawSnippet(painter, line, snippet,
                    index.data(LibraryListModel::snippetBoldRole).value<QList<SearchHighlight::Span>>());
    }
    painter->restore();
}
