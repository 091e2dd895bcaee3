#pragma once
// Helpers shared by the test suites.

#include "framework/Colors.h"
#include "framework/Dialogs.h"

#include <QImage>
#include <QPalette>
#include <QString>
#include <QStringList>

// The classic desktop colours: button face silver, shadow grey, highlight white, text black.
QPalette TestPalette();

constexpr TColor kTestBtnFace = 0xC0C0C0;
constexpr TColor kTestBtnShadow = 0x808080;
constexpr TColor kTestBtnHighlight = 0xFFFFFF;

// The folder of the test pictures and other data files.
QString TestDataPath(const QString& relative);

// The colour of one pixel of an image, as 0xBBGGRR.
TColor PixelAt(const QImage& image, int x, int y);

// While alive, every open-file dialog "chooses" the queued answers in turn (nullopt: cancel),
// and records that it was asked.
class ScopedOpenFile {
public:
    explicit ScopedOpenFile(QStringList answers);
    ~ScopedOpenFile();
    int Calls() const { return calls_; }
    QString LastDefaultName() const { return lastDefaultName_; }
    QString LastFilter() const { return lastFilter_; }

private:
    OpenFileFunction previous_;
    QStringList answers_;
    int calls_ = 0;
    QString lastDefaultName_;
    QString lastFilter_;
};

// While alive, the process works in another directory.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const QString& path);
    ~ScopedCurrentDir();

private:
    QString previous_;
};

// While alive, error boxes are recorded instead of shown.
class ScopedErrorBoxes {
public:
    ScopedErrorBoxes();
    ~ScopedErrorBoxes();
    const QStringList& Messages() const { return messages_; }

private:
    ErrorBoxFunction previous_;
    QStringList messages_;
};
