#pragma once
// Helpers shared by the test suites that need no widgets.

#include "framework/Bitmap.h"
#include "framework/Colors.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include <set>
#include <tuple>

// The test palette's colours (the classic desktop's): button face, shadow, highlight.
constexpr TColor kTestBtnFace = 0xC0C0C0;
constexpr TColor kTestBtnShadow = 0x808080;
constexpr TColor kTestBtnHighlight = 0xFFFFFF;

// A picture of one colour.
inline QImage Filled(QSize size, QColor colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(size, format);
    picture.fill(colour);
    return picture;
}

// A bitmap filled with one colour.
TBitmap FilledBitmap(int width, int height, TColor color = clWhite);

// The folder of the test pictures and other data files.
QString TestDataPath(const QString& relative);

// The colour of one pixel of an image, as 0xBBGGRR.
TColor PixelAt(const QImage& image, int x, int y);

// Expects each listed pixel (x, y, colour) of the image to have its colour.
void ExpectPixels(const QImage& image, std::initializer_list<std::tuple<int, int, TColor>> pixels);

// Every colour of the image with the extent of its pixels; the colours alone.
std::map<TColor, QRect> Inks(const QImage& image);
std::set<TColor> ColoursOf(const QImage& image);

// The file's bytes, empty when it cannot be read; a file made or replaced with the bytes (inline,
// so that suites on GoogleTest's own main use them too).
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
}

// While alive, the process works in another directory, and the data, settings and state folders
// ($XDG_DATA_HOME, $XDG_CONFIG_HOME, $XDG_STATE_HOME) are the folders "data", "config" and "state"
// inside it, so that each test starts without scores, settings or a kept game of another's.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const QString& path);
    ~ScopedCurrentDir();

private:
    QString previous_;
    QList<std::pair<const char*, QByteArray>> previousHomes_;
};
