#pragma once
// The main window: the tool bar with the clock, the board, and the menu. It draws the game
// (game/Game.h) and forwards the player's clicks, keys and commands to it.

#include "framework/Dialogs.h"
#include "framework/Image.h"
#include "game/Game.h"
#include "game/ScoreFile.h"
#include "game/ScoreTable.h"
#include "solver/HintPlanner.h"

#include <QMainWindow>
#include <QString>
#include <optional>
#include <thread>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QTimer;
class TBevel;
class TFxLabel;
class TPanel;
class TSpeedButton;
class TZelHint;

// A tile's picture control: it knows its position on the board and which piece it shows.
class TTile : public TImage {
    Q_OBJECT
public:
    TTile(QWidget* parent, int position) : TImage(parent), position_(position) {}
    int Position() const { return position_; }
    int Piece() const { return piece_; }  // home number of the piece shown
    void ShowPiece(int piece, const TBitmap& picture);

private:
    const int position_;
    int piece_ = 0;
};

// One tile of the board: its picture and its frame, linked in position order.
struct TTileNode {
    TTile* Tile = nullptr;
    TBevel* Frame = nullptr;
    TTileNode* Next = nullptr;
    TTileNode* Prev = nullptr;
};

// Position of the gap, kept equal to the game's after every change.
extern int GapPos;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Components, in the order the layout declares them.
    TImage* Image1 = nullptr;
    TPanel* Panel1 = nullptr;
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
    QTimer* Timer1 = nullptr;
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

    // The Game menu, and what it shows: the whole picture over the board for a peek, a hinted
    // tile's frame blinking, a given-up game's solution playing itself.
    QMenu* Game1 = nullptr;
    QAction* Hint1 = nullptr;
    QAction* Solve1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Peek1 = nullptr;
    TPanel* PeekPanel = nullptr;
    TImage* PeekImage = nullptr;
    QTimer* PeekTimer = nullptr;   // ends a peek asked from the menu
    QTimer* BlinkTimer = nullptr;  // the hinted tile's frame, six times
    QTimer* SolveTimer = nullptr;  // the next move of a solution

    // The game, and what the window keeps beside it.
    TGame Game;
    TTileNode* FirstNode = nullptr;
    TTileNode* LastNode = nullptr;
    QString PictureName;
    TScoreFile ScoreFile{QString()};  // bound at the start to the file the table lives in
    TScoreTable Scores;  // as the score file was last read or written

    bool Running() const { return Game.Running(); }
    bool Paused() const { return Game.Paused(); }
    int Seconds() const { return Game.Seconds(); }
    int BoardSize() const { return Game.BoardSize(); }
    const TGrid& Grid() const { return Game.Grid(); }

    // The board's controls for the game's board size, showing the game as it stands.
    void FieldCreate();
    void FieldDestroy();
    TTile* TileAt(int p) const;
    TBevel* FrameAt(int p) const;

    // The game.
    void Start();
    void Move(QObject* sender);
    void CheckSolved();

    // Commands.
    void Timer1Timer();
    void SpeedButton4Click();
    void Open1Click();
    // Opens a picture file chosen with Open or dropped on the window, and rebuilds the board from
    // it; a file that cannot be used is told in an error box and changes nothing.
    bool OpenPicture(const QString& path);
    // The picture named on the command line, taken before the window shows, so that its first
    // frame already has it; one that cannot be used is told once the window is there. The name is
    // the file system's own bytes, which need not be valid text.
    void OpenPictureAtStart(const QByteArray& localPath);
    void N1x1Click();
    void N4x4Click();
    void N5x5Click();
    void N6x6Click();
    void N7x7Click();
    void HighScores1Click();
    void ClearScores1Click();
    void SpeedButton2Click();
    void Exit();
    void Hint1Click();
    void Solve1Click();
    void Undo1Click();
    void Redo1Click();
    void Peek1Click();

    bool Peeking() const;
    // The tile whose frame blinks for a hint, 0 when none.
    int HintedTile() const { return hinted_; }
    // A given-up game is on its way home: the solution is sought or plays itself.
    bool Solving() const { return solving_; }
    // The solver's settings for hints and solutions (tests take small tables).
    THintOptions SolverOptions;
    // Waits until the solver has answered, and takes the answer (for tests).
    void WaitForSolver();

    // What start-up leaves until the window is on the screen: the default score file where there
    // was none, the open dialog's list of picture formats, a word about a score file left alone
    // or a picture that could not be opened.
    // Runs once, after the window's first paint.
    void FinishStart();

signals:
    // After every change of what the window shows of the game.
    void GameShown();
    // Start-up is finished (FinishStart).
    void Started();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateComponents();
    void CreateMenu();
    void FormCreate();
    void FormDestroy();
    void Rebuild(int n);
    void ChooseSize(int n, QAction* item);
    void CreateGameMenu();
    // Slides the tile at p into the gap for the player, and draws the result.
    void MoveTile(int p);
    void Shown(const TMoveResult& result);
    // The tile the arrow key slides into the gap, 0 when none lies on that side.
    int TileForKey(int key) const;
    void ShowPeek(bool show);
    // Asks the solver on a worker thread for the next move, or for all of them, from the board
    // as it stands; the answer comes back to SolverAnswered.
    void AskSolver(bool wholeSolution);
    void SolverAnswered(const TPosition& asked, const std::optional<TMoves>& answer);
    void StopSolver();
    void Blink();
    void StopBlink();
    void PlayNextSolutionMove();
    void FinishSolution();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Draws the game as it stands: the pieces, the clock, and the commands that can act.
    void ShowGame();
    void RecordScore(const QString& name);
    QString SizeSuffix(int n) const;

    std::vector<TTileNode*> nodes_;  // by position - 1
    std::vector<TBitmap> pieces_;    // the picture's pieces, by home number - 1
    int hinted_ = 0;
    int blinks_ = 0;
    bool solving_ = false;
    bool finishAtOnce_ = false;      // a key or click came before the solution
    std::optional<TMoves> solution_; // tiles still to move in a given-up game, once found
    THintPlanner planner_;           // used by the worker thread alone while it runs
    bool busyCursor_ = false;
    int question_ = 0;               // counts the questions put to the solver
    std::jthread solver_;            // last: stopped and joined before the rest goes
    bool centred_ = false;
    bool started_ = false;
    // Opens the picture, or answers why it cannot be used.
    QString TakePicture(const QString& path, const QByteArray& localPath);
    QStringList startProblems_;  // told once the window shows
};

extern TForm1* Form1;
