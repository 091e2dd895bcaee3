#include "framework/HeifPicture.h"
#include "framework/PictureTexts.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <libheif/heif.h>
#include <memory>
#include <mutex>

namespace {

// The most items (pictures, tiles, thumbnails, metadata) and references between them a file may
// declare: a 50-megapixel photo in tiles of 256 x 256 has fewer than a thousand.
constexpr qint64 kMaxHeifItems = 4096;


QImage Refused(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return {};
}

// A box of the file: its type and its contents' place.
struct TBox {
    QByteArray Type;
    qint64 Begin = 0, End = 0;  // of the contents, after the header
};

// The bytes of the file with bounds-checked numbers, and its boxes in turn.
class TBoxReader {
public:
    explicit TBoxReader(QByteArrayView bytes) : at_(reinterpret_cast<const uchar*>(bytes.data())), size_(bytes.size()) {}

    bool Has(qint64 pos, qint64 count) const { return pos >= 0 && count >= 0 && pos <= size_ - count; }
    quint64 Number(qint64 pos, int bytes) const
    {
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | at_[pos + i];
        return value;
    }
    // The box at `pos` within [pos, end); false when its header or its contents do not fit.
    bool BoxAt(qint64 pos, qint64 end, TBox* box) const
    {
        if (!Has(pos, 8) || pos + 8 > end)
            return false;
        qint64 length = qint64(Number(pos, 4)), header = 8;
        if (length == 1) {
            if (!Has(pos, 16) || Number(pos + 8, 8) > quint64(size_))
                return false;
            length = qint64(Number(pos + 8, 8)), header = 16;
        } else if (length == 0) {
            length = end - pos;  // to the end
        }
        if (length < header || length > end - pos)
            return false;
        *box = {QByteArray(reinterpret_cast<const char*>(at_ + pos + 4), 4), pos + header, pos + length};
        return true;
    }
    qint64 Size() const { return size_; }

private:
    const uchar* at_;
    qint64 size_;
};

QString CutShort()
{
    return PictureFile::tr("Файл HEIF обрезан или повреждён: его части выходят за конец файла.");
}

QString TooManyItems()
{
    return PictureFile::tr("Рисунок HEIF слишком сложен: в нём больше %1 частей.").arg(kMaxHeifItems);
}

// The item locations: every piece of coded data taken from the file must lie within it.
QString CheckLocations(const TBoxReader& file, const TBox& iloc)
{
    qint64 pos = iloc.Begin;
    if (!file.Has(pos, 8))
        return CutShort();
    const int version = int(file.Number(pos, 1));
    const int offsetSize = int(file.Number(pos + 4, 1) >> 4), lengthSize = int(file.Number(pos + 4, 1) & 15);
    const int baseSize = int(file.Number(pos + 5, 1) >> 4), indexSize = version > 0 ? int(file.Number(pos + 5, 1) & 15) : 0;
    const int idSize = version < 2 ? 2 : 4;
    pos += 6;
    const qint64 items = qint64(file.Number(pos, idSize));
    if (items > kMaxHeifItems)
        return TooManyItems();
    pos += idSize;
    for (qint64 item = 0; item < items; ++item) {
        const int method = version > 0 && file.Has(pos + idSize, 2) ? int(file.Number(pos + idSize, 2) & 15) : 0;
        pos += idSize + (version > 0 ? 2 : 0) + 2;
        if (!file.Has(pos, baseSize + 2))
            return CutShort();
        const quint64 base = file.Number(pos, baseSize);
        const qint64 extents = qint64(file.Number(pos + baseSize, 2));
        pos += baseSize + 2;
        for (qint64 extent = 0; extent < extents; ++extent) {
            if (!file.Has(pos, indexSize + offsetSize + lengthSize) || pos + indexSize + offsetSize + lengthSize > iloc.End)
                return CutShort();
            const quint64 offset = file.Number(pos + indexSize, offsetSize), length = file.Number(pos + indexSize + offsetSize, lengthSize);
            pos += indexSize + offsetSize + lengthSize;
            if (method == 0 && (base > quint64(file.Size()) || offset > quint64(file.Size()) || length > quint64(file.Size())
                                || base + offset + length > quint64(file.Size())))
                return CutShort();
        }
    }
    return {};
}

// The references between items, counted over every kind.
QString CheckReferences(const TBoxReader& file, const TBox& iref)
{
    if (!file.Has(iref.Begin, 4))
        return CutShort();
    const int idSize = file.Number(iref.Begin, 1) == 0 ? 2 : 4;
    qint64 references = 0;
    TBox kind;
    for (qint64 pos = iref.Begin + 4; pos < iref.End; pos = kind.End) {
        if (!file.BoxAt(pos, iref.End, &kind) || !file.Has(kind.Begin, idSize + 2))
            return CutShort();
        references += qint64(file.Number(kind.Begin + idSize, 2));
        if (references > kMaxHeifItems)
            return TooManyItems();
    }
    return {};
}

// Walks the file's boxes and its metadata's; why it cannot be given to libheif, or empty.
QString CheckBoxes(QByteArrayView bytes)
{
    const TBoxReader file(bytes);
    TBox box, meta;
    bool hasMeta = false;
    for (qint64 pos = 0; pos < file.Size(); pos = box.End) {
        if (!file.BoxAt(pos, file.Size(), &box))
            return CutShort();
        if (box.Type == "meta")
            meta = box, hasMeta = true;
    }
    if (!hasMeta)
        return PictureFile::tr("В файле HEIF нет рисунка.");
    for (qint64 pos = meta.Begin + 4; pos < meta.End; pos = box.End) {  // after its version and flags
        if (!file.BoxAt(pos, meta.End, &box))
            return CutShort();
        QString problem;
        if (box.Type == "iinf" && file.Has(box.Begin, 8)) {
            const qint64 items = qint64(file.Number(box.Begin + 4, file.Number(box.Begin, 1) == 0 ? 2 : 4));
            problem = items > kMaxHeifItems ? TooManyItems() : QString();
        } else if (box.Type == "iloc") {
            problem = CheckLocations(file, box);
        } else if (box.Type == "iref") {
            problem = CheckReferences(file, box);
        }
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

// The colour space of the primary picture's profile; an invalid one where it has none, it
// cannot be read, or it names nothing but sRGB.
QColorSpace ProfileOf(const heif_image_handle* handle)
{
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), Qt::Uninitialized);
        if (icc.isEmpty() || heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
            return {};
        return QColorSpace::fromIccProfile(icc);
    }
    if (type != heif_color_profile_type_nclx)
        return {};
    heif_color_profile_nclx* nclx = nullptr;
    const heif_error status = heif_image_handle_get_nclx_color_profile(handle, &nclx);
    // Given back even with an error (values it does not know), and then ours to free.
    const std::unique_ptr<heif_color_profile_nclx, decltype(&heif_nclx_color_profile_free)> owned(nclx, heif_nclx_color_profile_free);
    if (status.code != heif_error_Ok || !nclx)
        return {};
    const bool srgbPrimaries = nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5
                               || nclx->color_primaries == heif_color_primaries_unspecified;
    QColorSpace::TransferFunction transfer = QColorSpace::TransferFunction::SRgb;
    float gamma = 0;
    switch (nclx->transfer_characteristics) {
    case heif_transfer_characteristic_linear: transfer = QColorSpace::TransferFunction::Linear; break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M: transfer = QColorSpace::TransferFunction::Gamma, gamma = 2.2f; break;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G: transfer = QColorSpace::TransferFunction::Gamma, gamma = 2.8f; break;
    default: break;  // sRGB, and the video curves close to it
    }
    if (srgbPrimaries && transfer == QColorSpace::TransferFunction::SRgb)
        return {};
    return QColorSpace(QPointF(nclx->color_primary_white_x, nclx->color_primary_white_y),
                       QPointF(nclx->color_primary_red_x, nclx->color_primary_red_y),
                       QPointF(nclx->color_primary_green_x, nclx->color_primary_green_y),
                       QPointF(nclx->color_primary_blue_x, nclx->color_primary_blue_y), transfer, gamma);
}

using THandle = std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)>;

