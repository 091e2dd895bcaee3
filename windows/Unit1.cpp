#include "windows/Unit1.h"

#include "art/BuiltinPicture.h"
#include "art/Glyphs.h"
#include "effects/FxImage.h"
#include "framework/Application.h"
#include "framework/Hints.h"
#include "framework/MenuStyle.h"
#include "framework/PictureFile.h"
#include "framework/SpeedButton.h"
#include "framework/Texts.h"
#include "windows/Accessibility.h"
#include "windows/AwayPause.h"
#include "windows/BoardPanel.h"
#include "windows/BuiltinSharpness.h"
#include "windows/ClientArea.h"
#include "windows/DialogLayout.h"
#include "windows/GameKeeping.h"
#include "windows/GameQuestions.h"
#include "windows/GameSounds.h"
#include "windows/MainLayout.h"
#include "windows/PeekPanel.h"
#include "windows/PictureCommands.h"
#include "windows/PlayInput.h"
#include "windows/StatisticsWindow.h"
#include "windows/WindowModes.h"
#include "windows/WindowSettings.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <utility>

TForm1* Form1 = nullptr;
int GapPos = 0;

TForm1::TForm1(TClock& clock, QWidget* parent)
    : QMainWindow(parent), clock_(clock), history_(std::make_unique<THistory>(THistory::DefaultPath())),
      session_(clock, ProgramRandom())
{
    setObjectName(QStringLiteral("Form1"));
    if (!MainForm())
        SetMainForm(this);  // the first window the program makes is its main window
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    CreateComponents(clock);
    CreateMenu();
    session_.KeepPicturesWithin(LargestBoardSide());
    connect(&session_, &TSession::BoardChanged, this, &TForm1::BoardChanged);
    auto* sharpness = new TBuiltinSharpness(this, session_, Panel1);  // the built-in picture at the board's size
    connect(&session_, &TSession::BoardChanged, sharpness, &TBuiltinSharpness::BoardBuilt);
    connect(client_, &TClientArea::Arranged, sharpness, &TBuiltinSharpness::Follow);
    connect(&session_, &TSession::Slid, Panel1, &TBoardPanel::Slide);
    connect(Panel1, &TBoardPanel::SlideEnded, this, &TForm1::GameShown);
    connect(&session_, &TSession::Changed, this, &TForm1::ShowGame);
    connect(&session_, &TSession::Finished, this, &TForm1::CheckSolved);
    connect(&session_, &TSession::Problem, this, [this](const QString& problem) { problems_.Tell(problem); });
    connect(history_.get(), &THistory::Problem, this, [this](const QString& problem) { problems_.Tell(problem); });
    session_.UseHistory(history_.get());
    // The window's own making, while the built-in picture may still be drawn on another thread.
    ensurePolished();
    winId();
    FormCreate();
    settings_ = new TWindowSettings(this, session_, *modes_, clock);  // the board and window as left
    // Commands with settings of their own: questions, ways to a picture, pause when away.
    questions_ = new TGameQuestions(this, session_, settings_->Settings());
    pictures_ = new TPictureCommands(this, session_, *questions_, settings_->Settings(), File1, HighScores1);
    new TAwayPause(this, Game1, modes_->Sound(), session_, settings_->Settings());
    auto* keeping = new TGameKeeping(this, session_, *modes_);  // the game in progress, kept as the window closes
    connect(keeping, &TGameKeeping::Problem, this, [this](const QString& problem) { problems_.Tell(problem); });
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::CreateComponents(TClock& clock)
{
    InstallAccessibility();
    client_ = new TClientArea(this, clock);
    setCentralWidget(client_);
    connect(client_, &TClientArea::Arranged, this, &TForm1::GameShown);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Image1 = MakeHiddenImage(client_, "Image1", QRect(424, 48, 250, 250));
    Image1->SetAutoSize(true);
    Image1->SetStretch(true);
    Panel1 = client_->Board();
    PeekPanel = client_->Peek();
    Panel2 = client_->ToolBar();
    SpeedButton1 = MakeToolButton(Panel2, "SpeedButton1", 8, StartGlyph(), 4, QT_TR_NOOP("Перемешать."), [this] { Start(); });
    SpeedButton2 = MakeToolButton(Panel2, "SpeedButton2", 72, OpenGlyph(), 2, QT_TR_NOOP("Другой рисунок."), [this] { Open1Click(); });
    SpeedButton3 = MakeToolButton(Panel2, "SpeedButton3", 104, ExitGlyph(), 2, QT_TR_NOOP("Выход из программы."), [this] { Exit(); });
    SpeedButton4 = MakeToolButton(Panel2, "SpeedButton4", 40, PauseGlyph(), 2, QT_TR_NOOP("Пауза."), [this] { SpeedButton4Click(); });
    Image2 = MakeHiddenImage(Panel2, "Image2", QRect(24, 248, 1, 1));
    Image2->setEnabled(false);
    Label1 = MakeClockLabel(Panel2);
    client_->KeepAtRight(Label1);
    ZelHint1 = MakeHintManager(this);

    input_ = std::make_unique<TPlayInput>(this, session_);  // keys on the board, ...
}

QAction* TForm1::AddItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut,
                      void (TForm1::*command)())
{
    QAction* action = MakeItem(menu, name, kMainContext, caption, shortcut);
    connect(action, &QAction::triggered, this, command);
    return action;
}

