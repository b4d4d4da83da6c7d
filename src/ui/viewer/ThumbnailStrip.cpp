#include "viewer/ThumbnailStrip.h"

#include "common/Accessibility.h"
#include "common/AccessibleControl.h"
#include "common/Spring.h"
#include "common/Style.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr QSizeF smallSize{20, 13};
constexpr QSizeF currentSize{28, 18};
constexpr int spacing = 4;
constexpr int padX = 4;
constexpr int padY = 8;
constexpr int stripHeight = 34;

}  // namespace

// One small thumbnail; `emphasis` runs from 0 (another item) to 1 (current).
class StripThumbnail : public QWidget, public AccessibleControl
{
    Q_OBJECT
    Q_PROPERTY(double emphasis READ emphasis WRITE setEmphasis)
public:
    explicit StripThumbnail(QWidget *parent)
        : QWidget(parent)
    {
        setCursor(Qt::PointingHandCursor);
        setEmphasis(0);
    }

    void setItem(const ScreenshotItem &item, bool current)
    {
        m_image = item.thumbnail;
        if (item.id != m_id)
            setAccessibleName(Accessibility::pictureDescription(item));
        m_id = item.id;
        if (current != m_current) {
            m_current = current;
            Accessibility::stateChanged(this);
        }
        update();
    }

    QAccessible::Role accessibleRole() const override { return QAccessible::RadioButton; }
    QAccessible::State accessibleState() const override
    {
        QAccessible::State state;
        state.checkable = true;
        state.checked = m_current;
        return state;
    }
    bool isPressable() const override { return true; }
    void pressAccessibly() override { Q_EMIT clicked(); }
    double emphasis() const { return m_emphasis; }
    void setEmphasis(double value)
    {
        m_emphasis = value;
        const double t = std::clamp(value, 0.0, 1.2);
        setFixedSize(qRound(smallSize.width() + (currentSize.width() - smallSize.width()) * t),
                     qRound(smallSize.height() + (currentSize.height() - smallSize.height()) * t));
        update();
    }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            Q_EMIT clicked();
    }

    void paintEvent(QPaintEvent *) override
    {
        const double t = std::clamp(m_emphasis, 0.0, 1.0);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(0.55 + 0.45 * t);
        QPainterPath clip;
        clip.addRoundedRect(QRectF(rect()), 3, 3);
        painter.setClipPath(clip);
        if (m_image.isNull()) {
            painter.fillRect(rect(), Style::withAlpha(Style::primary(palette()), 0.1));
        } else {
            // Scaled to fill: the middle of the image, cut to this shape.
            const QSizeF scaled = QSizeF(m_image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatioByExpanding);
            const QRectF target((width() - scaled.width()) / 2, (height() - scaled.height()) / 2, scaled.width(),
                                scaled.height());
            painter.drawImage(target, m_image);
        }
        if (t > 0) {
            QColor accent = palette().color(QPalette::Highlight);
            accent.setAlphaF(float(t));
            painter.setClipping(false);
            painter.setPen(QPen(accent, 1.5));
            painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
        }
    }

private:
    QImage m_image;
    QUuid m_id;
    bool m_current = false;
    double m_emphasis = -1;
};

ThumbnailStrip::ThumbnailStrip(QWidget *parent)
    : QScrollArea(parent)
    , m_row(new QWidget(this))
{
    setObjectName(QStringLiteral("navRow.strip"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(stripHeight + 2 * padY);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Style::styleSheet(this, [] {
        return QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }");
    });
    auto *row = new QHBoxLayout(m_row);
    row->setContentsMargins(padX, padY, padX, padY);
    row->setSpacing(spacing);
    row->setAlignment(Qt::AlignCenter);  // a short row sits in the middle
    setWidget(m_row);
    setWidgetResizable(true);
}

QSize ThumbnailStrip::sizeHint() const
{
    return {100, stripHeight + 2 * padY};
}

void ThumbnailStrip::setItems(const QList<ScreenshotItem> &items, int current, bool animate)
{
    auto *row = static_cast<QHBoxLayout *>(m_row->layout());
    while (m_thumbnails.size() > items.size())
        delete m_thumbnails.takeLast();
    while (m_thumbnails.size() < items.size()) {
        auto *thumbnail = new StripThumbnail(m_row);
        const int index = int(m_thumbnails.size());
        connect(thumbnail, &StripThumbnail::clicked, this, [this, index] { Q_EMIT thumbnailClicked(index); });
        row->addWidget(thumbnail);
        m_thumbnails.append(thumbnail);
    }
    m_current = current;
    for (int i = 0; i < items.size(); ++i) {
        StripThumbnail *thumbnail = m_thumbnails.at(i);
        thumbnail->setItem(items.at(i), i == current);
        const double emphasis = i == current ? 1.0 : 0.0;
        if (animate)
            Springs::navigation.animate(thumbnail, "emphasis", emphasis);
        else
            thumbnail->setEmphasis(emphasis);
    }
    // At least as wide as the space it is given, and as its final contents.
    const int contentWidth = 2 * padX + int(items.size() - 1) * (int(smallSize.width()) + spacing)
        + int(currentSize.width());
    m_row->setMinimumWidth(contentWidth);
    centreCurrent(animate);
}

void ThumbnailStrip::centreCurrent(bool animate)
{
    if (m_thumbnails.isEmpty())
        return;
    // Where the current one's centre ends up once the sizes have settled.
    const int centre = padX + m_current * (int(smallSize.width()) + spacing) + int(currentSize.width()) / 2;
    const int contentWidth = std::max(m_row->minimumWidth(), viewport()->width());
    const int target = std::clamp(centre - viewport()->width() / 2, 0, std::max(0, contentWidth - viewport()->width()));
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth - viewport()->width()));
    if (animate)
        Springs::navigation.animate(horizontalScrollBar(), "value", target);
    else
        horizontalScrollBar()->setValue(target);
}

void ThumbnailStrip::wheelEvent(QWheelEvent *event)
{
    event->ignore();  // no scrolling by hand; swipes step through the items
}

void ThumbnailStrip::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    centreCurrent(false);
}

#include "ThumbnailStrip.moc"
