#include "game/Unit1.h"

#include "effects/FxImage.h"
#include "framework/Application.h"
#include "framework/Bevel.h"
#include "framework/Hints.h"
#include "framework/MenuStyle.h"
#include "framework/Panel.h"
#include "framework/PictureFile.h"
#include "framework/Random.h"
#include "framework/SpeedButton.h"
#include "game/BuiltinPicture.h"
#include "game/Commands.h"
#include "game/DialogLayout.h"
#include "game/Glyphs.h"
#include "game/Unit2.h"
#include "game/Unit3.h"
#include "game/Unit4.h"
#include "hint/Zelhint.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <utility>

TForm1* Form1 = nullptr;
int GapPos = 0;

namespace {

const QString kTimePrefix = QStringLiteral("Время : ");
const QString kPauseHint = QStringLiteral("Пауза.");
const QString kContinueHint = QStringLiteral("Продолжить.");
constexpr int kToolBarHeight = 40;
constexpr int kTimeLabelWidth = 124;
// Embossed digits in the face colour.
const TFont kClockFont = MakeFont(QStringLiteral("Arial"), 21, clBtnFace, true);

template <typename T>
T* Named(T* component, const char* name)
{
    component->setObjectName(QLatin1String(name));
    return component;
}

TSpeedButton* MakeToolButton(QWidget* parent, const char* name, int left, const QImage& glyph, int glyphs,
                             const QString& hint)
{
    auto* button = Named(new TSpeedButton(parent), name);
    button->setGeometry(left, 8, 25, 25);
    button->SetGlyph(glyph, glyphs);
    SetHint(button, hint);
    SetShowHint(button, true);
    return button;
}

// The piece of the picture that the tile at (column, row) of an n x n board shows, scaled to
// the tile.
TBitmap CutPiece(const TBitmap& source, int column, int row, int n)
{
    const int t = TileSize(n);
    TBitmap piece(t, t);
    piece.Canvas().StretchMode = TStretchMode::smSmooth;
    piece.Canvas().CopyRect(Rect(0, 0, t, t), source.Canvas(), SourceRect(column, row, n, source.Width(), source.Height()));
    return piece;
}

bool IsBoardKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// The first local file of a drag, if it brings one.
QString DroppedFile(const QMimeData* data)
{
    for (const QUrl& url : data ? data->urls() : QList<QUrl>())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    if (!MainForm())
        SetMainForm(this);  // the first window the program makes is its main window
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    CreateComponents();
    CreateMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border: the client size decides
    // The window's own making, while the built-in picture may still be drawn on another thread.
    ensurePolished();
    winId();
    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::CreateComponents()
{
    auto* client = Named(new QWidget(this), "Client");
    setCentralWidget(client);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Image1 = Named(new TImage(client), "Image1");
    Image1->setGeometry(424, 48, 250, 250);
    Image1->SetAutoSize(true);
    Image1->SetStretch(true);
    Image1->hide();

    Panel1 = Named(new TPanel(client), "Panel1");
    Panel1->SetBevelOuter(TPanelBevel::bvLowered);

    // The peek: the whole picture over the board, framed as the 1 x 1 board frames it.
    PeekPanel = Named(new TPanel(client), "PeekPanel");
    PeekPanel->SetBevelOuter(TPanelBevel::bvLowered);
    (new TBevel(PeekPanel, TBevelStyle::bsRaised))->setGeometry(FrameRect(1, 1, 1).ToQRect());
    PeekImage = Named(new TImage(PeekPanel), "PeekImage");
    PeekImage->setGeometry(TileRect(1, 1, 1).ToQRect());
    PeekPanel->hide();
    PeekTimer = Named(new QTimer(this), "PeekTimer");
    PeekTimer->setSingleShot(true);
    PeekTimer->setInterval(2000);
    connect(PeekTimer, &QTimer::timeout, this, [this] { ShowPeek(false); });
    BlinkTimer = Named(new QTimer(this), "BlinkTimer");
    BlinkTimer->setInterval(160);  // six changes, three blinks, within a second
    connect(BlinkTimer, &QTimer::timeout, this, &TForm1::Blink);
    SolveTimer = Named(new QTimer(this), "SolveTimer");
    SolveTimer->setInterval(125);  // eight moves a second
    connect(SolveTimer, &QTimer::timeout, this, &TForm1::PlayNextSolutionMove);

    Panel2 = Named(new TPanel(client), "Panel2");
    SpeedButton1 = MakeToolButton(Panel2, "SpeedButton1", 8, StartGlyph(), 4, QStringLiteral("Перемешать."));
    SpeedButton2 = MakeToolButton(Panel2, "SpeedButton2", 72, OpenGlyph(), 2, QStringLiteral("Другой рисунок."));
    SpeedButton3 = MakeToolButton(Panel2, "SpeedButton3", 104, ExitGlyph(), 2, QStringLiteral("Выход из программы."));
    SpeedButton4 = MakeToolButton(Panel2, "SpeedButton4", 40, PauseGlyph(), 2, kPauseHint);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::Start);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::Open1Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::Exit);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);

    Image2 = Named(new TImage(Panel2), "Image2");
    Image2->setGeometry(24, 248, 1, 1);
    Image2->hide();
    Image2->setEnabled(false);

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    // The clock: embossed digits in the face colour, redrawn at once (no effect) every second.
    Label1 = Named(new TFxLabel(Panel2), "Label1");
    Label1->resize(kTimeLabelWidth, kToolBarHeight - 2);
    Label1->SetAlignment(taCenter);
    Label1->SetBevelOuter(TPanelBevel::bvLowered);
    Label1->SetColor(clBtnFace);
    Label1->SetFont(kClockFont);
    Label1->SetTextStyle(tsRaised);
    Label1->SetEffect(0);
    SetHint(Label1, QStringLiteral("А время идет ..."));
    SetShowHint(Label1, false);

    // From here on every hint of the program shows in the manager's balloon.
    ZelHint1 = new TZelHint(this);
    ZelHint1->setObjectName(QStringLiteral("ZelHint1"));
    ZelHint1->SetHintColor(clBtnFace);
    ZelHint1->SetHintShadowColor(clGray);
    ZelHint1->SetHintFont(MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true));

    OpenDialog1.FileName = QStringLiteral("mozik.bmp");  // its filter comes with FinishStart
    setAcceptDrops(true);  // a picture file dropped on the window opens as if chosen with Open
}

