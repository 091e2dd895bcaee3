#include "effects/FxImage.h"
#include "framework/Bevel.h"
#include "framework/Hints.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "framework/HintWindow.h"
#include "game/Unit1.h"
#include "hint/Zelhint.h"
#include "tests/game/Solver.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString TimeCaption(const TForm1& form)
{
    return form.Label1->Caption();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { Form1 = &form; }
    void TearDown() override { Form1 = nullptr; }

    void Click(int p) { QTest::mouseClick(form.TileAt(p), Qt::LeftButton, {}, QPoint(3, 3)); }

    // Home numbers by position, 0 at the gap.
    std::vector<int> Cells() const
    {
        std::vector<int> cells;
        for (int p = 1; p <= form.BoardSize * form.BoardSize; ++p)
            cells.push_back(form.Grid.AtPosition(p, form.BoardSize));
        return cells;
    }

    // Writes a picture file whose N x N pieces each have their own colour; pixels beyond the
    // whole pieces are magenta, which no tile may show.
    QString WritePieces(int width, int height, int n, const QString& name = "pieces.bmp")
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        const int sw = width / n, sh = height / n;
        for (int y = 0; y < sh * n; ++y)
            for (int x = 0; x < sw * n; ++x)
                image.setPixelColor(x, y, PieceColour(x / sw + 1, y / sh + 1));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    static QColor PieceColour(int column, int row) { return QColor(30 * column, 30 * row, 100); }

    void Open(const QString& path)
    {
        ScopedOpenFile open({path});
        form.Open1Click();
    }

    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};  // the score file goes to a fresh directory
    TForm1 form;
};

TEST_F(MainWindowTest, StartsWithTheBuiltInPictureOnAFiveByFiveBoard)
{
    EXPECT_EQ(form.windowTitle(), QString("Mozik.bmp  -  5 x 5"));
    EXPECT_EQ(form.centralWidget()->size(), QSize(276, 316));
    EXPECT_EQ(form.Image1->Picture().Width(), 250);
    EXPECT_EQ(form.Image1->Picture().Height(), 250);
    EXPECT_EQ(form.Image1->Picture().PixelFormat(), TPixelFormat::pf16bit);
    EXPECT_FALSE(form.Image1->isVisibleTo(&form));
    EXPECT_EQ(form.PictureName, QString("Mozik.bmp"));
    EXPECT_EQ(TimeCaption(form), QString("Время : 0"));
    EXPECT_FALSE(form.Running);
    EXPECT_FALSE(form.Paused);
    EXPECT_EQ(GapPos, 25);
    EXPECT_EQ(form.OpenDialog1.FileName, QString("mozik.bmp"));
    EXPECT_EQ(form.OpenDialog1.Filter, QString("Точечные рисунки ( *.bmp )|*.bmp"));
    EXPECT_EQ(form.Timer1->interval(), 1000);
    EXPECT_FALSE(form.Timer1->isActive());
}

TEST_F(MainWindowTest, ToolBarAndTimeLabelFollowTheLayout)
{
    EXPECT_EQ(form.Panel2->geometry(), QRect(0, 0, 276, 40));
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 40, 276, 276));
    EXPECT_EQ(form.Label1->geometry(), QRect(276 - 1 - 124, 1, 124, 38));
    EXPECT_EQ(form.SpeedButton1->geometry(), QRect(8, 8, 25, 25));
    EXPECT_EQ(form.SpeedButton4->geometry(), QRect(40, 8, 25, 25));
    EXPECT_EQ(form.SpeedButton2->geometry(), QRect(72, 8, 25, 25));
    EXPECT_EQ(form.SpeedButton3->geometry(), QRect(104, 8, 25, 25));
    EXPECT_EQ(form.SpeedButton1->NumGlyphs(), 4);
    EXPECT_EQ(form.SpeedButton4->NumGlyphs(), 2);
    EXPECT_EQ(Hint(form.SpeedButton1), QString("Перемешать."));
    EXPECT_EQ(Hint(form.SpeedButton4), QString("Пауза."));
    EXPECT_EQ(Hint(form.SpeedButton2), QString("Другой рисунок."));
    EXPECT_EQ(Hint(form.SpeedButton3), QString("Выход из программы."));
    EXPECT_TRUE(ShowHint(form.SpeedButton1));
    EXPECT_EQ(Hint(form.Label1), QString("А время идет ..."));
    EXPECT_FALSE(ShowHint(form.Label1));
    EXPECT_EQ(form.Image2->size(), QSize(1, 1));
    EXPECT_FALSE(form.Image2->isEnabled());
    EXPECT_EQ(form.Panel1->BevelOuter(), TPanelBevel::bvLowered);
}

