// Reading a photo of each format for a board of 1200 pixels (the shorter side of a 1920 x 1200
// screen): the file's bytes through the checks, the decoder (JPEG at its reduced scale), the
// turn and the colours, brought down to the board. The photos are made here once: smooth colours
// with grain, so that the decoders work as they do on a camera's pictures.

#include "framework/PictureFile.h"
#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QColorSpace>
#include <benchmark/benchmark.h>
#include <map>

namespace {

constexpr int kBoardSide = 1200;

QImage Photo(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    quint32 grain = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = int(grain >> 28) - 8;
            line[x] = qRgb(std::clamp(x * 255 / size.width() + noise, 0, 255), std::clamp(y * 255 / size.height() + noise, 0, 255),
                           std::clamp(128 + noise * 3, 0, 255));
        }
    }
    return image;
}

// The photo's file in the format at the size, made at the first call.
const QByteArray& PhotoFile(const std::string& format, QSize size)
{
    static std::map<std::pair<std::string, qint64>, QByteArray> files;
    QByteArray& file = files[{format, qint64(size.width()) << 32 | size.height()}];
    if (file.isEmpty()) {
        QImage photo = Photo(size);
        if (format == "heic" || format == "avif")
            file = HeifEncoded(photo, format.c_str(), 12);
        else if (format == "jpeg (Display P3)") {
            photo.setColorSpace(QColorSpace::DisplayP3);
            file = Encoded(photo, "jpeg");
        }
        else if (format == "jpeg (orientation 6)")
            file = JpegWithOrientation(Encoded(photo, "jpeg"), 6);
        else if (format == "webp") {
            QBuffer buffer;  // lossy, as cameras and browsers write it, with the camera's turn
            buffer.open(QIODevice::WriteOnly);
            photo.save(&buffer, "webp", 90);
            file = WebpWithMetadata(buffer.data(), 6);
        }
        else
            file = Encoded(photo, format.c_str());
    }
    return file;
}

void ReadPhoto(benchmark::State& state, const std::string& format, QSize size)
{
    const QByteArray& file = PhotoFile(format, size);
    for (auto _ : state) {
        QString error;
        const QImage picture = ReadPictureBytes(file, &error, kBoardSide);
        if (picture.isNull())
            state.SkipWithError(error.toStdString().c_str());
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["megapixels"] = double(size.width()) * size.height() / 1e6;
    state.counters["file_MiB"] = double(file.size()) / (1 << 20);
}

const QByteArray& Drawing()
{
    static const QByteArray svg = [] {
        QByteArray text = "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='300'>";
        for (int i = 0; i < 2000; ++i)
            text += "<circle cx='" + QByteArray::number(i * 37 % 400) + "' cy='" + QByteArray::number(i * 53 % 300) + "' r='"
                    + QByteArray::number(5 + i % 20) + "' fill='#" + QByteArray::number(0x100000 + qint64(i) * 2654435 % 0xEFFFFF, 16) + "'/>";
        return text + "</svg>";
    }();
    return svg;
}

void ReadDrawing(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPictureBytes(Drawing(), nullptr, kBoardSide).constBits());
}

struct TRegistered {
    TRegistered()
    {
        const std::pair<std::string, QSize> photos[] = {
            {"jpeg", {4000, 3000}},  {"jpeg", {8000, 6000}}, {"jpeg (orientation 6)", {8000, 6000}}, {"jpeg (Display P3)", {4000, 3000}},
            {"png", {4000, 3000}},   {"webp", {4000, 3000}}, {"tiff", {4000, 3000}},
            {"heic", {2000, 1500}},  {"avif", {2000, 1500}},
        };
        for (const auto& [format, size] : photos)
            benchmark::RegisterBenchmark(("ReadPhoto/" + format + "/" + std::to_string(size.width()) + "x" + std::to_string(size.height())).c_str(),
                                         [format = format, size = size](benchmark::State& state) { ReadPhoto(state, format, size); })
                ->Unit(benchmark::kMillisecond)->Iterations(3);
        benchmark::RegisterBenchmark("ReadDrawing/svg of 2000 circles", ReadDrawing)->Unit(benchmark::kMillisecond);
    }
} registered;

} // namespace