void TForm1::CreateMenu()
{
    MainMenu1 = Named(menuBar(), "MainMenu1");
    auto item = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                       void (TForm1::*command)()) {
        QAction* action = Named(menu->addAction(caption), name);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, command);
        return action;
    };

    File1 = Named(MainMenu1->addMenu(QStringLiteral("&File")), "File1");
    Start1 = item(File1, "Start1", QStringLiteral("&Start"), QKeySequence(Qt::Key_F2), &TForm1::Start);
    Pause1 = item(File1, "Pause1", QStringLiteral("&Pause"), QKeySequence(Qt::CTRL | Qt::Key_F2),
                  &TForm1::SpeedButton4Click);
    Open1 = item(File1, "Open1", QStringLiteral("&Open ..."), QKeySequence(Qt::Key_F3), &TForm1::Open1Click);
    HighScores1 = item(File1, "HighScores1", QStringLiteral("&High Scores ..."), {}, &TForm1::HighScores1Click);
    ClearScores1 = item(File1, "ClearScores1", QStringLiteral("&Clear Scores"), {}, &TForm1::ClearScores1Click);
    N1 = Named(File1->addSeparator(), "N1");
    Exit1 = item(File1, "Exit1", QStringLiteral("E&xit"), QKeySequence(Qt::ALT | Qt::Key_X), &TForm1::Exit);

    Options1 = Named(MainMenu1->addMenu(QStringLiteral("&Size")), "Options1");
    N1x1 = item(Options1, "N1x1", QStringLiteral("&1  x  1"), {}, &TForm1::N1x1Click);
    N4x4 = item(Options1, "N4x4", QStringLiteral("&4  x  4"), {}, &TForm1::N4x4Click);
    N5x5 = item(Options1, "N5x5", QStringLiteral("&5  x  5"), {}, &TForm1::N5x5Click);
    N6x6 = item(Options1, "N6x6", QStringLiteral("&6  x  6"), {}, &TForm1::N6x6Click);
    N7x7 = item(Options1, "N7x7", QStringLiteral("&7  x  7"), {}, &TForm1::N7x7Click);
    for (QAction* size : {N1x1, N4x4, N5x5, N6x6, N7x7})
        size->setCheckable(true);
    N5x5->setChecked(true);

    Game1 = Named(MainMenu1->addMenu(QStringLiteral("&Game")), "Game1");
    Hint1 = item(Game1, "Hint1", QStringLiteral("&Hint"), QKeySequence(Qt::Key_H), &TForm1::Hint1Click);
    Solve1 = item(Game1, "Solve1", QStringLiteral("S&olve"), {}, &TForm1::Solve1Click);
    Undo1 = item(Game1, "Undo1", QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), &TForm1::Undo1Click);
    Redo1 = item(Game1, "Redo1", QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TForm1::Redo1Click);
    Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Space held is handled by the window itself (press and release); the menu item peeks for a while.
    Peek1 = item(Game1, "Peek1", QStringLiteral("&Peek"), QKeySequence(Qt::Key_Space), &TForm1::Peek1Click);

    Help1 = Named(MainMenu1->addMenu(QStringLiteral("&Help")), "Help1");
    About1 = item(Help1, "About1", QStringLiteral("&About"), {}, &TForm1::SpeedButton2Click);
    for (QMenu* menu : {File1, Options1, Game1, Help1})
        UseClassicMenuLook(menu, font());
}

