#pragma once
// Helpers shared by the test suites.

#include "framework/Colors.h"
#include "framework/Dialogs.h"

#include <QImage>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

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

// Types the text into the widget key by key, any script (QTest's own typing takes ASCII only).
void TypeText(QWidget* widget, const QString& text);

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

// Answers modal windows as they open, without waiting on the clock: each expected handler runs
// once, in order, on the modal window then active, and must close it. A modal window that opens
// when no handler is left is rejected and counted.
class ModalDriver {
public:
    ModalDriver();
    void Expect(std::function<void(QWidget* modal)> handler);
    int Handled() const { return handled_; }
    int Unexpected() const { return unexpected_; }

private:
    void Poll();
    QTimer timer_;
    std::deque<std::function<void(QWidget*)>> handlers_;
    int handled_ = 0;
    int unexpected_ = 0;
};
