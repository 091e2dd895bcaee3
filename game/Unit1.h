#pragma once
// The main window: tool bar, clock, board, menu and the game played on the board.

#include "framework/Dialogs.h"
#include "game/Board.h"
#include "game/ScoreFile.h"
#include "game/ScoreTable.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QTimer;
class TBevel;
class TFxLabel;
class TImage;
class TPanel;
class TSpeedButton;
class TZelHint;

// One tile of the board: its picture and its frame, linked in position order.
struct TTileNode {
    TImage* Tile = nullptr;
    TBevel* Frame = nullptr;
    TTileNode* Next = nullptr;
    TTileNode* Prev = nullptr;
};

// Position of the gap; N*N after every board build.
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

    // Game state.
    bool Running = false;
    bool Paused = false;
    TTileNode* FirstNode = nullptr;
    TTileNode* LastNode = nullptr;
    QString PictureName;
    QString ScoreFile;
    TGrid Grid;
    int Seconds = 0;
    int BoardSize = 5;
    TScoreTable Scores;

    // The board.
    void FieldCreate();
    void FieldDestroy();
    TImage* TileAt(int p) const;
    TBevel* FrameAt(int p) const;

    // Writes the score table to the score file (never to one left alone at the start); on failure
    // says so in an error box.
    bool SaveScores();

    // The game.
    void Start();
    void Move(QObject* sender);
    void CheckSolved();

    // Commands.
    void Timer1Timer();
    void SpeedButton4Click();
    void Open1Click();
    void N1x1Click();
    void N4x4Click();
    void N5x5Click();
    void N6x6Click();
    void N7x7Click();
    void HighScores1Click();
    void ClearScores1Click();
    void SpeedButton2Click();
    void Exit();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateComponents();
    void CreateMenu();
    void FormCreate();
    void FormDestroy();
    void ChooseSize(int n, QAction* item);
    void ShowTime();
    QString SizeSuffix() const;
    QList<QWidget*> BoardComponents() const;

    bool centred_ = false;
    TScoreFile scoreFile_{QString()};
    QString scoreFileProblem_;  // told once the window shows
};

extern TForm1* Form1;
