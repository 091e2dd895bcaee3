#include "game/Unit1.h"

#include "effects/FxImage.h"
#include "framework/Application.h"
#include "framework/Bevel.h"
#include "framework/Hints.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "framework/Random.h"
#include "framework/SpeedButton.h"
#include "game/BuiltinPicture.h"
#include "game/DialogLayout.h"
#include "game/Glyphs.h"
#include "game/ScoreFile.h"
#include "game/Unit2.h"
#include "game/Unit3.h"
#include "game/Unit4.h"
#include "hint/Zelhint.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
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
    Image1->SetPicture(MakeBuiltinPicture());
    Image1->hide();

    Panel1 = Named(new TPanel(client), "Panel1");
    Panel1->SetBevelOuter(TPanelBevel::bvLowered);

    Panel2 = Named(new TPanel(client), "Panel2");
    SpeedButton1 = MakeToolButton(Panel2, "SpeedButton1", 8, StartGlyph(), 4, QStringLiteral("Перемешать."));
    SpeedButton2 = MakeToolButton(Panel2, "SpeedButton2", 72, OpenGlyph(), 2, QStringLiteral("Другой рисунок."));
    SpeedButton3 = MakeToolButton(Panel2, "SpeedButton3", 104, ExitGlyph(), 2, QStringLiteral("Выход из программы."));
    SpeedButton4 = MakeToolButton(Panel2, "SpeedButton4", 40, PauseGlyph(), 2, kPauseHint);
    SpeedButton4->setEnabled(false);
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
    Label1->SetFont(MakeFont(QStringLiteral("Arial"), 21, clBtnFace, true));
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

    OpenDialog1.FileName = QStringLiteral("mozik.bmp");
    OpenDialog1.Filter = QStringLiteral("Точечные рисунки ( *.bmp )|*.bmp");
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
    Pause1->setEnabled(false);
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

    Help1 = Named(MainMenu1->addMenu(QStringLiteral("&Help")), "Help1");
    About1 = item(Help1, "About1", QStringLiteral("&About"), {}, &TForm1::SpeedButton2Click);
}