TEST_F(MainWindowTest, MenuHoldsEveryCommandWithItsCaptionShortcutAndState)
{
    const QList<QAction*> menus = form.MainMenu1->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QString("&File"));
    EXPECT_EQ(menus[1]->text(), QString("&Size"));
    EXPECT_EQ(menus[2]->text(), QString("&Help"));
    QStringList file;
    for (QAction* action : form.File1->actions())
        file << (action->isSeparator() ? QString("-") : action->text());
    EXPECT_EQ(file, QStringList({"&Start", "&Pause", "&Open ...", "&High Scores ...", "&Clear Scores", "-", "E&xit"}));
    EXPECT_EQ(form.Start1->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(form.Pause1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F2));
    EXPECT_EQ(form.Open1->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(form.Exit1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
    EXPECT_FALSE(form.Pause1->isEnabled());
    QStringList sizes;
    for (QAction* action : form.Options1->actions()) {
        sizes << action->text();
        EXPECT_TRUE(action->isCheckable());
        EXPECT_EQ(action->isChecked(), action == form.N5x5);
    }
    EXPECT_EQ(sizes, QStringList({"&1  x  1", "&4  x  4", "&5  x  5", "&6  x  6", "&7  x  7"}));
    EXPECT_EQ(form.Help1->actions(), QList<QAction*>{form.About1});
    EXPECT_EQ(form.About1->text(), QString("&About"));
}

TEST_F(MainWindowTest, EverySizeBuildsItsBoardOfFramesThenPictures)
{
    struct Case {
        QAction* item;
        int n;
    };
    for (const Case& c : {Case{form.N1x1, 1}, Case{form.N4x4, 4}, Case{form.N6x6, 6}, Case{form.N7x7, 7},
                          Case{form.N5x5, 5}}) {
        c.item->trigger();
        const int n = c.n, cells = n * n, t = TileSize(n);
        EXPECT_EQ(form.BoardSize, n);
        EXPECT_EQ(form.centralWidget()->size(), ClientSize(n));
        EXPECT_EQ(form.windowTitle(), QString("Mozik.bmp  -  %1 x %1").arg(n));
        for (QAction* size : form.Options1->actions())
            EXPECT_EQ(size->isChecked(), size == c.item);
        const QList<QWidget*> owned = form.Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(owned.size(), 2 * cells);
        for (int p = 1; p <= cells; ++p) {
            const int column = ColumnOf(p, n), row = RowOf(p, n);
            auto* frame = qobject_cast<TBevel*>(owned[p - 1]);
            auto* tile = qobject_cast<TImage*>(owned[cells + p - 1]);
            ASSERT_TRUE(frame && tile);
            EXPECT_EQ(frame->geometry(), FrameRect(column, row, n).ToQRect());
            EXPECT_EQ(frame->Style(), TBevelStyle::bsRaised);
            EXPECT_EQ(tile->geometry(), TileRect(column, row, n).ToQRect());
            EXPECT_EQ(tile->Picture().Width(), t);
            EXPECT_EQ(tile->Picture().Height(), t);
            EXPECT_TRUE(tile->isVisibleTo(&form) && frame->isVisibleTo(&form));
            EXPECT_EQ(form.Grid.AtPosition(p, n), p == cells ? 0 : p);
        }
        // The list of nodes runs through the same controls in position order.
        int p = 1;
        for (TTileNode* node = form.FirstNode; node; node = node->Next, ++p) {
            EXPECT_EQ(node->Tile, form.TileAt(p));
            EXPECT_EQ(node->Frame, form.FrameAt(p));
            EXPECT_EQ(node->Prev == nullptr, p == 1);
        }
        EXPECT_EQ(p, cells + 1);
        EXPECT_EQ(form.LastNode->Tile, form.TileAt(cells));
        EXPECT_EQ(GapPos, cells);
        EXPECT_EQ(form.SpeedButton1->isEnabled(), n != 1);
        EXPECT_TRUE(form.Start1->isEnabled());
    }
    form.N6x6->trigger();
    EXPECT_EQ(form.FrameAt(36)->geometry().right() + 1, 273);
    form.N7x7->trigger();
    EXPECT_EQ(form.FrameAt(49)->geometry().right() + 1, 276);
    form.FieldDestroy();
    EXPECT_EQ(form.FirstNode, nullptr);
    EXPECT_EQ(form.LastNode, nullptr);
    EXPECT_TRUE(form.Panel1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
    form.FieldCreate();  // leave a board for the destructor
}

TEST_F(MainWindowTest, StartHidesTheCornerShufflesAndStartsTheClock)
{
    form.Start();
    EXPECT_TRUE(form.Running);
    EXPECT_FALSE(form.TileAt(25)->isVisibleTo(&form));
    EXPECT_FALSE(form.FrameAt(25)->isVisibleTo(&form));
    EXPECT_EQ(GapPos, 25);
    EXPECT_EQ(form.Grid.At(5, 5), 0);
    EXPECT_TRUE(IsSolvable(form.Grid, 5));
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_FALSE(form.SpeedButton1->isEnabled());
    EXPECT_FALSE(form.Start1->isEnabled());
    EXPECT_TRUE(form.SpeedButton4->isEnabled());
    EXPECT_TRUE(form.Pause1->isEnabled());
    EXPECT_TRUE(ShowHint(form.Label1));
    // Image2 keeps the missing corner piece, which no swap touched.
    EXPECT_EQ(form.Image2->Picture().Image(), form.TileAt(25)->Picture().Image());
    // Every tile shows the piece that the grid says it shows.
    TForm1 reference;
    for (int p = 1; p < 25; ++p)
        EXPECT_EQ(form.TileAt(p)->Picture().Image(), reference.TileAt(form.Grid.AtPosition(p, 5))->Picture().Image());
}

TEST_F(MainWindowTest, StartOnTheSingleTileBoardDoesNothing)
{
    form.N1x1Click();
    EXPECT_FALSE(form.SpeedButton1->isEnabled());
    EXPECT_TRUE(form.Start1->isEnabled());
    EXPECT_EQ(form.Grid.At(1, 1), 0);
    EXPECT_EQ(GapPos, 1);
    EXPECT_EQ(form.centralWidget()->size(), QSize(262, 302));
    EXPECT_EQ(form.FrameAt(1)->size(), QSize(254, 254));
    form.Start1->trigger();
    EXPECT_FALSE(form.Running);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.TileAt(1)->isVisibleTo(&form));
    EXPECT_FALSE(form.Pause1->isEnabled());
}

TEST_F(MainWindowTest, ClicksMoveOnlyTilesBesideTheGapWhilePlaying)
{
    Click(24);  // before Start: ignored
    EXPECT_EQ(GapPos, 25);
    form.Start();
    const std::vector<int> before = Cells();
    Click(23);  // two cells away
    Click(19);  // diagonal
    Click(25);  // the hidden gap itself
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(GapPos, 25);

    const QImage moving = form.TileAt(24)->Picture().Image();
    Click(24);  // slides right into the gap
    EXPECT_EQ(GapPos, 24);
    EXPECT_EQ(form.Grid.AtPosition(25, 5), before[23]);
    EXPECT_EQ(form.Grid.AtPosition(24, 5), 0);
    EXPECT_FALSE(form.TileAt(24)->isVisibleTo(&form));
    EXPECT_FALSE(form.FrameAt(24)->isVisibleTo(&form));
    EXPECT_TRUE(form.TileAt(25)->isVisibleTo(&form));
    EXPECT_TRUE(form.FrameAt(25)->isVisibleTo(&form));
    EXPECT_EQ(form.TileAt(25)->Picture().Image(), moving);

    Click(19);  // slides down
    EXPECT_EQ(GapPos, 19);
    Click(20);  // slides left
    EXPECT_EQ(GapPos, 20);
    Click(15);  // slides down
    EXPECT_EQ(GapPos, 15);
    Click(16);  // column 1 of row 4 never reaches the gap at the end of row 3
    EXPECT_EQ(GapPos, 15);
    Click(14);  // slides right
    EXPECT_EQ(GapPos, 14);

    form.SpeedButton4Click();  // paused: clicks change nothing
    const std::vector<int> paused = Cells();
    Click(13);
    EXPECT_EQ(Cells(), paused);
    EXPECT_EQ(GapPos, 14);
}

TEST_F(MainWindowTest, RowEndsDoNotWrapOnASetUpBoard)
{
    form.Start();
    // Walk the gap to position 6 (column 1, row 2) by legal moves: 25 -> 21 along row 5,
    // then up to 6.
    for (int p : {24, 23, 22, 21, 16, 11, 6})
        Click(p);
    ASSERT_EQ(GapPos, 6);
    Click(5);  // end of row 1: no move
    EXPECT_EQ(GapPos, 6);
    Click(7);
    EXPECT_EQ(GapPos, 7);
}

TEST_F(MainWindowTest, PauseStopsTheClockAndResumesWhereItStood)
{
    form.Start();
    for (int i = 0; i < 12; ++i)
        form.Timer1Timer();
    EXPECT_EQ(TimeCaption(form), QString("Время : 12"));
    form.Pause1->trigger();
    EXPECT_TRUE(form.Paused);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.Label1->isEnabled());
    EXPECT_FALSE(ShowHint(form.Label1));
    EXPECT_EQ(Hint(form.SpeedButton4), QString("Продолжить."));
    EXPECT_EQ(form.Seconds, 12);
    form.SpeedButton4->click();
    EXPECT_FALSE(form.Paused);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(form.Label1->isEnabled());
    EXPECT_TRUE(ShowHint(form.Label1));
    EXPECT_EQ(Hint(form.SpeedButton4), QString("Пауза."));
    form.Timer1Timer();
    EXPECT_EQ(TimeCaption(form), QString("Время : 13"));
}