// The decoded primary picture, held by libheif until the image lets it go; null on an error.
QImage Decoded(const THandle& handle, QString* error)
{
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    heif_decoding_options* options = heif_decoding_options_alloc();  // turns and mirrors as the file says
    heif_image* decoded = nullptr;
    const heif_error status = heif_decode_image(handle.get(), &decoded, heif_colorspace_RGB,
                                                alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options);
    heif_decoding_options_free(options);
    if (status.code != heif_error_Ok || !decoded) {
        return Refused(error, PictureFile::tr("Рисунок HEIF повреждён или обрезан (%1).").arg(QString::fromUtf8(status.message)));
    }
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    if (!plane || width <= 0 || height <= 0) {
        heif_image_release(decoded);
        return Refused(error, PictureFile::tr("Рисунок HEIF повреждён или обрезан (%1).").arg(QStringLiteral("no pixels")));
    }
    auto release = [](void* image) { heif_image_release(static_cast<heif_image*>(image)); };
    return QImage(plane, width, height, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888, release, decoded);
}

} // namespace

bool IsHeifPicture(QByteArrayView bytes)
{
    if (bytes.size() < 16 || bytes.sliced(4, 4) != "ftyp")
        return false;
    const qint64 length = qFromBigEndian<quint32>(bytes.data());
    static const char* const brands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis"};
    for (qint64 pos = 8; pos + 4 <= std::min<qint64>(length, bytes.size()); pos += 4)
        if (pos != 12 && std::any_of(std::begin(brands), std::end(brands), [&](const char* brand) { return bytes.sliced(pos, 4) == brand; }))
            return true;  // the major brand, or a compatible one (not the minor version)
    return false;
}

