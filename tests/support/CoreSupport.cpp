#include "tests/support/CoreSupport.h"

#include <QDir>

TBitmap FilledBitmap(int width, int height, TColor color)
{
    TBitmap bitmap(width, height);
    bitmap.Canvas().Brush.Color = color;
    bitmap.Canvas().FillRect(Rect(0, 0, width, height));
    return bitmap;
}

QString TestDataPath(const QString& relative)
{
    return QStringLiteral(MOZIK_TEST_DATA_DIR "/") + relative;
}

TColor PixelAt(const QImage& image, int x, int y)
{
    return FromQColor(image.pixelColor(x, y));
}

void ExpectPixels(const QImage& image, std::initializer_list<std::tuple<int, int, TColor>> pixels)
{
    for (const auto& [x, y, color] : pixels)
        EXPECT_EQ(PixelAt(image, x, y), color) << "at " << x << ", " << y;
}

std::map<TColor, QRect> Inks(const QImage& image)
{
    std::map<TColor, QRect> inks;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inks[PixelAt(image, x, y)] |= QRect(x, y, 1, 1);
    return inks;
}

std::set<TColor> ColoursOf(const QImage& image)
{
    std::set<TColor> colours;
    for (const auto& [colour, extent] : Inks(image))
        colours.insert(colour);
    return colours;
}

// The test main has set the variables to folders of the run's.
ScopedCurrentDir::ScopedCurrentDir(const QString& path) : previous_(QDir::currentPath())
{
    QDir::setCurrent(path);
    for (const auto& [variable, folder] : {std::pair("XDG_DATA_HOME", "data"), {"XDG_CONFIG_HOME", "config"}, {"XDG_STATE_HOME", "state"}}) {
        previousHomes_.append({variable, qgetenv(variable)});
        qputenv(variable, QFile::encodeName(QDir(path).absoluteFilePath(folder)));
    }
}

ScopedCurrentDir::~ScopedCurrentDir()
{
    QDir::setCurrent(previous_);
    for (const auto& [variable, value] : previousHomes_)
        qputenv(variable, value);
}