void TForm1::FormCreate()
{
    BoardSize = 5;
    FieldCreate();
    const QString directory = QDir::currentPath();
    PictureName = QStringLiteral("Mozik.bmp");
    Paused = false;
    setWindowTitle(PictureName + SizeSuffix());

    // The file stays bound to where it was found at the start, wherever the open dialog goes later.
    scoreFile_ = TScoreFile::Locate(
        directory, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Mozik"));
    Scores = scoreFile_.Load();
    ScoreFile = scoreFile_.Path();
    scoreFileProblem_ = scoreFile_.Problem();
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
    if (!scoreFileProblem_.isEmpty()) {
        // Told over the game's window, once it is there to be seen.
        const QString problem = std::exchange(scoreFileProblem_, QString());
        QTimer::singleShot(0, this, [this, problem] { ShowErrorBox(this, problem); });
    }
}

QString TForm1::SizeSuffix() const
{
    return QStringLiteral("  -  %1 x %1").arg(BoardSize);
}

QList<QWidget*> TForm1::BoardComponents() const
{
    return Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

TImage* TForm1::TileAt(int p) const
{
    const int cells = BoardSize * BoardSize;
    const QList<QWidget*> components = BoardComponents();
    const int index = cells + p - 1;
    return p >= 1 && p <= cells && index < components.size() ? qobject_cast<TImage*>(components[index]) : nullptr;
}

TBevel* TForm1::FrameAt(int p) const
{
    const QList<QWidget*> components = BoardComponents();
    return p >= 1 && p <= components.size() ? qobject_cast<TBevel*>(components[p - 1]) : nullptr;
}

void TForm1::FieldCreate()
{
    const int n = BoardSize;
    const int t = TileSize(n);

    const QSize client = ClientSize(n);
    centralWidget()->setFixedSize(client);
    Panel2->setGeometry(0, 0, client.width(), kToolBarHeight);
    Label1->setGeometry(client.width() - 1 - kTimeLabelWidth, 1, kTimeLabelWidth, kToolBarHeight - 2);
    Panel1->setGeometry(0, kToolBarHeight, client.width(), client.height() - kToolBarHeight);

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
            node->Frame->show();
            previous = node;
        }
    LastNode = previous;

    const TBitmap& source = Image1->Picture();
    TTileNode* node = FirstNode;
    for (int row = 1; row <= n; ++row)
        for (int column = 1; column <= n; ++column, node = node->Next) {
            auto* tile = new TImage(Panel1);
            connect(tile, &TImage::Click, this, &TForm1::Move);
            tile->SetStretch(true);
            tile->setGeometry(TileRect(column, row, n).ToQRect());
            TBitmap piece(t, t);
            piece.Canvas().StretchMode = TStretchMode::smSmooth;
            piece.Canvas().CopyRect(Rect(0, 0, t, t), source.Canvas(),
                                    SourceRect(column, row, n, source.Width(), source.Height()));
            tile->SetPicture(piece);
            tile->show();
            node->Tile = tile;
        }

    Grid.Reset(n);
    Running = false;
    GapPos = n * n;
    Seconds = 0;
    Timer1->stop();
    ShowTime();
    SpeedButton1->setEnabled(n != 1);
    SpeedButton4->setEnabled(false);
    Pause1->setEnabled(false);
    Start1->setEnabled(true);
    // An interrupted game, paused or not, leaves an idle board: no running clock to hint at,
    // nothing to continue.
    Label1->setEnabled(true);
    SetShowHint(Label1, false);
    SetHint(SpeedButton4, kPauseHint);
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
}

void TForm1::Start()
{
    const int n = BoardSize;
    if (n == 1)
        return;
    Running = true;
    Seconds = 0;
    Paused = false;
    ShowTime();
    SpeedButton1->setEnabled(false);
    Start1->setEnabled(false);
    SpeedButton4->setEnabled(true);
    Pause1->setEnabled(true);
    SetShowHint(Label1, true);
    LastNode->Tile->hide();
    LastNode->Frame->hide();

    Randomize();
    for (const auto& [pa, pb] : ShuffleSwaps(n)) {
        TImage* a = TileAt(pa);
        TImage* b = TileAt(pb);
        Image2->SetPicture(a->Picture());
        a->SetPicture(b->Picture());
        b->SetPicture(Image2->Picture());
        std::swap(Grid.AtPosition(pa, n), Grid.AtPosition(pb, n));
    }
    Timer1->start();
    Image2->SetPicture(LastNode->Tile->Picture());
}

void TForm1::Move(QObject* sender)
{
    if (!Running || Paused)
        return;
    const int n = BoardSize;
    const int cells = n * n;
    const int index = int(BoardComponents().indexOf(qobject_cast<QWidget*>(sender)));
    if (index < cells || index >= 2 * cells)
        return;
    const int p = index - cells + 1;
    const int q = GapBeside(p, GapPos, n);
    if (q == 0)
        return;

    TileAt(p)->hide();
    FrameAt(p)->hide();
    TileAt(q)->SetPicture(TileAt(p)->Picture());
    TileAt(q)->show();
    FrameAt(q)->show();
    GapPos = p;
    Grid.AtPosition(q, n) = Grid.AtPosition(p, n);
    Grid.AtPosition(p, n) = 0;
    CheckSolved();
}

void TForm1::CheckSolved()
{
    if (!IsSolved(Grid, BoardSize))
        return;
    Timer1->stop();
    SpeedButton4->setEnabled(false);
    Pause1->setEnabled(false);
    SetShowHint(Label1, false);
    LastNode->Tile->SetPicture(Image2->Picture());
    LastNode->Tile->show();
    LastNode->Frame->show();
    SpeedButton1->setEnabled(true);
    Start1->setEnabled(true);
    Running = false;
    if (Form2) {
        Form2->Label2->setText(QString::number(Seconds));
        Form2->exec();
    }
    if (Form3)
        Form3->exec();
}

void TForm1::ShowTime()
{
    Label1->SetCaption(kTimePrefix + QString::number(Seconds));
}

void TForm1::Timer1Timer()
{
    ++Seconds;
    ShowTime();
}

void TForm1::SpeedButton4Click()
{
    Paused = !Paused;
    SetShowHint(Label1, !Paused);
    if (Paused)
        Timer1->stop();
    else
        Timer1->start();
    Label1->setEnabled(!Paused);
    SetHint(SpeedButton4, Paused ? kContinueHint : kPauseHint);
}

void TForm1::Open1Click()
{
    if (!OpenDialog1.Execute(this))
        return;
    const QString path = OpenDialog1.FileName;
    TBitmap picture;
    QString reason;
    if (!picture.LoadFromFile(path, &reason)) {
        // The picture, its name, the board and any game in progress stay as they were.
        ShowErrorBox(this, QStringLiteral("Не удалось открыть рисунок «%1».\n%2").arg(path, reason));
        return;
    }
    Image1->SetPicture(picture);
    PictureName = QFileInfo(path).fileName();
    setWindowTitle(PictureName + SizeSuffix());
    FieldDestroy();
    FieldCreate();
}

void TForm1::ChooseSize(int n, QAction* item)
{
    BoardSize = n;
    setWindowTitle(PictureName + SizeSuffix());
    for (QAction* size : {N1x1, N4x4, N5x5, N6x6, N7x7})
        if (size != item)
            size->setChecked(false);
    item->setChecked(true);
    FieldDestroy();
    FieldCreate();
}

void TForm1::N1x1Click() { ChooseSize(1, N1x1); }
void TForm1::N4x4Click() { ChooseSize(4, N4x4); }
void TForm1::N5x5Click() { ChooseSize(5, N5x5); }
void TForm1::N6x6Click() { ChooseSize(6, N6x6); }
void TForm1::N7x7Click() { ChooseSize(7, N7x7); }

void TForm1::HighScores1Click()
{
    if (Form3)
        Form3->exec();
}

void TForm1::ClearScores1Click()
{
    Scores.Clear();
    SaveScores();
}

bool TForm1::SaveScores()
{
    QString reason;
    if (scoreFile_.Save(Scores, &reason))
        return true;
    ShowErrorBox(this, QStringLiteral("Не удалось записать таблицу результатов в файл «%1»: %2.").arg(ScoreFile, reason));
    return false;
}

void TForm1::SpeedButton2Click()
{
    if (About)
        About->exec();
}

void TForm1::Exit()
{
    // A table that could not be written keeps the window open, so nothing is lost unseen.
    if (SaveScores())
        close();
}