void TForm1::FormCreate()
{
    // Taken as late as can be: it may still be being drawn on another thread.
    Image1->SetPicture(MakeBuiltinPicture());
    Rebuild(5);
    const QString directory = QDir::currentPath();
    PictureName = QStringLiteral("Mozik.bmp");
    setWindowTitle(PictureName + SizeSuffix(Game.BoardSize()));

    // The file stays bound to where it was found at the start, wherever the open dialog goes later.
    ScoreFile = TScoreFile::Locate(directory, TScoreFile::DataFolder());
    Scores = ScoreFile.Load();
    if (!ScoreFile.Problem().isEmpty())
        startProblems_ << ScoreFile.Problem();
}

void TForm1::FormDestroy()
{
    FieldDestroy();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    CentreOnScreen(this);
    emit GameShown();
}

void TForm1::FinishStart()
{
    if (std::exchange(started_, true))
        return;
    ScoreFile.CreateIfMissing();
    OpenDialog1.Filter = PictureDialogFilter();
    emit Started();
    if (!startProblems_.isEmpty()) {
        // Told over the game's window, once it is there to be seen, one box after the other.
        const QStringList problems = std::exchange(startProblems_, QStringList());
        WhenNoDialogIsOpen(this, [this, problems] {
            for (const QString& problem : problems)
                ShowErrorBox(this, problem);
        });
    }
}

QString TForm1::SizeSuffix(int n) const
{
    return QStringLiteral("  -  %1 x %1").arg(n);
}

void TTile::ShowPiece(int piece, const TBitmap& picture)
{
    if (piece_ == piece)
        return;
    piece_ = piece;
    SetPicture(picture);
}

TTile* TForm1::TileAt(int p) const
{
    return p >= 1 && p <= int(nodes_.size()) ? nodes_[size_t(p - 1)]->Tile : nullptr;
}