void TForm1::CreateMenu()
{
    MainMenu1 = Named(menuBar(), "MainMenu1");
    File1 = MakeMenu(MainMenu1, "File1", kMainContext, QT_TR_NOOP("&File"));
    NewGame1 = AddItem(File1, "NewGame1", QT_TR_NOOP("&New Game"), QKeySequence(Qt::CTRL | Qt::Key_N), &TForm1::NewGame1Click);
    input_->LetThrough(NewGame1->shortcut());  // it cuts a playback of the solver's short
    Start1 = AddItem(File1, "Start1", QT_TR_NOOP("&Start"), QKeySequence(Qt::Key_F2), &TForm1::Start);
    Pause1 = AddItem(File1, "Pause1", QT_TR_NOOP("&Pause"), QKeySequence(Qt::CTRL | Qt::Key_F2), &TForm1::SpeedButton4Click);
    Open1 = AddItem(File1, "Open1", QT_TR_NOOP("&Open ..."), QKeySequence(Qt::Key_F3), &TForm1::Open1Click);
    HighScores1 = AddItem(File1, "HighScores1", QT_TR_NOOP("&High Scores ..."), {}, &TForm1::HighScores1Click);
    Statistics1 = AddItem(File1, "Statistics1", QT_TR_NOOP("&Statistics ..."), QKeySequence(Qt::CTRL | Qt::Key_I),
                          &TForm1::Statistics1Click);
    ClearScores1 = AddItem(File1, "ClearScores1", QT_TR_NOOP("&Clear Scores"), {}, &TForm1::ClearScores1Click);
    N1 = Named(File1->addSeparator(), "N1");
    Exit1 = AddItem(File1, "Exit1", QT_TR_NOOP("E&xit"), QKeySequence(Qt::ALT | Qt::Key_X), &TForm1::Exit);

    // Plain check items, one handler for all five.
    Options1 = MakeMenu(MainMenu1, "Options1", kMainContext, QT_TR_NOOP("&Size"));
    MakeSizeItems(Options1, {&N1x1, &N4x4, &N5x5, &N6x6, &N7x7}, [this](int n) { ChooseSize(n); });
    CreateGameMenu();
    Help1 = MakeMenu(MainMenu1, "Help1", kMainContext, QT_TR_NOOP("&Help"));
    About1 = AddItem(Help1, "About1", QT_TR_NOOP("&About"), {}, &TForm1::SpeedButton2Click);
    for (QMenu* menu : {File1, Options1, Game1, Help1})
        UseClassicMenuLook(menu, font());
}

