#pragma once

#include "Mutator.h"
#include "TestSupport.h"

#include <QtEndian>

#include <algorithm>

// Edits of valid PNG and JPEG files that know their structure, so that most
// damaged files get past the signature and the header checks and reach the
// decoders' deeper paths: a header that lies about the size, a length that
// disagrees with its data, a wrong checksum, a cut scan, a missing or repeated
// chunk.
namespace TestSupport {

namespace ImageMutationDetail {

inline const QList<QByteArray> &imageTokens()
{
    static const QList<QByteArray> tokens{"\xff\xd8", "\xff\xd9", "\xff\xda", "\xff\x00", "IEND", "IDAT",
                                          QByteArray(4, '\0'), "\xff\xff\xff\xff", "\x89PNG"};
    return tokens;
}

template <typename T>
T get(const QByteArray &data, qsizetype at) { return qFromBigEndian<T>(data.constData() + at); }
template <typename T>
void put(QByteArray &data, qsizetype at, T value) { qToBigEndian(value, data.data() + at); }

// A header's size fields: field 0 the first, 1 the second, 2 both, set to claim.
template <typename T>
void claimSize(QByteArray &data, qsizetype firstAt, qsizetype secondAt, int field, T claim)
{
    if (field != 1)
        put(data, firstAt, claim);
    if (field != 0)
        put(data, secondAt, claim);
}

// A piece of the file: a PNG chunk (length, type, data, CRC) or a JPEG
// segment (marker, length, data).
struct Piece {
    qsizetype at;
    qsizetype size;
    quint32 kind;  // the JPEG marker, or the PNG chunk type as a number
};

inline QList<Piece> pngChunks(const QByteArray &png)
{
    QList<Piece> chunks;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qsizetype size = 12 + qsizetype(get<quint32>(png, at));
        if (size > png.size() - at)
            break;
        chunks.append({at, size, get<quint32>(png, at + 4)});
        at += size;
    }
    return chunks;
}

// The segments up to and including the first scan's header.
inline QList<Piece> jpegSegments(const QByteArray &jpeg)
{
    QList<Piece> segments;
    for (qsizetype at = 2; at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xff;) {
        const qsizetype size = 2 + get<quint16>(jpeg, at + 2);
        segments.append({at, size, uchar(jpeg[at + 1])});
        if (segments.last().kind == 0xda || size > jpeg.size() - at)
            break;
        at += size;
    }
    return segments;
}

// A piece removed, or repeated right after itself or at the end.
inline QByteArray dropOrRepeat(Mutator &random, QByteArray data, const Piece &piece)
{
    const QByteArray copy = data.mid(piece.at, piece.size);
    switch (random.below(3)) {
    case 0: return data.remove(piece.at, piece.size);
    case 1: return data.insert(piece.at + piece.size, copy);
    default: return data + copy;
    }
}

inline QByteArray pngEdit(Mutator &random, QByteArray png)
{
    const QList<Piece> chunks = pngChunks(png);
    if (chunks.isEmpty())
        return random.bytes(png, imageTokens());
    const Piece &chunk = chunks[random.below(int(chunks.size()))];
    const Piece *header = chunks[0].kind == 0x49484452 && chunks[0].size == 25 ? &chunks[0] : nullptr;  // IHDR
    const auto data = std::find_if(chunks.cbegin(), chunks.cend(), [](const Piece &piece) {
        return piece.kind == 0x49444154;  // IDAT
    });
    switch (random.below(6)) {
    case 0:
        if (!header)
            break;
        // 0 width, 1 height, 2 both (a small file claiming 60000×60000), then the five bytes after them
        if (const int field = random.below(8); field < 3)
            claimSize(png, header->at + 8, header->at + 12, field,
                      random.pick<quint32>({0, 1, 2, 31, 60000, 65535, 0x7fffffff, 0x80000000, ~0u}));
        else  // bit depth, colour type, compression, filter, interlace
            png[header->at + 13 + field] = char(random.pick<int>({0, 1, 2, 3, 4, 6, 7, 8, 16, 255}));
        if (random.below(8))  // mostly with a valid checksum, so the header is believed
            put(png, header->at + 21, crc32(png.mid(header->at + 4, 17)));
        break;
    case 1: {
        const quint32 length = quint32(chunk.size - 12);
        put(png, chunk.at, random.pick<quint32>({0, 1, length - 1, length + 1, length * 2, 0x7fffffff, ~0u}));
        break;
    }
    case 2: {
        const qsizetype at = chunk.at + chunk.size - 1 - random.below(4);
        png[at] = char(png[at] ^ (1 << random.below(8)));
        break;
    }
    case 3:
        if (data != chunks.cend())
            png.truncate(data->at + 8 + random.below(int(data->size - 8)));
        break;
    case 4:
        return dropOrRepeat(random, png, random.below(2) ? chunks.last() : chunk);  // often IEND
    default:
        return random.bytes(png, imageTokens());
    }
    return png;
}

inline QByteArray jpegEdit(Mutator &random, QByteArray jpeg)
{
    const QList<Piece> segments = jpegSegments(jpeg);
    if (segments.isEmpty())
        return random.bytes(jpeg, imageTokens());
    const Piece &segment = segments[random.below(int(segments.size()))];
    // A start of frame: C0 to CF, less DHT (C4), JPG (C8) and DAC (CC).
    const auto frame = std::find_if(segments.cbegin(), segments.cend(), [](const Piece &piece) {
        return piece.kind >= 0xc0 && piece.kind <= 0xcf && (piece.kind == 0xc0 || piece.kind % 4 != 0);
    });
    const Piece &scan = segments.last();
    switch (random.below(5)) {
    case 0:
        if (frame == segments.cend() || frame->size < 10)
            break;
        // 0 height, 1 width, 2 both, 3 sample precision, 4 component count
        if (const int field = random.below(5); field < 3)
            claimSize(jpeg, frame->at + 5, frame->at + 7, field, random.pick<quint16>({0, 1, 2, 31, 60000, 65535}));
        else
            jpeg[frame->at + (field == 3 ? 4 : 9)] = char(random.pick<int>({0, 1, 2, 3, 4, 8, 12, 16, 255}));
        break;
    case 1: {
        const quint16 length = quint16(segment.size - 2);
        put(jpeg, segment.at + 2, random.pick<quint16>({0, 1, 2, quint16(length - 1), quint16(length + 1), 65535}));
        break;
    }
    case 2:
        if (scan.kind == 0xda && scan.at + scan.size < jpeg.size())
            jpeg.truncate(scan.at + scan.size + random.below(int(jpeg.size() - scan.at - scan.size)));
        break;
    case 3:
        if (random.below(2))
            return jpeg.chopped(2);  // no end marker
        return dropOrRepeat(random, jpeg, segment);
    default:
        return random.bytes(jpeg, imageTokens());
    }
    return jpeg;
}

// One to three structural edits, now and then a plain byte edit.
template <QByteArray (*edit)(Mutator &, QByteArray)>
QByteArray mutate(Mutator &random, QByteArray data)
{
    for (int edits = 1 + random.below(3); edits > 0; --edits)
        data = edit(random, data);
    return data;
}

}  // namespace ImageMutationDetail

constexpr auto mutatePng = ImageMutationDetail::mutate<ImageMutationDetail::pngEdit>;
constexpr auto mutateJpeg = ImageMutationDetail::mutate<ImageMutationDetail::jpegEdit>;

}  // namespace TestSupport