TBevel* TForm1::FrameAt(int p) const
{
    return p >= 1 && p <= int(nodes_.size()) ? nodes_[size_t(p - 1)]->Frame : nullptr;
}

void TForm1::Rebuild(int n)
{
    StopSolver();
    StopBlink();
    FieldDestroy();
    Game.NewBoard(n);
    FieldCreate();
}

void TForm1::FieldCreate()
{
    const int n = Game.BoardSize();
    const QSize client = ClientSize(n);
    centralWidget()->setFixedSize(client);
    Panel2->setGeometry(0, 0, client.width(), kToolBarHeight);
    Label1->setGeometry(client.width() - 1 - kTimeLabelWidth, 1, kTimeLabelWidth, kToolBarHeight - 2);
    Panel1->setGeometry(0, kToolBarHeight, client.width(), client.height() - kToolBarHeight);

    // The frames first, then the pictures, so that the panel holds them in this order.
    FirstNode = nullptr;
    LastNode = nullptr;
    TTileNode* previous = nullptr;
    for (int row = 1; row <= n; ++row)
        for (int column = 1; column <= n; ++column) {
            auto* node = new TTileNode;
            node->Prev = previous;
            if (previous)
                previous->Next = node;
            else
                FirstNode = node;
            node->Frame = new TBevel(Panel1, TBevelStyle::bsRaised);
            node->Frame->setGeometry(FrameRect(column, row, n).ToQRect());
            nodes_.push_back(node);
            previous = node;
        }
    LastNode = previous;

    for (TTileNode* node : nodes_) {
        const int p = int(pieces_.size()) + 1;
        const int column = ColumnOf(p, n), row = RowOf(p, n);
        pieces_.push_back(CutPiece(Image1->Picture(), column, row, n));
        node->Tile = new TTile(Panel1, p);
        connect(node->Tile, &TImage::Click, this, &TForm1::Move);
        node->Tile->SetStretch(true);
        node->Tile->setGeometry(TileRect(column, row, n).ToQRect());
        node->Tile->ShowPiece(p, pieces_.back());
    }
    PeekPanel->setGeometry(Panel1->geometry());
    ShowGame();
}

void TForm1::FieldDestroy()
{
    for (TTileNode* node = LastNode; node;) {
        TTileNode* previous = node->Prev;
        delete node->Tile;
        delete node->Frame;
        delete node;
        node = previous;
    }
    FirstNode = nullptr;
    LastNode = nullptr;
    nodes_.clear();
    pieces_.clear();
}

void TForm1::ShowGame()
{
    if (!Game.Playing() && Peeking())
        ShowPeek(false);  // a peek is taken on the clock of a game being played
    const int n = Game.BoardSize();
    for (TTileNode* node : nodes_) {
        const int piece = Game.Grid().AtPosition(node->Tile->Position(), n);
        // The gap's cell is hidden during a game; at its end the corner piece is back there.
        const bool shown = piece != 0 || !Game.Running();
        if (piece != 0)
            node->Tile->ShowPiece(piece, pieces_[size_t(piece - 1)]);
        node->Tile->setVisible(shown);
        node->Frame->setVisible(shown);
    }
    GapPos = Game.GapPos();

    // A clock too long for the label inside its bevel is condensed to fit.
    const QString time = kTimePrefix + QString::number(Game.Seconds());
    Label1->SetFont(FittingFont(kClockFont, time, kTimeLabelWidth - 2));
    Label1->SetCaption(time);
    const TCommandStates states = CommandStates(Game, Peeking());
    SpeedButton1->setEnabled(states.StartButton);
    Start1->setEnabled(states.StartItem);
    SpeedButton4->setEnabled(states.Pause);
    Pause1->setEnabled(states.Pause);
    SetHint(SpeedButton4, states.PauseSaysContinue ? kContinueHint : kPauseHint);
    SetShowHint(Label1, states.TimeHint);
    Label1->setEnabled(states.TimeEnabled);
    if (!states.ClockRuns)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
    Hint1->setEnabled(states.Hint);
    Solve1->setEnabled(states.Solve);
    Undo1->setEnabled(states.Undo);
    Redo1->setEnabled(states.Redo);
    Peek1->setEnabled(states.Peek);
    emit GameShown();
}

