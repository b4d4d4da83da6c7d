#include "viewer/ThumbnailView.h"

#include "common/Accessibility.h"
#include "common/Style.h"
#include "common/Symbols.h"
#include "viewer/AnnotateButton.h"
#include "viewer/DeviceFrameOverlay.h"
#include "viewer/DeviceFramePickerPopover.h"
#include "viewer/FrameShadowEffect.h"
#include "viewer/ImageFit.h"
#include "viewer/PhoneBadge.h"
#include "viewer/QRBadgeButton.h"
#include "viewer/QRScanLineOverlay.h"
#include "viewer/ThumbnailFrame.h"
#include "viewer/ThumbnailOverlayButton.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr int buttonRowPadding = 8;
constexpr int buttonSpacing = 6;
constexpr int badgePadding = 6;

}  // namespace

struct ThumbnailView::Private {
    std::optional<ScreenshotItem> item;
    DeviceFrameType frame = DeviceFrameType::none;
    QStringList payloads;
    bool badgeAllowed = true;
    QPoint pressPos;
    bool dragArmed = false;

    QRScanLineOverlay *scan = nullptr;
    DeviceFrameOverlay *frameOverlay = nullptr;
    ThumbnailOverlayButton *pickColor = nullptr;
    ThumbnailOverlayButton *share = nullptr;
    AnnotateButton *annotate = nullptr;
    QRBadgeButton *badge = nullptr;
    PhoneBadge *phoneBadge = nullptr;
    FrameShadowEffect *shadow = nullptr;

    QSizeF imageSize() const { return item && !item->thumbnail.isNull() ? QSizeF(item->thumbnail.size()) : QSizeF(); }
};

ThumbnailView::ThumbnailView(QWidget *parent)
    : QWidget(parent)
    , d(new Private)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    // Later children lie above earlier ones: sweep, bezel, controls, badges.
    d->scan = new QRScanLineOverlay(this);
    d->frameOverlay = new DeviceFrameOverlay(this);
    d->pickColor = new ThumbnailOverlayButton(QStringLiteral("eyedropper.halffull"), tr("Pick Color"),
                                              Style::systemTeal(), this);
    d->share = new ThumbnailOverlayButton(QStringLiteral("square.and.arrow.up"), tr("Share"),
                                          Style::systemBlue(), this);
    d->annotate = new AnnotateButton(this);
    d->badge = new QRBadgeButton(this);
    d->phoneBadge = new PhoneBadge(this);

    connect(d->pickColor, &QAbstractButton::clicked, this, &ThumbnailView::pickColorRequested);
    connect(d->share, &QAbstractButton::clicked, this, [this] { Q_EMIT shareRequested(d->share); });
    connect(d->annotate, &QAbstractButton::clicked, this, &ThumbnailView::annotateRequested);
    connect(d->badge, &QRBadgeButton::copyRequested, this, &ThumbnailView::copyCodeRequested);
    connect(d->badge, &QRBadgeButton::openLinkRequested, this, &ThumbnailView::openLinkRequested);

    d->shadow = new FrameShadowEffect(
        [this] {
            QPainterPath shape;
            if (d->item && !d->item->thumbnail.isNull())
                shape.addRect(ImageFit::fittedRect(size(), d->imageSize()));
            return shape.intersected(ThumbnailFrame::clipPath(size()));
        },
        this);
    setGraphicsEffect(d->shadow);
    setItem(std::nullopt);
}

ThumbnailView::~ThumbnailView()
{
    delete d;
}

bool ThumbnailView::hasHeightForWidth() const
{
    return true;
}

int ThumbnailView::heightForWidth(int width) const
{
    return int(std::lround(width / ThumbnailFrame::aspectRatio));
}

QSize ThumbnailView::sizeHint() const
{
    return {332, heightForWidth(332)};
}

void ThumbnailView::setItem(const std::optional<ScreenshotItem> &item)
{
    // Codes belong to the item they were found in.
    if (!item || !d->item || item->id != d->item->id)
        clearCodes();
    d->item = item;
    const bool hasItem = item.has_value();
    setAccessibleName(hasItem ? Accessibility::pictureDescription(*item) : QString());
    const QList<QWidget *> controls{d->pickColor, d->share, d->annotate};
    for (QWidget *control : controls)
        control->setVisible(hasItem);
    d->phoneBadge->setShown(hasItem && item->source == ScreenshotSource::iPhone, isVisible());
    d->frameOverlay->setFrame(d->frame, d->imageSize());
    d->shadow->invalidateShape();
    update();
}

std::optional<ScreenshotItem> ThumbnailView::item() const
{
    return d->item;
}

void ThumbnailView::setDeviceFrame(DeviceFrameType type)
{
    d->frame = type;
    d->frameOverlay->setFrame(type, d->imageSize());
}

