#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QColor>
#include <QImageReader>
#include <QImageWriter>
#include <QTransform>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <libheif/heif.h>
#include <zlib.h>

namespace {

const QSize kShortData(16, 16);
const QColor kFlatColour(40, 90, 160);
const QRgb kQuarterColours[4] = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(40, 50, 210), qRgb(230, 220, 20)};

// The numbers in `size` bytes each, the least significant first.
QByteArray Le(int size, std::initializer_list<qint64> values)
{
    QByteArray bytes;
    for (const qint64 value : values)
        for (int i = 0; i < size; ++i)
            bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

// The number in `size` bytes, the most significant first.
QByteArray Be(int size, qint64 value)
{
    QByteArray bytes = Le(size, {value});
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

// The picture written by Qt's writer of the format ("progressive": a progressive JPEG).
QByteArray Written(const QImage& image, const char* format, int quality, bool optimised)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const bool progressive = qstrcmp(format, "progressive") == 0;
    QImageWriter writer(&buffer, progressive ? "jpeg" : format);
    writer.setProgressiveScanWrite(progressive);
    writer.setOptimizedWrite(optimised);
    writer.setQuality(quality);
    writer.write(image);
    return buffer.data();
}

// The JPEG with the size in its frame header changed.
QByteArray WithJpegSize(QByteArray jpeg, QSize size)
{
    for (qsizetype pos = 2; pos + 9 <= jpeg.size(); pos += 2 + qFromBigEndian<quint16>(jpeg.constData() + pos + 2)) {
        const uchar marker = uchar(jpeg[pos + 1]);
        if (marker == 0xC0 || marker == 0xC2)
            return jpeg.replace(pos + 5, 4, Be(2, size.height()) + Be(2, size.width()));
    }
    return jpeg;
}

// LZW codes for `pixels` pixels of colour 0, the table kept once it is full (GIF allows it), so
// that late codes stand for the longest runs. The table's strings are then runs of 2, 3, ...
QByteArray FlatLzw(qint64 pixels)
{
    constexpr int clear = 4, end = 5, first = 6, tableSize = 4096;
    QByteArray codes;
    quint32 bits = 0;
    int bitCount = 0, codeSize = 3, next = first;
    auto put = [&](int code) {
        bits |= quint32(code) << bitCount;
        for (bitCount += codeSize; bitCount >= 8; bitCount -= 8, bits >>= 8)
            codes += char(bits & 0xFF);
    };
    put(clear);
    for (qint64 left = pixels; left > 0;) {
        const qint64 run = std::min<qint64>(left, next - first + 1);
        put(run == 1 ? 0 : first + int(run) - 2);
        left -= run;
        if (left > 0 && next < tableSize && ++next > (1 << codeSize) && codeSize < 12)
            ++codeSize;
    }
    put(end);
    if (bitCount > 0)
        codes += char(bits & 0xFF);
    return codes;
}

QByteArray Gif(QSize size, qint64 pixels)
{
    // A table of four colours, then the picture: no colours of its own, codes of two bits and up.
    QByteArray gif = "GIF89a" + Le(2, {size.width(), size.height()}) + QByteArray("\x81\0\0", 3);
    gif += QByteArray(1, char(kFlatColour.red())) + char(kFlatColour.green()) + char(kFlatColour.blue()) + QByteArray(9, 0);
    gif += '\x2C' + Le(2, {0, 0, size.width(), size.height()}) + QByteArray("\0\2", 2);
    const QByteArray codes = FlatLzw(pixels);
    for (qsizetype pos = 0; pos < codes.size(); pos += 255)
        gif += char(std::min<qsizetype>(255, codes.size() - pos)) + codes.mid(pos, 255);
    return gif + QByteArray("\0\x3B", 2);
}

// An 8-bit run-length bitmap of `size` whose first `rows` rows of `width` pixels are painted.
QByteArray RleBitmap(QSize size, int rows, int width)
{
    QByteArray runs;
    for (int row = 0; row < rows; ++row) {
        for (int left = width; left > 0; left -= 255)
            runs += char(std::min(left, 255)) + QByteArray(1, 0);
        runs += row + 1 < rows ? QByteArray(2, 0) : QByteArray("\0\1", 2);  // end of the row, of the picture
    }
    constexpr int headers = 14 + 40, palette = 2 * 4;
    QByteArray bitmap = "BM" + Le(4, {headers + palette + runs.size(), 0, headers + palette, 40});
    bitmap += Le(4, {size.width(), size.height()});
    bitmap += Le(2, {1, 8}) + Le(4, {1, runs.size(), 2835, 2835, 2, 0});  // RLE8, two colours
    bitmap += QByteArray(1, char(kFlatColour.blue())) + char(kFlatColour.green()) + char(kFlatColour.red()) + QByteArray(5, 0);
    return bitmap + runs;
}

// The PNG with the size in its header changed, and the header's check sum with it.
QByteArray WithPngSize(QByteArray png, QSize size)
{
    constexpr int header = 8 + 4, end = header + 4 + 13;
    png.replace(header + 4, 8, Be(4, size.width()) + Be(4, size.height()));
    const uLong sum = crc32(0, reinterpret_cast<const Bytef*>(png.constData() + header), end - header);
    return png.replace(end, 4, Be(4, qint64(sum)));
}

// The first chunk of a RIFF file, whole: name, length, data and the byte that pads it to even.
QByteArray FirstChunk(const QByteArray& riff)
{
    const qsizetype length = qFromLittleEndian<quint32>(riff.constData() + 16);
    return riff.mid(12, 8 + length + (length & 1));
}

QByteArray Chunk(const QByteArray& name, const QByteArray& data)
{
    return name + Le(4, {data.size()}) + data + QByteArray(data.size() % 2, 0);
}

QByteArray Riff(const QByteArray& chunks)
{
    return "RIFF" + Le(4, {4 + chunks.size()}) + "WEBP" + chunks;
}

QByteArray ExtendedHeader(int flags, QSize size)
{
    return Chunk("VP8X", Le(4, {flags}) + Le(3, {size.width() - 1, size.height() - 1}));  // flags, then size
}

QSize WebpSize(const QByteArray& webp)
{
    QBuffer buffer;
    buffer.setData(webp);
    return QImageReader(&buffer).size();
}

// A box of HEIF's; given a version, a full box of that version without flags.
QByteArray Box(const char* type, const QByteArray& contents, int version = -1)
{
    const QByteArray full = version >= 0 ? Be(4, qint64(version) << 24) : QByteArray();
    return Be(4, 8 + full.size() + contents.size()) + type + full + contents;
}

} // namespace