void TForm1::Start()
{
    if (Game.BoardSize() == 1)
        return;
    StopSolver();
    ProgramRandom().Randomize();
    Game.Start(ProgramRandom());
    planner_ = THintPlanner(SolverOptions);
    Image2->SetPicture(pieces_.back());  // the corner piece, put back when the picture is whole
    ShowGame();
}

void TForm1::Move(QObject* sender)
{
    const auto* tile = qobject_cast<TTile*>(sender);
    if (tile && TileAt(tile->Position()) == tile)
        MoveTile(tile->Position());
}

void TForm1::MoveTile(int p)
{
    if (Game.Playing() && !Peeking())
        Shown(Game.Move(p));
}

void TForm1::Shown(const TMoveResult& result)
{
    if (!result.Moved)
        return;
    StopBlink();
    ShowGame();
    CheckSolved();
}

void TForm1::Hint1Click()
{
    if (Game.Playing() && !Peeking() && !solver_.joinable())
        AskSolver(false);
}

void TForm1::Solve1Click()
{
    if (Peeking() || !Game.GiveUp())
        return;
    // The clock stops at once; from here on a key or a click only hurries the solution home.
    StopSolver();
    StopBlink();
    solving_ = true;
    finishAtOnce_ = false;
    solution_.reset();
    qApp->installEventFilter(this);
    ShowGame();
    AskSolver(true);
}

void TForm1::AskSolver(bool wholeSolution)
{
    const TPosition position = Game.Position();
    // The tables of the 4 x 4 board take a moment to read, or to build the first time.
    if (!busyCursor_ && position.N == 4 && !SolverOptions.Tables && !TTableStore::Shared().IsReady()) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        busyCursor_ = true;
    }
    const int question = ++question_;
    solver_ = std::jthread([this, position, wholeSolution, question](std::stop_token stop) {
        std::optional<TMoves> answer;
        try {
            if (wholeSolution) {
                answer = planner_.Solution(position, stop);
            } else if (const std::optional<int> tile = planner_.NextMove(position, stop)) {
                answer = *tile ? TMoves{*tile} : TMoves{};
            }
        } catch (const std::exception&) {
            answer.reset();  // a board the solver cannot take gets no answer
        }
        QMetaObject::invokeMethod(
            this, [this, position, answer, question] {
                if (question == question_)
                    SolverAnswered(position, answer);
            },
            Qt::QueuedConnection);
    });
}

void TForm1::SolverAnswered(const TPosition& asked, const std::optional<TMoves>& answer)
{
    if (solver_.joinable())
        solver_.join();
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
    if (asked != Game.Position() || !answer)
        return;  // the board has changed meanwhile, or the work was stopped
    if (solving_) {
        solution_ = *answer;
        if (finishAtOnce_)
            FinishSolution();
        else
            SolveTimer->start();
    } else if (!answer->empty() && Game.Playing()) {
        hinted_ = answer->front();
        blinks_ = 0;
        Blink();
        BlinkTimer->start();
        emit GameShown();
    }
}

void TForm1::StopSolver()
{
    if (solver_.joinable()) {
        solver_.request_stop();
        solver_.join();
    }
    ++question_;  // an answer already on its way is for a question no longer asked
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
    SolveTimer->stop();
    if (solving_) {
        solving_ = false;
        solution_.reset();
        qApp->removeEventFilter(this);
    }
}