void TForm1::CreateGameMenu()
{
    Game1 = MakeMenu(MainMenu1, "Game1", kMainContext, QT_TR_NOOP("&Game"));
    Hint1 = AddItem(Game1, "Hint1", QT_TR_NOOP("&Hint"), QKeySequence(Qt::Key_H), &TForm1::Hint1Click);
    Solve1 = AddItem(Game1, "Solve1", QT_TR_NOOP("S&olve"), {}, &TForm1::Solve1Click);
    Undo1 = AddItem(Game1, "Undo1", QT_TR_NOOP("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), &TForm1::Undo1Click);
    Redo1 = AddItem(Game1, "Redo1", QT_TR_NOOP("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TForm1::Redo1Click);
    Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Space held is handled by the window itself (press and release); the menu item peeks for a while.
    Peek1 = AddItem(Game1, "Peek1", QT_TR_NOOP("&Peek"), QKeySequence(Qt::Key_Space), &TForm1::Peek1Click);
    sounds_ = new TGameSounds(this, session_);
    // Loaded once the window shows and what start-up left has been done.
    connect(this, &TForm1::Started, sounds_, [this] { QTimer::singleShot(0, sounds_, &TGameSounds::AllowLoading); });
    connect(sounds_, &TGameSounds::PlayerChanged, this, &TForm1::GameShown);
    modes_ = new TWindowModes(this, Game1, client_, sounds_);
    connect(modes_, &TWindowModes::Changed, this, &TForm1::GameShown);
}

void TForm1::FormCreate()
{
    // Taken as late as can be: it may still be being drawn on another thread.
    session_.UseBuiltinPicture(MakeBuiltinPicture(), TSession::BuiltinPictureName());
    // The file stays bound to where it was found at the start, wherever the open dialog goes later.
    session_.UseScoreFile(TScoreFile::Locate(QDir::currentPath(), TScoreFile::DataFolder()));
}

void TForm1::FormDestroy()
{
    FieldDestroy();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (std::exchange(centred_, true))
        return;
    settings_->PlaceOnFirstShow();
    emit GameShown();
}

void TForm1::FinishStart()
{
    if (std::exchange(started_, true))
        return;
    session_.CreateScoreFileIfMissing();
    OpenDialog1.Filter = PictureDialogFilter();
    emit Started();
    problems_.WindowShown();
}

void TForm1::BoardChanged()
{
    const int n = BoardSize();
    setWindowTitle(session_.PictureName() + QStringLiteral("  -  %1 x %1").arg(n));
    ShowSize();
    Image1->SetPicture(TBitmap(session_.Picture()));
    FieldDestroy();
    FieldCreate();
}

void TForm1::FieldCreate()
{
    const int n = BoardSize();
    client_->FitBoard(n);
    Panel1->Build(n, Image1->Picture());
    for (TTileNode* node = Panel1->FirstNode(); node; node = node->Next)
        connect(node->Tile, &TImage::Click, this, &TForm1::Move);
    Image2->SetPicture(Panel1->Piece(n * n));  // the corner piece, shown again when the picture is whole
    ShowGame();
}

void TForm1::FieldDestroy()
{
    Panel1->Clear();
}

void TForm1::ShowGame()
{
    const TGame& game = session_.Game();
    const int hinted = session_.HintedTile();
    Panel1->ShowGrid(game.Grid(), game.Running(), hinted ? game.PositionOfTile(hinted) : 0);
    GapPos = game.GapPos();
    ShowTime(Label1, game.Seconds());
    const TCommandStates states = session_.Commands();
    NewGame1->setEnabled(states.NewGame);
    SpeedButton1->setEnabled(states.StartButton);
    Start1->setEnabled(states.StartItem);
    SpeedButton4->setEnabled(states.Pause);
    Pause1->setEnabled(states.Pause);
    SetToolHint(SpeedButton4, states.PauseSaysContinue ? tr("Продолжить.") : tr("Пауза."));
    SetShowHint(Label1, states.TimeHint);
    Label1->setEnabled(states.TimeEnabled);
    Hint1->setEnabled(states.Hint);
    Solve1->setEnabled(states.Solve);
    Undo1->setEnabled(states.Undo);
    Redo1->setEnabled(states.Redo);
    Peek1->setEnabled(states.Peek);
    PeekPanel->SetShown(session_.Peeking(), Panel1->Source(), Panel1->Geometry());
    client_->ShowStatus(session_.StatusText());
    busyCursor_.Show(session_.Busy());
    emit GameShown();
}

void TForm1::Start() { session_.Start(); }

void TForm1::Move(QObject* sender)
{
    if (const auto* tile = qobject_cast<TTile*>(sender); tile && Panel1->TileAt(tile->Position()) == tile)
        session_.Move(tile->Position());
}

void TForm1::CheckSolved(const TGameEnd& end)
{
    if (end.GivenUp)
        return;  // brought home by the solver: no result, no record
    if (Form2) {
        Form2->Present(session_.Scores(), end.BoardSize, end.Seconds, end.Hints > 0);
        const QMetaObject::Connection recording = connect(Form2, &TForm2::NameEntered, &session_, &TSession::RecordScore);
        Form2->exec();
        disconnect(recording);
    }
    session_.ResultClosed();  // the game's row goes to the history, after the score file
    HighScores1Click();
}

void TForm1::Hint1Click() { session_.Hint(); }
void TForm1::Solve1Click() { session_.Solve(); }
void TForm1::Undo1Click() { session_.Undo(); }
void TForm1::Redo1Click() { session_.Redo(); }
void TForm1::Peek1Click() { session_.PeekForAWhile(); }
void TForm1::SpeedButton4Click() { session_.TogglePause(); }
void TForm1::NewGame1Click()
{
    if (questions_->MayEndGame())
        session_.NewGame();
}

void TForm1::ChooseSize(int n)
{
    if (questions_->MayEndGame())
        session_.NewBoard(n);
    else
        ShowSize();  // the item chosen took a check mark
}

void TForm1::ShowSize()
{
    for (QAction* size : {N1x1, N4x4, N5x5, N6x6, N7x7})
        size->setChecked(size->data().toInt() == BoardSize());
}

bool TForm1::event(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {  // every text in the language now in force
        RetranslateTexts(this);
        if (started_)
            OpenDialog1.Filter = PictureDialogFilter();
        ShowGame();
    }
    if (event->type() == QEvent::Paint && !started_)
        QTimer::singleShot(0, this, &TForm1::FinishStart);  // the window is on the screen
    return QMainWindow::event(event);
}

void TForm1::Open1Click() { pictures_->Open(OpenDialog1); }

void TForm1::OpenPicture(const QString& path) { session_.OpenPicture(path); }

void TForm1::HighScores1Click()
{
    if (Form3) {
        session_.RereadScores();  // as the file is now, other windows' records with it
        Form3->Present(session_.Scores(), BoardSize());
        Form3->exec();
    }
}

void TForm1::Statistics1Click()
{
    if (!statistics_) {
        statistics_ = new TStatisticsWindow(*history_, clock_, this);
        connect(statistics_, &TStatisticsWindow::Changed, this, &TForm1::GameShown);  // for the state report
    }
    statistics_->ShowSize(BoardSize());
}

void TForm1::ClearScores1Click()
{
    if (questions_->MayClearScores())
        session_.ClearScores();
}

void TForm1::SpeedButton2Click()
{
    if (About)
        About->exec();
}

void TForm1::Exit()
{
    // Only what could not be written yet is written; a file that cannot be written is told of,
    // and the window closes all the same. The game in progress is kept as it closes.
    session_.SaveScores();
    close();
}