TEST_F(MainWindowTest, ARebuildEndsTheGameAndLeavesAConsistentIdleBoard)
{
    form.Start();
    form.Timer1Timer();
    form.SpeedButton4Click();
    form.N4x4Click();
    EXPECT_FALSE(form.Running);
    EXPECT_TRUE(form.Paused);  // kept until the next Start
    EXPECT_EQ(form.Seconds, 0);
    EXPECT_EQ(TimeCaption(form), QString("Время : 0"));
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
    EXPECT_FALSE(form.SpeedButton4->isEnabled());
    EXPECT_TRUE(form.Label1->isEnabled());
    EXPECT_FALSE(ShowHint(form.Label1));
    EXPECT_EQ(Hint(form.SpeedButton4), QString("Пауза."));
    for (int p = 1; p <= 16; ++p)
        EXPECT_TRUE(form.TileAt(p)->isVisibleTo(&form));
    form.Start();
    EXPECT_FALSE(form.Paused);
    // Choosing the size in force rebuilds too.
    form.N4x4Click();
    EXPECT_FALSE(form.Running);
    EXPECT_TRUE(form.N4x4->isChecked());
}

TEST_F(MainWindowTest, AWholeGamePlayedWithClicksEndsWhenThePictureIsWhole)
{
    form.N4x4Click();
    TForm1 reference;
    reference.N4x4Click();
    form.Start();
    for (int i = 0; i < 57; ++i)
        form.Timer1Timer();
    const std::vector<int> clicks = SolvePuzzle(Cells(), 4);
    ASSERT_FALSE(clicks.empty() && !IsSolved(form.Grid, 4));
    for (int p : clicks) {
        ASSERT_TRUE(form.Running);
        Click(p);
    }
    EXPECT_FALSE(form.Running);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Seconds, 57);
    EXPECT_EQ(TimeCaption(form), QString("Время : 57"));
    EXPECT_TRUE(form.SpeedButton1->isEnabled());
    EXPECT_TRUE(form.Start1->isEnabled());
    EXPECT_FALSE(form.SpeedButton4->isEnabled());
    EXPECT_FALSE(form.Pause1->isEnabled());
    EXPECT_FALSE(ShowHint(form.Label1));
    EXPECT_EQ(GapPos, 16);
    for (int p = 1; p <= 16; ++p) {
        EXPECT_TRUE(form.TileAt(p)->isVisibleTo(&form));
        EXPECT_EQ(form.TileAt(p)->Picture().Image(), reference.TileAt(p)->Picture().Image()) << p;
    }
    // Clicks after the end change nothing; Start can run again on the same board.
    Click(15);
    EXPECT_EQ(GapPos, 16);
    form.Start();
    EXPECT_TRUE(form.Running);
}