DeviceFrameType ThumbnailView::deviceFrame() const
{
    return d->frame;
}

void ThumbnailView::showCodes(const QList<QRectF> &boxes, const QStringList &payloads)
{
    d->payloads = payloads;
    d->scan->play(boxes, d->imageSize());
    d->badge->setPayloads(payloads);
    layoutChildren();
    d->badge->setShown(d->badgeAllowed && !payloads.isEmpty(), true);
}

void ThumbnailView::clearCodes()
{
    d->payloads.clear();
    d->scan->stop();
    d->badge->setShown(false, false);
}

void ThumbnailView::setBadgeAllowed(bool allowed)
{
    if (allowed == d->badgeAllowed)
        return;
    d->badgeAllowed = allowed;
    d->badge->setShown(allowed && !d->payloads.isEmpty(), isVisible());
}

ThumbnailView::DragOffer ThumbnailView::dragOffer(const ScreenshotItem &item)
{
    auto mimeData = std::make_unique<QMimeData>();
    mimeData->setUrls({item.url});
    return {std::move(mimeData), Qt::CopyAction, Qt::CopyAction};
}

void ThumbnailView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setClipPath(ThumbnailFrame::clipPath(size()));
    if (d->item && !d->item->thumbnail.isNull()) {
        painter.drawImage(ImageFit::fittedRect(size(), d->imageSize()), d->item->thumbnail);
        return;
    }
    const QSizeF symbol(28, 28);
    const QRectF target(QPointF((width() - symbol.width()) / 2, (height() - symbol.height()) / 2), symbol);
    painter.drawImage(target, Symbols::image(QStringLiteral("photo"), Style::tertiary(palette()), symbol,
                                             devicePixelRatioF()));
}

void ThumbnailView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
    d->shadow->invalidateShape();
}

void ThumbnailView::layoutChildren()
{
    d->scan->setGeometry(rect());
    d->frameOverlay->setGeometry(rect());

    const QRectF capsule = d->annotate->capsuleRect();
    const int round = d->pickColor->width();
    const double rowWidth = 2 * (round + buttonSpacing) + capsule.width();
    const double rowHeight = std::max<double>(round, capsule.height());
    const double left = std::round((width() - rowWidth) / 2);
    const double middle = height() - buttonRowPadding - rowHeight / 2;
    d->pickColor->move(int(left), int(std::round(middle - round / 2.0)));
    d->share->move(int(left) + round + buttonSpacing, int(std::round(middle - round / 2.0)));
    const QPointF annotateAt(left + 2 * (round + buttonSpacing), std::round(middle - capsule.height() / 2));
    d->annotate->move((annotateAt - capsule.topLeft()).toPoint());

    const QRectF badge = d->badge->capsuleRect();
    d->badge->move((QPointF(width() - badgePadding - badge.width(), badgePadding) - badge.topLeft()).toPoint());
    d->phoneBadge->move(badgePadding, badgePadding);
}

void ThumbnailView::mousePressEvent(QMouseEvent *event)
{
    d->dragArmed = event->button() == Qt::LeftButton && d->item;
    d->pressPos = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void ThumbnailView::mouseMoveEvent(QMouseEvent *event)
{
    if (d->dragArmed && (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - d->pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        d->dragArmed = false;
        startDrag();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void ThumbnailView::mouseReleaseEvent(QMouseEvent *event)
{
    d->dragArmed = false;
    QWidget::mouseReleaseEvent(event);
}

void ThumbnailView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && d->item) {
        Q_EMIT openRequested();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void ThumbnailView::contextMenuEvent(QContextMenuEvent *event)
{
    if (!d->item)
        return;
    showFramePicker(event->globalPos());
}

void ThumbnailView::showFramePicker(const QPoint &globalPos)
{
    auto *picker = new DeviceFramePickerPopover(d->frame, this);
    connect(picker, &DeviceFramePickerPopover::chosen, this, &ThumbnailView::frameChosen);
    picker->popup(globalPos);
}

void ThumbnailView::startDrag()
{
    DragOffer offer = dragOffer(*d->item);
    auto *drag = new QDrag(this);
    drag->setMimeData(offer.mimeData.release());
    if (!d->item->thumbnail.isNull()) {
        const qreal ratio = devicePixelRatioF();  // 120 points wide, crisp on a HiDPI screen
        QImage preview = d->item->thumbnail.scaledToWidth(int(120 * ratio), Qt::SmoothTransformation);
        preview.setDevicePixelRatio(ratio);
        drag->setPixmap(QPixmap::fromImage(preview));
        const QSizeF shown = preview.deviceIndependentSize();
        drag->setHotSpot(QPoint(int(shown.width() / 2), int(shown.height() / 2)));
    }
    drag->exec(offer.actions, offer.defaultAction);
}
