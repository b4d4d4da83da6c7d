#include "shell/HoverPreviewView.h"

#include "common/Style.h"
#include "common/Symbols.h"
#include "shell/HoverPanelGeometry.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

constexpr double cornerRadius = 6;
constexpr int placeholderHeight = 80;
constexpr int contentWidth = int(HoverPanelGeometry::width - 2 * HoverPanelGeometry::padding);

// The thumbnail fitted into the space left by the text lines, rounded and
// outlined; without one, a faint tile with the photo symbol.
class PreviewImage : public QWidget
{
public:
    PreviewImage(const QImage &thumbnail, QWidget *parent)
        : QWidget(parent)
        , m_thumbnail(thumbnail)
    {
        if (thumbnail.isNull())
            setFixedHeight(placeholderHeight);
        setSizePolicy(QSizePolicy::Expanding, thumbnail.isNull() ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (m_thumbnail.isNull()) {
            paintPlaceholder(painter);
            return;
        }
        QSizeF fitted = QSizeF(m_thumbnail.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
        QRectF target(QPointF(0, 0), fitted);
        target.moveCenter(QRectF(rect()).center());
        QPainterPath clip;
        clip.addRoundedRect(target, cornerRadius, cornerRadius);
        painter.setClipPath(clip);
        painter.drawImage(target, m_thumbnail);
        painter.setClipping(false);
        painter.setPen(QPen(Style::withAlpha(Style::primary(palette()), 0.1), 0.5));
        painter.drawPath(clip);
    }

private:
    void paintPlaceholder(QPainter &painter)
    {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Style::withAlpha(Style::primary(palette()), 0.06));
        painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        const QSizeF symbol(24, 24);
        QRectF target(QPointF(0, 0), symbol);
        target.moveCenter(QRectF(rect()).center());
        painter.drawImage(target, Symbols::image(QStringLiteral("photo"), Style::tertiary(palette()), symbol,
                                                 devicePixelRatioF()));
    }

    QImage m_thumbnail;
};

}  // namespace

HoverPreviewView::HoverPreviewView(const ScreenshotItem &item, QWidget *parent)
    : QWidget(parent)
    , m_item(item)
{
    auto *column = new QVBoxLayout(this);
    const int padding = int(HoverPanelGeometry::padding);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(8);
    column->addWidget(buildImagePart(), 1);
    column->addWidget(buildNameLine());
    column->addWidget(buildDetailsLine());
}

QWidget *HoverPreviewView::buildImagePart()
{
    return new PreviewImage(m_item.thumbnail, this);
}

QWidget *HoverPreviewView::buildNameLine()
{
    const QFont font = Style::font(11, QFont::Medium);
    const QString name = QFileInfo(m_item.filePath()).fileName();
    auto *label = new QLabel(QFontMetrics(font).elidedText(name, Qt::ElideMiddle, contentWidth), this);
    label->setObjectName(QStringLiteral("hover.name"));
    label->setToolTip(QString());
    Style::apply(label, font, Style::primary(palette()));
    return label;
}

QWidget *HoverPreviewView::buildDetailsLine()
{
    auto *line = new QWidget(this);
    auto *row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    const QFont font = Style::font(10);
    auto add = [&](const QString &text, const QColor &color) {
        auto *label = new QLabel(text, line);
        Style::apply(label, font, color);
        row->addWidget(label);
    };
    m_details = detailParts(m_item);
    for (qsizetype i = 0; i < m_details.size(); ++i) {
        if (i > 0)
            add(QStringLiteral("·"), Style::quaternary(palette()));
        add(m_details.at(i), Style::tertiary(palette()));
    }
    row->addStretch(1);
    return line;
}

QStringList HoverPreviewView::detailParts(const ScreenshotItem &item)
{
    QStringList parts{item.formattedDate()};
    for (const QString &part : {item.imageDimensions(), item.fileSize()}) {
        if (!part.isEmpty())  // a file that is gone has neither
            parts << part;
    }
    return parts;
}

QString HoverPreviewView::detailsText() const
{
    return m_details.join(QStringLiteral(" · "));
}