TEST_F(MainWindowTest, OpeningAPictureTakesItsBareNameAndRebuildsTheBoard)
{
    form.N6x6Click();
    form.Start();
    QDir(dir.path()).mkpath("one/two/three");
    const QString path = WritePieces(120, 90, 6, "one/two/three/holiday.bmp");
    ScopedOpenFile open({path});
    form.SpeedButton2->click();
    EXPECT_EQ(open.Calls(), 1);
    EXPECT_EQ(form.windowTitle(), QString("holiday.bmp  -  6 x 6"));
    EXPECT_EQ(form.PictureName, QString("holiday.bmp"));
    EXPECT_EQ(form.Image1->size(), QSize(120, 90));
    EXPECT_FALSE(form.Running);
    EXPECT_EQ(TimeCaption(form), QString("Время : 0"));
    form.N4x4Click();
    EXPECT_EQ(form.windowTitle(), QString("holiday.bmp  -  4 x 4"));
}

TEST_F(MainWindowTest, CancellingTheOpenDialogChangesNothing)
{
    form.Start();
    const std::vector<int> before = Cells();
    ScopedOpenFile open({QString()});
    form.Open1->trigger();
    EXPECT_EQ(open.Calls(), 1);
    EXPECT_TRUE(form.Running);
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(form.windowTitle(), QString("Mozik.bmp  -  5 x 5"));
}

