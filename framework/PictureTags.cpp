#include "framework/PictureTags.h"

#include <QtEndian>
#include <cstring>

QImageIOHandler::Transformations TurnOfOrientation(int orientation)
{
    // The EXIF values in order: as stored, mirrored, half a turn, flipped, mirrored along the
    // main diagonal, a quarter clockwise, mirrored along the other diagonal, a quarter back.
    static const QImageIOHandler::Transformations turns[] = {
        QImageIOHandler::TransformationNone,          QImageIOHandler::TransformationMirror,
        QImageIOHandler::TransformationRotate180,     QImageIOHandler::TransformationFlip,
        QImageIOHandler::TransformationFlipAndRotate90, QImageIOHandler::TransformationRotate90,
        QImageIOHandler::TransformationMirrorAndRotate90, QImageIOHandler::TransformationRotate270,
    };
    return orientation >= 1 && orientation <= 8 ? turns[orientation - 1] : QImageIOHandler::TransformationNone;
}

int ExifOrientation(QByteArrayView exif)
{
    if (exif.startsWith(QByteArrayView("Exif\0\0", 6)))
        exif = exif.sliced(6);
    const auto* at = reinterpret_cast<const uchar*>(exif.data());
    const qint64 size = exif.size();
    if (size < 8 || !(exif.startsWith("II*\0") || exif.startsWith("MM\0*")))
        return 0;
    const bool little = exif[0] == 'I';
    auto number16 = [&](qint64 pos) { return little ? qFromLittleEndian<quint16>(at + pos) : qFromBigEndian<quint16>(at + pos); };
    auto number32 = [&](qint64 pos) { return little ? qFromLittleEndian<quint32>(at + pos) : qFromBigEndian<quint32>(at + pos); };
    const qint64 directory = number32(4);
    if (directory < 8 || directory > size - 2)
        return 0;
    const int entries = number16(directory);
    for (int i = 0; i < entries; ++i) {
        const qint64 entry = directory + 2 + 12 * qint64(i);
        if (entry + 12 > size)
            return 0;
        constexpr quint16 orientationTag = 0x0112, shortType = 3;
        if (number16(entry) == orientationTag && number16(entry + 2) == shortType)
            return number16(entry + 8);
    }
    return 0;
}

QImageIOHandler::Transformations WebpTurn(QByteArrayView webp)
{
    // A RIFF file of chunks: a four-letter name, a little-endian length, the data, padded to an
    // even length.
    const auto* at = reinterpret_cast<const uchar*>(webp.data());
    for (qint64 pos = 12; pos + 8 <= webp.size();) {
        const qint64 length = qFromLittleEndian<quint32>(at + pos + 4);
        if (length > webp.size() - pos - 8)
            break;
        if (std::memcmp(at + pos, "EXIF", 4) == 0)
            return TurnOfOrientation(ExifOrientation(webp.sliced(pos + 8, length)));
        pos += 8 + length + (length & 1);
    }
    return QImageIOHandler::TransformationNone;
}
