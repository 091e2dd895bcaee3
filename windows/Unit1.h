#pragma once
// The main window: the tool bar with the clock, the board, and the menu. It is the view of a play
// session (game/Session.h): it draws the session's state and forwards the player's clicks, keys
// and commands to it.

#include "framework/Clock.h"
#include "framework/Dialogs.h"
#include "game/Session.h"
#include "windows/MainLayout.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;
class TBoardPanel;
class TClientArea;
class TFxLabel;
class TGameSounds;
class TImage;
class TPanel;
class TPeekPanel;
class TPlayInput;
class TSpeedButton;
class TWindowModes;
class TWindowSettings;
class TZelHint;

// Position of the gap, kept equal to the game's after every change.
extern int GapPos;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // The session's timers run on the clock.
    explicit TForm1(TClock& clock = RealClock(), QWidget* parent = nullptr);
    ~TForm1() override;

    // The game's state.
    bool Running() const { return session_.Game().Running(); }
    bool Paused() const { return session_.Game().Paused(); }
    int Seconds() const { return session_.Game().Seconds(); }
    int BoardSize() const { return session_.Game().BoardSize(); }
    const TGrid& Grid() const { return session_.Game().Grid(); }
    const TScoreTable& Scores() const { return session_.Scores(); }
    TSession& Session() { return session_; }
    const TSession& Session() const { return session_; }

    // The board's controls for the game's board size, cut from `Image1`'s picture.
    void FieldCreate();
    void FieldDestroy();

    // The player's commands.
    void Start();
    void Move(QObject* sender);
    void SpeedButton4Click();
    void Open1Click();
    // Opens a picture file chosen with Open or dropped on the window, read while the game goes
    // on; one that cannot be used is told in an error box and changes nothing.
    void OpenPicture(const QString& path);
    void N1x1Click() { ChooseSize(1); }
    void N4x4Click() { ChooseSize(4); }
    void N5x5Click() { ChooseSize(5); }
    void N6x6Click() { ChooseSize(6); }
    void N7x7Click() { ChooseSize(7); }
    void HighScores1Click();
    void ClearScores1Click();
    void SpeedButton2Click();
    void Exit();
    void Hint1Click();
    void Solve1Click();
    void Undo1Click();
    void Redo1Click();
    void Peek1Click();

    // What start-up leaves until the window is on the screen: the default score file where there
    // was none, the open dialog's list of picture formats, a word about a score file left alone
    // or a picture that could not be opened. Runs once, after the window's first paint.
    void FinishStart();

signals:
    // After every change of what the window shows of the game.
    void GameShown();
    // Start-up is finished (FinishStart).
    void Started();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateComponents(TClock& clock);
    void CreateMenu();
    void CreateGameMenu();
    QAction* AddItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut,
                     void (TForm1::*command)());
    void FormCreate();
    void FormDestroy();
    void ChooseSize(int n);
    void BoardChanged();
    // Draws the session as it stands: the pieces, the clock, the peek, the commands that can act.
    void ShowGame();
    // The game is over: the result and the scores, unless the solver brought it home.
    void CheckSolved(const TGameEnd& end);

    // Components, in the order the layout declares them; the clock `Timer1` is the session's.
    TImage* Image1 = nullptr;
    TBoardPanel* Panel1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* About1 = nullptr;
    TPanel* Panel2 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TImage* Image2 = nullptr;
    QAction* N1x1 = nullptr;
    QAction* N4x4 = nullptr;
    QAction* N5x5 = nullptr;
    QAction* N1 = nullptr;
    QAction* N6x6 = nullptr;
    QMenu* Options1 = nullptr;
    QAction* Start1 = nullptr;
    QAction* N7x7 = nullptr;
    QAction* Open1 = nullptr;
    TOpenDialog OpenDialog1;
    TZelHint* ZelHint1 = nullptr;
    TSpeedButton* SpeedButton4 = nullptr;
    TFxLabel* Label1 = nullptr;
    QAction* HighScores1 = nullptr;
    QAction* Pause1 = nullptr;
    QAction* ClearScores1 = nullptr;
    // The Game menu, and the peek: the whole picture over the board.
    QMenu* Game1 = nullptr;
    QAction* Hint1 = nullptr;
    QAction* Solve1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Peek1 = nullptr;
    TPeekPanel* PeekPanel = nullptr;
    TClientArea* client_ = nullptr;
    TWindowModes* modes_ = nullptr;  // the Game menu's switches of the window
    TWindowSettings* settings_ = nullptr;  // kept between runs
    TGameSounds* sounds_ = nullptr;

    TSession session_;
    std::unique_ptr<TPlayInput> input_;  // gone before the session it feeds
    TBusyCursor busyCursor_;
    bool centred_ = false;
    bool started_ = false;
    TProblemTeller problems_{this};
};

extern TForm1* Form1;