TEST_F(MainWindowTest, PiecesAreCutAsWholeFractionsAndScaledToTheTile)
{
    form.N7x7Click();
    Open(WritePieces(100, 100, 7));  // 14 x 14 pieces stretched to 35 x 35
    form.N5x5Click();
    form.N7x7Click();
    for (int p = 1; p <= 49; ++p) {
        const QImage tile = form.TileAt(p)->Picture().Image();
        ASSERT_EQ(tile.size(), QSize(35, 35));
        const QColor expected = PieceColour(ColumnOf(p, 7), RowOf(p, 7));
        for (int y = 0; y < 35; y += 2)
            for (int x = 0; x < 35; x += 2)
                ASSERT_EQ(tile.pixelColor(x, y), expected) << "tile " << p << " at " << x << "," << y;
    }
    form.N5x5Click();
    Open(WritePieces(640, 480, 5, "wide.bmp"));  // 128 x 96 pieces on a square board
    for (int p = 1; p <= 25; ++p) {
        const QImage tile = form.TileAt(p)->Picture().Image();
        EXPECT_EQ(tile.size(), QSize(50, 50));
        EXPECT_EQ(tile.pixelColor(0, 0), PieceColour(ColumnOf(p, 5), RowOf(p, 5)));
        EXPECT_EQ(tile.pixelColor(49, 49), PieceColour(ColumnOf(p, 5), RowOf(p, 5)));
    }
}

