// libFuzzer target for the whole reading of a picture: the bytes go through every format's size
// and data checks and its decoder, as a file's bytes do once read, and the picture is then cut
// into the tiles of a 5 x 5 board and the peek, as the board cuts it. Built and run by
// scripts/fuzz.sh.

#include "framework/Bitmap.h"
#include "framework/PictureFile.h"
#include "windows/BoardGeometry.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

namespace {

// The side a board on a small screen is cut at: small enough to keep each run quick, large
// enough that JPEG's reduced scales and the drawing of vector pictures are taken.
constexpr int kFuzzBoardSide = 96;

void Silent(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(*argc, *argv);  // fonts for the text of vector pictures
    qInstallMessageHandler(Silent);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const QImage picture = ReadPictureBytes(bytes, &error, kFuzzBoardSide);
    if (picture.isNull()) {
        if (error.isEmpty())
            std::abort();  // a refusal always says why
        return 0;
    }
    if (picture.format() != QImage::Format_RGB32 || std::min(picture.width(), picture.height()) > kFuzzBoardSide)
        std::abort();  // the board takes opaque pictures no larger than it shows
    const TBitmap source(picture);
    constexpr int n = 5;
    for (const bool keepProportions : {false, true}) {
        for (int row = 1; row <= n; ++row)
            for (int column = 1; column <= n; ++column)
                CutPiece(source, column, row, n, kFuzzBoardSide / n, keepProportions);
        CutPiece(source, 1, 1, 1, kFuzzBoardSide, keepProportions);  // the peek
    }
    return 0;
}
