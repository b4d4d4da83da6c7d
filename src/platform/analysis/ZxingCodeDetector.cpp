#include "analysis/ZxingCodeDetector.h"

#include "analysis/HugePageImage.h"
#include "analysis/QrFinderLocator.h"

#include <QImage>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <future>

namespace {

// Bounds the masking rounds: a screenshot holding more bar codes than this is
// not a case worth a longer scan.
constexpr int kMaxLinearCodes = 8;

// Qt's own conversion to greyscale takes several times longer than the scan
// of a 5K screenshot; the weights are the library's own. Transparent parts
// count as white, as a viewer shows them.
QImage grayscale(const QImage &image)
{
    if (image.format() == QImage::Format_Grayscale8)
        return image;
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied
                           ? image
                           : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage gray = HugePageImage::allocate(rgb.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *out = gray.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = in[x];
            out[x] = uchar(ZXing::RGBToLum(unsigned(qRed(pixel)), unsigned(qGreen(pixel)), unsigned(qBlue(pixel)))
                           + 255 - qAlpha(pixel));
        }
    }
    return gray;
}

ZXing::ImageView viewOf(const QImage &gray)
{
    return {gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum, int(gray.bytesPerLine())};
}

QString formatName(ZXing::BarcodeFormat format)
{
    switch (format) {
    case ZXing::BarcodeFormat::QRCode:
        return QStringLiteral("QRCode");
    case ZXing::BarcodeFormat::Code128:
        return QStringLiteral("Code128");
    case ZXing::BarcodeFormat::EAN13:
        return QStringLiteral("EAN13");
    case ZXing::BarcodeFormat::PDF417:
        return QStringLiteral("PDF417");
    default:
        return QString::fromLatin1(ZXing::ToString(format));
    }
}