void TForm1::WaitForSolver()
{
    if (solver_.joinable())
        solver_.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

// The hinted tile's frame turns from raised to lowered and back, three times.
void TForm1::Blink()
{
    const int p = Game.PositionOfTile(hinted_);
    if (p == 0 || ++blinks_ > 6) {
        StopBlink();
        emit GameShown();
        return;
    }
    FrameAt(p)->SetStyle(blinks_ % 2 ? TBevelStyle::bsLowered : TBevelStyle::bsRaised);
}

void TForm1::StopBlink()
{
    BlinkTimer->stop();
    if (const int p = Game.PositionOfTile(hinted_); p && FrameAt(p))
        FrameAt(p)->SetStyle(TBevelStyle::bsRaised);
    hinted_ = 0;
}

void TForm1::PlayNextSolutionMove()
{
    if (!solution_ || solution_->empty()) {
        FinishSolution();
        return;
    }
    const int tile = solution_->front();
    solution_->erase(solution_->begin());
    Shown(Game.Move(Game.PositionOfTile(tile)));
    if (!Game.Running())
        FinishSolution();
}

void TForm1::FinishSolution()
{
    if (!solution_) {
        finishAtOnce_ = true;  // as soon as the solution is there
        return;
    }
    SolveTimer->stop();
    for (int tile : *solution_)
        Game.Move(Game.PositionOfTile(tile));
    solution_.reset();
    solving_ = false;
    qApp->removeEventFilter(this);
    ShowGame();
    CheckSolved();
}

// During a solution's playback any key or click only ends it, at once.
bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (solving_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress
                     || event->type() == QEvent::ShortcutOverride)) {
        event->accept();  // an accepted override keeps the key from any shortcut
        FinishSolution();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::Undo1Click()
{
    if (!Peeking())
        Shown(Game.Undo());
}

void TForm1::Redo1Click()
{
    if (!Peeking())
        Shown(Game.Redo());
}

int TForm1::TileForKey(int key) const
{
    // The arrow says where the tile goes: Left slides the tile right of the gap to the left.
    const int n = Game.BoardSize(), gap = Game.GapPos();
    const int column = ColumnOf(gap, n), row = RowOf(gap, n);
    switch (key) {
    case Qt::Key_Left: return column < n ? gap + 1 : 0;
    case Qt::Key_Right: return column > 1 ? gap - 1 : 0;
    case Qt::Key_Up: return row < n ? gap + n : 0;
    case Qt::Key_Down: return row > 1 ? gap - n : 0;
    default: return 0;
    }
}

bool TForm1::Peeking() const
{
    return PeekPanel->isVisibleTo(this);
}

void TForm1::Peek1Click()
{
    ShowPeek(true);
    if (Peeking())
        PeekTimer->start();
}

void TForm1::ShowPeek(bool show)
{
    if (show == Peeking() || (show && !Game.Playing()))
        return;
    PeekTimer->stop();
    if (show) {
        PeekImage->SetPicture(CutPiece(Image1->Picture(), 1, 1, 1));
        PeekPanel->raise();
    }
    PeekPanel->setVisible(show);
    ShowGame();
}

// Keys on the board are the window's own: the arrows and Space never reach a shortcut, and
// Space is told apart when pressed, held and let go.
bool TForm1::event(QEvent* event)
{
    if (event->type() == QEvent::Paint && !started_)
        QTimer::singleShot(0, this, &TForm1::FinishStart);  // the window is on the screen
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && IsBoardKey(key->key())) {
            event->accept();
            return true;
        }
    }
    return QMainWindow::event(event);
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() != Qt::NoModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            PeekTimer->stop();  // held, it lasts until it is let go
            ShowPeek(true);
        }
        return;
    }
    if (const int p = TileForKey(event->key())) {
        MoveTile(p);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TForm1::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && !PeekTimer->isActive())
        ShowPeek(false);
    QMainWindow::keyReleaseEvent(event);
}

void TForm1::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        ShowPeek(false);
    QMainWindow::changeEvent(event);
}

