#pragma once
// The pieces of the main window's layout: the tool buttons, the clock in the tool bar, the menu
// items, the hint manager with its balloon's colours and font; and what the window shows beside
// them: the busy pointer and the error boxes of what the player must read.

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

class QAction;
class QImage;
class QMenu;
class QMenuBar;
class QRect;
class QWidget;
class TFxLabel;
class TImage;
class TSpeedButton;
class TZelHint;

constexpr int kTimeLabelWidth = 124;

// The main window's texts are translated in this context (the main window's class).
constexpr const char* kMainContext = "TForm1";

// A 25 x 25 tool button at `left` in the tool bar, with its strip of `glyphs` images, its hint
// (a source text of the main window's) and what a click does.
TSpeedButton* MakeToolButton(QWidget* toolBar, const char* name, int left, const QImage& glyph, int glyphs,
                             const char* hint, const std::function<void()>& click);
// A tool button's hint, which is also its name for screen readers.
void SetToolHint(TSpeedButton* button, const QString& hint);
// A hidden picture control, a holder of pictures.
TImage* MakeHiddenImage(QWidget* parent, const char* name, const QRect& bounds);
// `Label1`: embossed digits in the face colour inside a lowered bevel, redrawn at once (no effect).
TFxLabel* MakeClockLabel(QWidget* toolBar);
// Shows the seconds in the clock, which screen readers read as its caption; a time too long for
// the label is condensed to fit.
void ShowTime(TFxLabel* clock, int seconds);
// `ZelHint1`: from now on every hint of the program shows in its balloon.
TZelHint* MakeHintManager(QObject* owner);
// A menu of the menu bar, and an item of a menu, with the caption's source text in `context`.
QMenu* MakeMenu(QMenuBar* bar, const char* name, const char* context, const char* caption);
QAction* MakeItem(QMenu* menu, const char* name, const char* context, const char* caption,
                  const QKeySequence& shortcut = {});
// The Size menu's five plain check items, `N1x1` to `N7x7`, each carrying its size and choosing
// it when triggered.
void MakeSizeItems(QMenu* menu, std::initializer_list<QAction**> items, const std::function<void(int)>& choose);

// The busy pointer over the whole program while shown; taken back when it goes.
class TBusyCursor {
public:
    TBusyCursor() = default;
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
    ~TBusyCursor() { Show(false); }
    void Show(bool busy);

private:
    bool shown_ = false;
};

// What the player must read, in error boxes over the window: until the window is on the screen,
// kept (a score file left alone, a picture named at the start that cannot be opened), then told
// one box after the other; from then on told at once.
class TProblemTeller {
public:
    explicit TProblemTeller(QWidget* window) : window_(window) {}
    void Tell(const QString& problem);
    void WindowShown();

private:
    QWidget* window_;
    bool shown_ = false;
    QStringList kept_;
};