QRect pixelRect(const ZXing::Position &position)
{
    int left = position[0].x, right = left, top = position[0].y, bottom = top;
    for (const ZXing::PointI &corner : position) {
        left = std::min(left, corner.x);
        right = std::max(right, corner.x);
        top = std::min(top, corner.y);
        bottom = std::max(bottom, corner.y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QRectF normalised(const QRectF &pixels, const QSize &size)
{
    return QRectF(pixels.x() / size.width(), pixels.y() / size.height(), pixels.width() / size.width(),
                  pixels.height() / size.height());
}

DetectedCode codeFrom(const ZXing::Result &result, const QRectF &pixels, const QSize &size)
{
    DetectedCode code;
    code.format = formatName(result.format());
    if (result.isValid())
        code.text = QString::fromStdString(result.text());
    code.box = normalised(pixels, size);
    return code;
}

// A linear code is reported on the few scan lines that read it. Grows that
// band up and down over the rows that repeat its bar pattern, so the box
// covers the bars and masking removes the whole code, then over rows that
// hold only some of those bars: the guard bars of EAN codes reach lower.
class BarRows
{
public:
    BarRows(const QImage &gray, const QRect &bars)
        : m_gray(gray)
        , m_bars(bars)
        , m_reference(gray.constScanLine(bars.center().y()))
    {
        const auto [darkest, lightest] =
            std::minmax_element(m_reference + bars.left(), m_reference + bars.right() + 1);
        m_threshold = (*darkest + *lightest) / 2;
    }

    bool repeats(int y) const
    {
        const uchar *row = m_gray.constScanLine(y);
        int differing = 0;
        for (int x = m_bars.left(); x <= m_bars.right(); ++x)
            differing += dark(row, x) != dark(m_reference, x);
        return differing * 10 <= m_bars.width();
    }

    bool holdsSomeBars(int y) const
    {
        const uchar *row = m_gray.constScanLine(y);
        int strays = 0;
        int bars = 0;
        for (int x = m_bars.left(); x <= m_bars.right(); ++x) {
            strays += dark(row, x) && !dark(m_reference, x);
            bars += dark(row, x) && (x == m_bars.left() || !dark(row, x - 1));
        }
        return bars >= 4 && strays * 50 <= m_bars.width();
    }

private:
    bool dark(const uchar *row, int x) const { return row[x] < m_threshold; }

    const QImage &m_gray;
    QRect m_bars;
    const uchar *m_reference;
    int m_threshold = 128;
};

QRect barExtent(const QImage &gray, const QRect &line)
{
    const QRect bars = line.intersected(gray.rect());
    if (bars.isEmpty())
        return line;
    const BarRows rows(gray, bars);
    int top = bars.center().y();
    int bottom = top;
    const int last = gray.height() - 1;
    while (top > 0 && rows.repeats(top - 1))
        --top;
    while (bottom < last && rows.repeats(bottom + 1))
        ++bottom;
    while (top > 0 && rows.holdsSomeBars(top - 1))
        --top;
    while (bottom < last && rows.holdsSomeBars(bottom + 1))
        ++bottom;
    return QRect(bars.left(), top, bars.width(), bottom - top + 1);
}

// Paints out a found code. The first time, on a copy of its own: the image
// is shared with the matrix-code pass running beside.
void fillWhite(QImage &gray, const QRect &rect)
{
    if (!gray.isDetached()) {
        QImage copy = HugePageImage::allocate(gray.size(), gray.format());
        for (int y = 0; y < gray.height(); ++y)
            std::copy_n(gray.constScanLine(y), gray.width(), copy.scanLine(y));
        gray = copy;
    }
    const QRect area = rect.intersected(gray.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::fill_n(gray.scanLine(y) + area.left(), area.width(), uchar(255));
}

// QR and PDF417: several at once is safe for these.
void readMatrixCodes(const QImage &gray, QList<DetectedCode> &codes)
{
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::PDF417);
    // Screenshots are upright and sharp: the rotated and downscaled passes
    // found nothing more in them and took a third of the time.
    hints.setTryRotate(false);
    hints.setTryDownscale(false);
    for (const ZXing::Result &result : ZXing::ReadBarcodes(viewOf(gray), hints))
        codes.append(codeFrom(result, pixelRect(result.position()), gray.size()));
}

// The library aborts the process when one read meets a linear code twice
// (across its downscaled passes, or two codes with the same payload). Reading
// one symbol at a time never compares two results, so each read takes one
// code and paints it out before the next.
QList<DetectedCode> readLinearCodes(QImage gray)
{
    QList<DetectedCode> codes;
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Code128 | ZXing::BarcodeFormat::EAN13);
    hints.setTryRotate(false);
    hints.setTryDownscale(false);
    hints.setMaxNumberOfSymbols(1);
    for (int round = 0; round < kMaxLinearCodes; ++round) {
        const ZXing::Result result = ZXing::ReadBarcode(viewOf(gray), hints);
        if (result.format() == ZXing::BarcodeFormat::None)
            break;
        const QRect bars = barExtent(gray, pixelRect(result.position()));
        codes.append(codeFrom(result, bars, gray.size()));
        const int quietZone = std::max(4, bars.width() / 20);
        fillWhite(gray, bars.adjusted(-quietZone, -2, quietZone, 2));
    }
    return codes;
}

// QR codes whose finders were found but which the library could not read.
void addUnreadableQrCodes(const QList<QRectF> &located, const QSize &size, QList<DetectedCode> &codes)
{
    const qsizetype read = codes.size();
    for (const QRectF &pixels : located) {
        const QRectF box = normalised(pixels, size);
        const bool known = std::any_of(codes.cbegin(), codes.cbegin() + read, [&](const DetectedCode &code) {
            return code.box.contains(box.center());
        });
        if (!known)
            codes.append(DetectedCode{QStringLiteral("QRCode"), std::nullopt, box});
    }
}

struct OtherScans {
    QList<DetectedCode> linear;
    QList<QRectF> finders;
};

OtherScans linearCodesAndFinders(const QImage &gray)
{
    return {readLinearCodes(gray), QrFinderLocator::locate(gray)};
}

}  // namespace

QList<DetectedCode> ZxingCodeDetector::detect(const QImage &image) const
{
    if (image.isNull())
        return {};
    const QImage gray = grayscale(image);
    // Two threads share the work: on a 5K screenshot each half takes tens of
    // milliseconds.
    std::future<OtherScans> others = std::async(std::launch::async, linearCodesAndFinders, gray);
    QList<DetectedCode> codes;
    readMatrixCodes(gray, codes);
    const OtherScans other = others.get();
    addUnreadableQrCodes(other.finders, gray.size(), codes);
    codes.append(other.linear);
    return codes;
}