QStringList TestPictureKinds()
{
    return {"jpeg", "progressive", "png", "gif", "rle", "bmp", "pbm", "xbm", "xpm"};
}

QByteArray FlatPicture(const QString& kind, QSize size)
{
    if (kind == "gif")
        return Gif(size, qint64(size.width()) * size.height());
    if (kind == "rle")
        return RleBitmap(size, size.height(), size.width());
    QImage flat(size, QImage::Format_RGB32);
    flat.fill(kFlatColour);
    const int quality = kind == "png" ? 0 : -1;  // PNG at deflate's best level, the others at their default
    return Written(flat, kind.toLatin1().constData(), quality, true);
}

QByteArray ShortPicture(const QString& kind, QSize size)
{
    const QByteArray width = QByteArray::number(size.width()), height = QByteArray::number(size.height());
    const int pixels = kShortData.width() * kShortData.height();
    if (kind == "jpeg" || kind == "progressive")
        return WithJpegSize(FlatPicture(kind, kShortData), size);
    if (kind == "png")
        return WithPngSize(FlatPicture(kind, kShortData), size);
    if (kind == "gif")
        return Gif(size, pixels);
    if (kind == "rle")
        return RleBitmap(size, kShortData.height(), kShortData.width());
    if (kind == "bmp")  // the width and height in the information header
        return FlatPicture(kind, kShortData).replace(18, 8, Le(4, {size.width(), size.height()}));
    if (kind == "pbm")
        return "P4\n" + width + ' ' + height + '\n' + QByteArray(pixels / 8, 0);
    if (kind == "xbm")
        return "#define short_width " + width + "\n#define short_height " + height + "\nstatic char short_bits[] = {\n" +
               QByteArray("0x00,").repeated(pixels / 8) + "};\n";
    if (kind == "xpm")
        return "/* XPM */\nstatic char *short[] = {\n\"" + width + ' ' + height + " 1 1\",\n\"a c #285AA0\",\n" +
               ('"' + QByteArray(kShortData.width(), 'a') + "\",\n").repeated(kShortData.height()) + "};\n";
    return {};
}

QByteArray WithScans(const QByteArray& jpeg, int scans)
{
    const qsizetype last = jpeg.lastIndexOf("\xFF\xDA"), end = jpeg.lastIndexOf("\xFF\xD9");
    return jpeg.left(end) + jpeg.sliced(last, end - last).repeated(scans - int(jpeg.count("\xFF\xDA"))) + jpeg.sliced(end);
}

