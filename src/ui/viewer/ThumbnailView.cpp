#include "viewer/ThumbnailView.h"

// Interim body: the image only, until the overlays land.
struct ThumbnailView::Private {
    std::optional<ScreenshotItem> item;
    DeviceFrameType frame = DeviceFrameType::none;
};

ThumbnailView::ThumbnailView(QWidget *parent)
    : QWidget(parent)
    , d(new Private)
{
}

ThumbnailView::~ThumbnailView()
{
    delete d;
}

void ThumbnailView::setItem(const std::optional<ScreenshotItem> &item)
{
    d->item = item;
    update();
}

std::optional<ScreenshotItem> ThumbnailView::item() const
{
    return d->item;
}

void ThumbnailView::setDeviceFrame(DeviceFrameType type)
{
    d->frame = type;
    update();
}

DeviceFrameType ThumbnailView::deviceFrame() const
{
    return d->frame;
}

void ThumbnailView::showCodes(const QList<QRectF> &, const QStringList &)
{
}

void ThumbnailView::clearCodes()
{
}

void ThumbnailView::setBadgeAllowed(bool)
{
}
