#include "viewer/ImageFit.h"

namespace ImageFit {

QRectF fittedRect(const QSizeF &frameSize, const QSizeF &imageSize)
{
    const double W = frameSize.width();
    const double H = frameSize.height();
    if (imageSize.width() <= 0 || imageSize.height() <= 0 || W <= 0 || H <= 0)
        return QRectF(0, 0, W, H);
    const double aspect = imageSize.width() / imageSize.height();
    if (W / H < aspect)
        return QRectF(0, (H - W / aspect) / 2, W, W / aspect);
    return QRectF((W - aspect * H) / 2, 0, aspect * H, H);
}

QRectF boxInFrame(const QRectF &b, const QRectF &fit)
{
    return QRectF(fit.x() + b.x() * fit.width(), fit.y() + b.y() * fit.height(), b.width() * fit.width(),
                  b.height() * fit.height());
}

}  // namespace ImageFit
