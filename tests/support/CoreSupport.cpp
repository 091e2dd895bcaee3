#include "tests/support/CoreSupport.h"

#include <QColor>
#include <QDir>
#include <gtest/gtest.h>

QPalette TestPalette()
{
    const QColor face(0xC0, 0xC0, 0xC0), white(Qt::white), black(Qt::black);
    const std::pair<QPalette::ColorRole, QColor> colours[] = {
        {QPalette::Window, face}, {QPalette::Button, face}, {QPalette::Dark, QColor(0x80, 0x80, 0x80)},
        {QPalette::Mid, QColor(0xA0, 0xA0, 0xA0)}, {QPalette::Light, white}, {QPalette::Midlight, QColor(0xE0, 0xE0, 0xE0)},
        {QPalette::Shadow, QColor(0x00, 0x80, 0x80)}, {QPalette::Base, white}, {QPalette::Text, black},
        {QPalette::WindowText, black}, {QPalette::ButtonText, black}, {QPalette::Highlight, QColor(0x00, 0x00, 0x80)},
        {QPalette::HighlightedText, white}, {QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1)}, {QPalette::ToolTipText, black}};
    QPalette palette;
    for (const auto& [role, colour] : colours)
        palette.setColor(role, colour);  // every group
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return palette;
}

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

// The test main has set both variables to folders of the run's.
ScopedCurrentDir::ScopedCurrentDir(const QString& path)
    : previous_(QDir::currentPath()), previousDataHome_(qgetenv("XDG_DATA_HOME")),
      previousConfigHome_(qgetenv("XDG_CONFIG_HOME")), previousStateHome_(qgetenv("XDG_STATE_HOME"))
{
    QDir::setCurrent(path);
    qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(path).absoluteFilePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(path).absoluteFilePath("config")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(QDir(path).absoluteFilePath("state")));
}

ScopedCurrentDir::~ScopedCurrentDir()
{
    QDir::setCurrent(previous_);
    qputenv("XDG_DATA_HOME", previousDataHome_);
    qputenv("XDG_CONFIG_HOME", previousConfigHome_);
    qputenv("XDG_STATE_HOME", previousStateHome_);
}