TEST_F(MainWindowTest, EveryKindOfBitmapOpensAndCutsIntoTiles)
{
    const QDir folder(TestDataPath("bmp/good"));
    ScopedErrorBoxes errors;
    for (const QString& name : folder.entryList({"*.bmp"}, QDir::Files)) {
        Open(folder.filePath(name));
        EXPECT_EQ(form.windowTitle(), name + "  -  5 x 5");
        EXPECT_EQ(form.Panel1->findChildren<TImage*>(QString(), Qt::FindDirectChildrenOnly).size(), 25);
        EXPECT_EQ(form.TileAt(25)->Picture().Width(), 50);
    }
    EXPECT_TRUE(errors.Messages().isEmpty()) << errors.Messages().join("\n").toStdString();
}

TEST_F(MainWindowTest, APictureThatCannotBeReadLeavesEverythingAsItWas)
{
    Open(WritePieces(60, 60, 5, "good.bmp"));
    form.Start();
    form.Timer1Timer();
    const std::vector<int> before = Cells();
    const QImage firstTile = form.TileAt(1)->Picture().Image();
    QFile garbage(dir.filePath("broken.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BMnot really a picture");
    garbage.close();

    ScopedErrorBoxes errors;
    for (const QString& bad : {dir.filePath("broken.bmp"), dir.filePath("missing.bmp"), dir.path()}) {
        Open(bad);
        EXPECT_TRUE(form.Running);
        EXPECT_TRUE(form.Timer1->isActive());
        EXPECT_EQ(form.Seconds, 1);
        EXPECT_EQ(Cells(), before);
        EXPECT_EQ(form.TileAt(1)->Picture().Image(), firstTile);
        EXPECT_EQ(form.PictureName, QString("good.bmp"));
        EXPECT_EQ(form.windowTitle(), QString("good.bmp  -  5 x 5"));
        EXPECT_EQ(form.Image1->size(), QSize(60, 60));
    }
    ASSERT_EQ(errors.Messages().size(), 3);
    EXPECT_TRUE(errors.Messages()[0].contains(dir.filePath("broken.bmp")));
    form.N4x4Click();  // the name in the caption is still the last good picture's
    EXPECT_EQ(form.windowTitle(), QString("good.bmp  -  4 x 4"));
}

TEST_F(MainWindowTest, ShortcutKeysDriveTheGame)
{
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F2);
    EXPECT_TRUE(form.Running);
    QTest::keyClick(&form, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(form.Paused);
    QTest::keyClick(&form, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_FALSE(form.Paused);
    {
        ScopedOpenFile open({QString()});
        QTest::keyClick(&form, Qt::Key_F3);
        EXPECT_EQ(open.Calls(), 1);
    }
    QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindowTest, HintsShowInTheBalloonOfTheWindowsManager)
{
    ASSERT_NE(form.ZelHint1, nullptr);
    EXPECT_EQ(form.ZelHint1->objectName(), QString("ZelHint1"));
    EXPECT_EQ(form.ZelHint1->HintColor(), clBtnFace);
    EXPECT_EQ(form.ZelHint1->HintShadowColor(), clGray);
    EXPECT_EQ(form.ZelHint1->HintFont(), MakeFont("MS Sans Serif", 16, clBlack, true, true));
    EXPECT_EQ(form.ZelHint1->HintPauseTime(), 600);

    SetHintClockRunning(false);  // the test fires the due hint itself
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::mouseMove(form.SpeedButton1, QPoint(12, 12));
    EXPECT_EQ(HintControl(), form.SpeedButton1);
    EXPECT_EQ(DueHintPause(), 600);
    ASSERT_TRUE(ShowDueHint());
    auto* balloon = qobject_cast<TNewHint*>(HintWindow());
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(balloon->Caption(), QString("Перемешать."));
    EXPECT_EQ(balloon->Manager(), form.ZelHint1);
    EXPECT_EQ(balloon->ShownDirection(), THintDirection::hdUpRight);
    EXPECT_LT(balloon->geometry().bottom(), QCursor::pos().y());
    CancelHint();

    // The time label's hint is off while no game runs, and on during one.
    QTest::mouseMove(form.Label1, QPoint(20, 10));
    EXPECT_NE(HintControl(), form.Label1);
    form.Start();
    QTest::mouseMove(form.Label1, QPoint(22, 10));
    EXPECT_EQ(HintControl(), form.Label1);
    CancelHint();
    SetHintClockRunning(true);
}

} // namespace
