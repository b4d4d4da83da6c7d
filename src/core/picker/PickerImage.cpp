#include "picker/PickerImage.h"

#include "common/UserImageFile.h"

#include <QColorSpace>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Below this the smooth scaler is fast enough on the full image.
constexpr int smallestHalf = 512;

// Screenshots often carry an alpha channel that is opaque everywhere.
bool everyPixelOpaque(const QImage &argb)
{
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        if (!std::all_of(line, line + argb.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
            return false;
    }
    return true;
}

// A 2.2 gamma with sRGB primaries is how many writers label sRGB (the PNG
// gAMA and cHRM pair is older than its sRGB chunk). Converted as a pure power
// curve, every mid-tone the picker reports would be off by a step or two.
bool labelsSrgb(QColorSpace space)
{
    if (space.transferFunction() != QColorSpace::TransferFunction::Gamma || std::abs(space.gamma() - 2.2f) > 0.05f)
        return false;
    space.setTransferFunction(QColorSpace::TransferFunction::SRgb);
    return space == QColorSpace(QColorSpace::SRgb);
}

QImage toSrgb(QImage image)
{
    const QColorSpace space = image.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb) && !labelsSrgb(space)) {
        // Converted before dropping to 8 bits, so a 16-bit image keeps its
        // precision through the transform.
        image.convertTo(image.depth() > 32 ? QImage::Format_RGBA64 : QImage::Format_ARGB32);
        image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    }
    // Opaque images are kept without alpha: they draw as plain copies.
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (everyPixelOpaque(image))
        image.reinterpretAsFormat(QImage::Format_RGB32);
    image.setColorSpace(QColorSpace(QColorSpace::SRgb));
    image.setDevicePixelRatio(1.0);
    return image;
}

}  // namespace

PickerImage PickerImage::load(const QString &path)
{
    UserImageFile::Decoded decoded = UserImageFile::read(path);
    PickerImage result = fromImage(std::move(decoded.image));
    result.m_problem = decoded.problem;
    return result;
}

PickerImage PickerImage::fromImage(QImage image)
{
    PickerImage result;
    if (image.isNull())
        return result;
    result.m_pixels = toSrgb(std::move(image));
    QImage half = result.m_pixels;
    while (half.width() / 2 >= smallestHalf && half.height() / 2 >= 1) {
        half = half.scaled(half.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        result.m_halves << half;
    }
    return result;
}

QImage PickerImage::scaled(const QSize &size) const
{
    if (isNull() || size.isEmpty())
        return {};
    if (size.width() >= m_pixels.width() || size.height() >= m_pixels.height())
        return m_pixels;
    QImage from = m_pixels;
    for (const QImage &half : m_halves) {
        if (half.width() < size.width() || half.height() < size.height())
            break;
        from = half;
    }
    return from.size() == size ? from : from.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