QRgb QuarterAt(int x, int y, QSize size)
{
    const bool right = x >= size.width() / 2, bottom = y >= size.height() / 2;
    return kQuarterColours[bottom ? (right ? 2 : 3) : (right ? 1 : 0)];
}

QImage Quarters(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, QuarterAt(x, y, size));
    return image;
}

QByteArray QuartersSvg(QSize size)
{
    const int w = size.width() / 2, h = size.height() / 2;
    QByteArray svg = QString("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2'>").arg(size.width()).arg(size.height()).toUtf8();
    const QPoint corners[] = {{0, 0}, {w, 0}, {w, h}, {0, h}};  // in the order of the colours
    for (int i = 0; i < 4; ++i)
        svg += QString("<rect x='%1' y='%2' width='%3' height='%4' fill='%5'/>").arg(corners[i].x()).arg(corners[i].y()).arg(w).arg(h)
                   .arg(QColor(kQuarterColours[i]).name()).toUtf8();
    return svg + QString("<circle cx='%1' cy='%2' r='%2' fill='none' stroke='black' stroke-width='2'/></svg>\n").arg(w).arg(h).toUtf8();
}

QByteArray Encoded(const QImage& image, const char* format)
{
    return Written(image, format, qstrcmp(format, "webp") == 0 ? 100 : 95, false);  // 100: lossless WebP
}

QImage AsStoredFor(const QImage& upright, int orientation)
{
    const QImage quarter = upright.transformed(QTransform().rotate(90));  // a quarter clockwise
    switch (orientation) {
    case 2: return upright.mirrored(true, false);
    case 3: return upright.mirrored(true, true);
    case 4: return upright.mirrored(false, true);
    case 5: return quarter.mirrored(true, false);  // mirrored along the main diagonal
    case 6: return upright.transformed(QTransform().rotate(270));
    case 7: return quarter.mirrored(false, true);  // mirrored along the other diagonal
    case 8: return quarter;
    default: return upright;
    }
}

QByteArray ExifWithOrientation(int orientation)
{
    // The first directory at 8; one entry, the orientation, a short; no next directory.
    return QByteArray("Exif\0\0II*\0", 10) + Le(4, {8}) + Le(2, {1, 0x0112, 3}) + Le(4, {1})
           + Le(2, {orientation, 0}) + Le(4, {0});
}

QByteArray JpegWithOrientation(const QByteArray& jpeg, int orientation)
{
    const QByteArray exif = ExifWithOrientation(orientation);
    return jpeg.left(2) + "\xFF\xE1" + Be(2, exif.size() + 2) + exif + jpeg.sliced(2);
}

QByteArray TiffPicture(const QImage& image, int orientation, int pages, QSize declared, QSize tile)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray strip;
    for (int y = 0; y < rgb.height(); ++y)
        strip += QByteArray(reinterpret_cast<const char*>(rgb.constScanLine(y)), 3 * rgb.width());
    const QSize size = declared.isEmpty() ? rgb.size() : declared;
    // The header, the first page's place (after the strip and the samples' bits), the strip.
    QByteArray tiff = QByteArray("II*\0", 4) + Le(4, {8 + strip.size() + 8}) + strip + Le(2, {8, 8, 8, 0});
    const bool tiled = !tile.isEmpty();
    const std::vector<std::pair<int, qint64>> fields{
        {256, size.width()}, {257, size.height()}, {258, 8 + strip.size()}, {259, 1}, {262, 2},
        {tiled ? 324 : 273, 8}, {274, orientation}, {277, 3},
        {tiled ? 322 : 278, tiled ? tile.width() : size.height()}, {tiled ? 325 : 279, strip.size()},
        {323, tiled ? tile.height() : 0}};
    for (int page = 0; page < pages; ++page) {
        QByteArray directory;
        int count = 0;
        for (const auto& [tag, value] : fields) {
            if ((tag == 274 && value == 0) || (tag == 323 && !tiled))
                continue;
            directory += Le(2, {tag, tag == 258 ? 3 : 4}) + Le(4, {tag == 258 ? 3 : 1, value});
            ++count;
        }
        const qint64 next = page + 1 < pages ? tiff.size() + 2 + directory.size() + 4 : 0;
        tiff += Le(2, {count}) + directory + Le(4, {next});
    }
    return tiff;
}