QStringList HeifPictureFormats()
{
    QStringList formats;
    if (heif_have_decoder_for_format(heif_compression_HEVC))
        formats << QStringLiteral("heif");
    if (heif_have_decoder_for_format(heif_compression_AV1))
        formats << QStringLiteral("avif");
    return formats;
}

QImage ReadHeifPicture(const QByteArray& bytes, qint64 mostPixels, qint64 mostWorkBytes, QString* error)
{
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
    if (const QString problem = CheckBoxes(bytes); !problem.isEmpty())
        return Refused(error, problem);
    const std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(), heif_context_free);
    heif_error status = heif_context_read_from_memory_without_copy(context.get(), bytes.constData(), size_t(bytes.size()), nullptr);
    heif_image_handle* primary = nullptr;
    if (status.code == heif_error_Ok)
        status = heif_context_get_primary_image_handle(context.get(), &primary);
    if (status.code != heif_error_Ok)
        return Refused(error, PictureFile::tr("Рисунок HEIF повреждён или обрезан (%1).").arg(QString::fromUtf8(status.message)));
    const THandle handle(primary, heif_image_handle_release);
    const qint64 pixels = qint64(heif_image_handle_get_width(primary)) * heif_image_handle_get_height(primary);
    if (pixels <= 0)
        return Refused(error, PictureFile::tr("Размеры рисунка неверны."));
    if (pixels > mostPixels)
        return Refused(error, PictureFile::tr("Рисунок слишком велик: в нём больше %1 миллионов точек.").arg(mostPixels / 1000000));
    // Decoding holds the planes of luma and chroma (4:2:0 at most, as cameras write), then the
    // picture in 3 or 4 bytes a pixel, and then its copy in 32 bits.
    const int sampleBytes = heif_image_handle_get_luma_bits_per_pixel(primary) > 8 ? 2 : 1;
    const qint64 work = bytes.size() + pixels * std::max<qint64>(3, 3 * sampleBytes / 2 + 3 - 4);
    if (work > mostWorkBytes)
        return Refused(error, PictureFile::tr("Рисунок слишком велик: чтобы его прочитать, нужно слишком много памяти."));
    QImage picture = Decoded(handle, error);
    // Turned, or cut to its clean aperture, it may have fewer pixels, never more.
    if (qint64(picture.width()) * picture.height() > pixels)
        return Refused(error, PictureFile::tr("Рисунок HEIF повреждён: его размеры неверны."));
    picture.setColorSpace(ProfileOf(primary));
    return picture;
}
