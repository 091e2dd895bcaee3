#pragma once
// Helpers shared by the test suites that need no widgets.

#include "framework/Colors.h"

#include <QImage>
#include <QPalette>
#include <QString>

// The classic desktop colours: button face silver, shadow grey, highlight white, text black.
QPalette TestPalette();

constexpr TColor kTestBtnFace = 0xC0C0C0;
constexpr TColor kTestBtnShadow = 0x808080;
constexpr TColor kTestBtnHighlight = 0xFFFFFF;

// The folder of the test pictures and other data files.
QString TestDataPath(const QString& relative);

// The colour of one pixel of an image, as 0xBBGGRR.
TColor PixelAt(const QImage& image, int x, int y);

// While alive, the process works in another directory, and the data folder ($XDG_DATA_HOME) is
// the folder "data" inside it, so that no test reads or writes the player's own files.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const QString& path);
    ~ScopedCurrentDir();

private:
    QString previous_;
    QByteArray previousDataHome_;
    bool hadDataHome_;
};