QByteArray WebpWithMetadata(const QByteArray& webp, int orientation, const QByteArray& icc)
{
    const int flags = (icc.isEmpty() ? 0 : 0x20) | (orientation ? 0x08 : 0);
    QByteArray chunks = ExtendedHeader(flags, WebpSize(webp));
    if (!icc.isEmpty())
        chunks += Chunk("ICCP", icc);
    chunks += FirstChunk(webp);
    if (orientation)
        chunks += Chunk("EXIF", ExifWithOrientation(orientation).sliced(6));
    return Riff(chunks);
}

QByteArray AnimatedWebp(const QList<QByteArray>& frames, QSize size)
{
    // White behind, played for ever; each frame over the whole picture for 100 ms.
    QByteArray chunks = ExtendedHeader(0x02, size) + Chunk("ANIM", Le(4, {0xFFFFFFFF}) + Le(2, {0}));
    const QByteArray place = Le(3, {0, 0, size.width() - 1, size.height() - 1, 100}) + QByteArray(1, 0);
    for (const QByteArray& frame : frames)
        chunks += Chunk("ANMF", place + FirstChunk(frame));
    return Riff(chunks);
}

QByteArray Gzipped(const QByteArray& bytes)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray gzip(qsizetype(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(gzip.data());
    stream.avail_out = uInt(gzip.size());
    deflate(&stream, Z_FINISH);
    gzip.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return gzip;
}

QByteArray HeifEncoded(const QImage& image, const char* kind, int primaries, int orientation)
{
    const heif_compression_format format = qstrcmp(kind, "avif") == 0 ? heif_compression_AV1 : heif_compression_HEVC;
    if (!heif_have_encoder_for_format(format))
        return {};
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, format, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    // The quickest of each encoder's settings: the tests need pictures, not small files.
    if (format == heif_compression_HEVC)
        heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
    else
        heif_encoder_set_parameter_integer(encoder, "speed", 9);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    heif_image* picture = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &picture);
    heif_image_add_plane(picture, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(3 * rgb.width()));
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    heif_nclx_color_profile_set_color_primaries(nclx, uint16_t(primaries));
    heif_nclx_color_profile_set_transfer_characteristics(nclx, heif_transfer_characteristic_IEC_61966_2_1);
    heif_nclx_color_profile_set_matrix_coefficients(nclx, heif_matrix_coefficients_ITU_R_BT_601_6);
    nclx->full_range_flag = 1;
    heif_image_set_nclx_color_profile(picture, nclx);
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->output_nclx_profile = nclx;
    options->macOS_compatibility_workaround_no_nclx_profile = 0;
    options->image_orientation = heif_orientation(orientation);  // written as irot and imir
    heif_context_encode_image(context, picture, encoder, options, nullptr);
    heif_encoding_options_free(options);
    heif_nclx_color_profile_free(nclx);
    heif_image_release(picture);
    heif_encoder_release(encoder);
    QByteArray bytes;
    heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* into) {
                           static_cast<QByteArray*>(into)->append(static_cast<const char*>(data), qsizetype(size));
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    heif_context_write(context, &writer, &bytes);
    heif_context_free(context);
    return bytes;
}

QByteArray HeifGrid(int tiles)
{
    QByteArray items = Be(4, tiles + 1);
    items += Box("infe", Be(2, 1) + Be(2, 0) + "grid" + QByteArray(1, 0), 2);
    for (int tile = 0; tile < tiles; ++tile)
        items += Box("infe", Be(4, tile + 2) + Be(2, 0) + "hvc1" + QByteArray(1, 0), 3);
    QByteArray references;
    for (int from = 0; from < tiles; from += 65535) {
        const int count = std::min(65535, tiles - from);
        QByteArray to;
        for (int tile = from; tile < from + count; ++tile)
            to += Be(4, tile + 2);
        references += Box("dimg", Be(4, 1) + Be(2, count) + to);
    }
    const QByteArray grid = QByteArray(2, 0) + Be(1, 255) + Be(1, 255) + Be(2, 65535) + Be(2, 65535);  // 256 x 256 tiles
    const QByteArray meta = Box("hdlr", Be(4, 0) + "pict" + QByteArray(13, 0), 0) + Box("pitm", Be(2, 1), 0)
                            + Box("iinf", items, 1) + Box("iref", references, 1) + Box("idat", grid)
                            + Box("iloc", Be(1, 0x44) + Be(1, 0) + Be(2, 1) + Be(2, 1) + Be(2, 1) + Be(2, 0) + Be(2, 1) + Be(4, 0) + Be(4, grid.size()), 1);
    return Box("ftyp", QByteArray("heic") + Be(4, 0) + "mif1heic") + Box("meta", meta, 0);
}