void TForm1::CheckSolved()
{
    const int n = Game.BoardSize();
    if (Game.Running() || !IsSolved(Game.Grid(), n))
        return;
    LastNode->Tile->ShowPiece(n * n, Image2->Picture());
    ShowGame();
    if (Game.GivenUp())
        return;  // solved by the solver: no result, no record
    const int seconds = Game.Seconds();
    Scores = ScoreFile.Table();  // the place offered is judged against the file as it is now
    if (Form2) {
        Form2->Present(Scores, n, seconds);
        const QMetaObject::Connection recording = connect(Form2, &TForm2::NameEntered, this, &TForm1::RecordScore);
        Form2->exec();
        disconnect(recording);
    }
    if (Form3) {
        Form3->Present(Scores, n);
        Form3->exec();
    }
}

void TForm1::RecordScore(const QString& name)
{
    const int n = Game.BoardSize(), seconds = Game.Seconds();
    if (!TScoreTable::HasSize(n) || !Scores.Qualifies(n, seconds))
        return;
    QString problem;
    ScoreFile.Place(n, EncodeName(name), seconds, &Scores, &problem);
    if (!problem.isEmpty())
        ShowErrorBox(this, problem);
}

void TForm1::Timer1Timer()
{
    Game.Tick();
    ShowGame();
}

void TForm1::SpeedButton4Click()
{
    Game.TogglePause();
    ShowGame();
}

void TForm1::Open1Click()
{
    if (OpenDialog1.Execute(this))
        OpenPicture(OpenDialog1.FileName);
}

bool TForm1::OpenPicture(const QString& path)
{
    const QString problem = TakePicture(path, QFile::encodeName(path));
    if (!problem.isEmpty())
        ShowErrorBox(this, problem);
    return problem.isEmpty();
}

void TForm1::OpenPictureAtStart(const QByteArray& localPath)
{
    if (const QString problem = TakePicture(QFile::decodeName(localPath), localPath); !problem.isEmpty())
        startProblems_ << problem;
}

QString TForm1::TakePicture(const QString& path, const QByteArray& localPath)
{
    QString reason;
    const QImage picture = ReadLocalPictureFile(localPath, &reason);
    if (picture.isNull()) {
        // The picture, its name, the board and any game in progress stay as they were.
        return QStringLiteral("Не удалось открыть рисунок «%1».\n%2").arg(path, reason);
    }
    Image1->SetPicture(TBitmap(picture));
    PictureName = QFileInfo(path).fileName();
    setWindowTitle(PictureName + SizeSuffix(Game.BoardSize()));
    Rebuild(Game.BoardSize());
    return {};
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenPicture(path);
}

void TForm1::ChooseSize(int n, QAction* item)
{
    setWindowTitle(PictureName + SizeSuffix(n));
    for (QAction* size : {N1x1, N4x4, N5x5, N6x6, N7x7})
        if (size != item)
            size->setChecked(false);
    item->setChecked(true);
    Rebuild(n);
}

void TForm1::N1x1Click() { ChooseSize(1, N1x1); }
void TForm1::N4x4Click() { ChooseSize(4, N4x4); }
void TForm1::N5x5Click() { ChooseSize(5, N5x5); }
void TForm1::N6x6Click() { ChooseSize(6, N6x6); }
void TForm1::N7x7Click() { ChooseSize(7, N7x7); }

void TForm1::HighScores1Click()
{
    if (Form3) {
        Scores = ScoreFile.Table();  // as the file is now, other windows' records with it
        Form3->Present(Scores, Game.BoardSize());
        Form3->exec();
    }
}

void TForm1::ClearScores1Click()
{
    QString problem;
    ScoreFile.Clear(&Scores, &problem);
    if (!problem.isEmpty())
        ShowErrorBox(this, problem);
}

void TForm1::SpeedButton2Click()
{
    if (About)
        About->exec();
}

void TForm1::Exit()
{
    // Only what this window could not write yet is written; a file that cannot be written is
    // told of, and the window closes all the same.
    QString problem;
    if (!ScoreFile.SaveKept(&problem))
        ShowErrorBox(this, problem);
    close();
}
