// Full screen and Escape are told end to end, under a window manager.

#include "tests/windows/WindowTestSupport.h"
#include "windows/BoardGeometry.h"
#include "windows/BuiltinSharpness.h"
#include "windows/ClientArea.h"

#include <QPainter>

namespace {

class BoardView : public TShownWindowTest {
protected:
    QWidget* Client() const { return form.centralWidget(); }
    void UsePicture(QImage picture) { form.Session().SetPicture(picture, "test.png"); }
    QRect Home(int p) const { return Board()->Geometry().TileRect(p).ToQRect(); }
};

TEST_F(BoardView, EverySizeEndsTheGameAndAtTheLayoutsSizeIsItsLayoutPixelForPixelAgainAfterTheWindowGrewAndShrank)
{
    for (const char* size : {"N1x1", "N4x4", "N6x6", "N7x7", "N5x5", "N5x5"}) {
        form.Start();  // a game in progress ends, on the size in force too
        clock.Advance(1000);
        Item(size)->trigger();
        const int n = form.BoardSize(), t = 250 / n, cells = n * n;
        EXPECT_EQ(std::tuple(form.Running(), Time(), form.windowTitle()),
                  std::tuple(false, QString("Время : 0"), QString("Mozik.bmp  -  %1 x %1").arg(n)));
        for (QAction* item : Part<QMenu>(form, "Options1")->actions())
            EXPECT_EQ(item->isChecked(), item == Item(size));
        ASSERT_EQ(std::pair(Client()->size(), GapPos), std::pair(ClientSize(n), cells)) << n;
        // Panel1 owns the frames, then the pictures, in position order, each picture 2 inside.
        const QList<QWidget*> owned = Board()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(owned.size(), 2 * cells);
        for (int p = 1; p <= cells; ++p) {
            const int c = ColumnOf(p, n), r = RowOf(p, n);
            const QRect frame(t * (c - 1) + 4 * c - 1, t * (r - 1) + 4 * r - 1, t + 4, t + 4);
            ASSERT_TRUE(owned[p - 1] == Board()->FrameAt(p) && owned[cells + p - 1] == TileAt(p)) << p;
            ASSERT_EQ(std::pair(Board()->FrameAt(p)->geometry(), TileAt(p)->geometry()), std::pair(frame, frame.adjusted(2, 2, -2, -2)));
            ASSERT_EQ(TileAt(p)->Picture().Image().size(), QSize(t, t));
        }
        const QImage before = form.grab().toImage();
        ResizeClient({700, 760});
        clock.Advance(100);
        EXPECT_GT(Board()->Geometry().Tile, t);
        ResizeClient(ClientSize(n));
        clock.Advance(100);
        EXPECT_EQ(form.grab().toImage(), before) << n;
    }
}

TEST_F(BoardView, ALargerWindowGoesToTheBoardAndNeitherResizingNorASizeCommandShrinksItOrResizingEndsAGame)
{
    form.Start();
    Click(24);
    const TGrid grid = form.Grid();
    ResizeClient({900, 960});
    EXPECT_TRUE(form.Running() && form.Grid() == grid);
    // The tool bar keeps its height (its buttons stay at the left), the clock goes to the right end.
    EXPECT_EQ(std::vector({Part(form, "Panel2")->geometry(), Part(form, "Label1")->geometry(), Board()->geometry()}),
              std::vector({QRect(0, 0, 900, 40), QRect(775, 1, 124, 38), QRect(0, 40, 900, 920)}));
    // (900 - 6) / 5 - 4 = 174; what is left over goes half to each side; the peek over the frames, exactly.
    EXPECT_EQ(std::pair(Board()->Geometry(), Board()->Geometry().PeekRect()), std::pair(TBoardGeometry{5, 174, 5, 15}, Bounds(5, 15, 890, 890)));

    const QSize window = form.size();
    const ScopedQuestions yes({{true, false}});  // the game with a move is given up
    form.N7x7Click();
    EXPECT_EQ(std::tuple(form.Running(), form.size(), Board()->Geometry().Tile), std::tuple(false, window, (900 - 7) / 7 - 4));
    ResizeClient({100, 100});  // never smaller than the layout
    EXPECT_EQ(Client()->size(), ClientSize(7));
}

TEST_F(BoardView, TheBuiltInPictureIsDrawnAtTheSizeOfALargeBoardAndTheGameGoesOn)
{
    form.Start();
    const TGrid grid = form.Session().Game().Grid();
    auto* sharpness = form.findChild<TBuiltinSharpness*>();
    ASSERT_TRUE(sharpness);
    ResizeClient({526, 566});  // tiles of 100
    EXPECT_EQ(TileAt(7)->Picture().Width(), 50);  // the pieces cut for the layout, scaled until the size settles
    sharpness->WaitForDrawing();
    const QImage shown = Board()->Source().Image();
    EXPECT_GE(shown.width(), 500);
    clock.Advance(100);
    EXPECT_EQ(TileAt(7)->Picture().Width(), 100);
    // Cut from the drawing at the board's size.
    const int home = TileAt(7)->Piece();
    const TBitmap piece = CutPiece(TBitmap(shown), ColumnOf(home, 5), RowOf(home, 5), 5, 100, false);
    EXPECT_EQ(std::tuple(TileAt(7)->Picture().Image(), form.Running(), form.Session().Game().Grid() == grid),
              std::tuple(piece.Image(), true, true));
    // Back at the layout's size, the designed picture again; the window's hidden picture is it throughout.
    ResizeClient(ClientSize(5));
    EXPECT_EQ(std::pair(Board()->Source().Width(), Part<TImage>(form, "Image1")->Picture().Width()), std::pair(250, 250));
}

TEST_F(BoardView, TilesSlideOnTheClockAndInputDuringASlideFinishesItWhileTheGameIsAlreadyThere)
{
    form.Start();
    const TPosition start = form.Session().Game().Position();
    Click(21);  // four tiles of the bottom row, at once in the game (4 moves: tests/e2e/board.sh)
    EXPECT_EQ(std::pair(Board()->Sliding(), TileAt(25)->geometry()), std::pair(true, Home(24)));  // still where it was
    clock.Advance(60);
    EXPECT_EQ(std::pair(TileAt(25)->geometry(), TileAt(22)->geometry()), 
              std::pair(Home(25).translated(-54 / 8 - 1, 0), Home(22).translated(-54 / 8 - 1, 0)));  // half the time, 7/8 of the way
    clock.Advance(60);
    EXPECT_EQ(std::pair(Board()->Sliding(), TileAt(25)->geometry()), std::pair(false, Home(25)));

    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);  // the whole line back in one step
    EXPECT_EQ(std::pair(form.Session().Game().Position(), TileAt(21)->geometry()), std::pair(start, Home(22)));
    Click(20);  // during that slide: it ends at once, and this one starts from the game
    EXPECT_EQ(std::tuple(TileAt(21)->geometry(), TileAt(25)->Piece(), TileAt(25)->geometry()), std::tuple(Home(21), start.Cells[19], Home(20)));
    // A click where the game has that tile, wherever it is drawn: back down.
    QTest::mouseClick(Board(), Qt::LeftButton, {}, Home(25).center());
    EXPECT_EQ(GapPos, 25);

    Item("Animation1")->trigger();  // off: the tiles go at once
    Click(15);
    EXPECT_EQ(std::tuple(GapPos, Board()->Sliding(), TileAt(25)->geometry()), std::tuple(15, false, Home(25)));
}

TEST_F(BoardView, TheHintsMarkerStandsOutOnAWhiteAndOnABlackPictureAtEverySize)
{
    for (QRgb colour : {0xFFFFFFFFu, 0xFF000000u})
        for (QSize client : {ClientSize(5), QSize(900, 960)}) {
            UsePicture(Filled({100, 100}, colour));
            ResizeClient(client);
            form.Start();
            Item("Hint1")->trigger();
            form.Session().WaitForWork();
            const int marked = Board()->MarkedPosition();
            ASSERT_EQ(marked, form.Session().Game().PositionOfTile(form.Session().HintedTile()));
            // Dark outside, light inside, each at least max(3, T / 12) wide: the one unlike the
            // picture stands out all round.
            const QImage tile = TileAt(marked)->grab().toImage();
            const int t = tile.width(), band = std::max(3, t / 12);
            const bool white = colour == 0xFFFFFFFFu;
            const int ring = white ? t * t - (t - 2 * band) * (t - 2 * band)
                                   : (t - 2 * band) * (t - 2 * band) - (t - 4 * band) * (t - 4 * band);
            int standsOut = 0;
            for (int y = 0; y < t; ++y)
                for (int x = 0; x < t; ++x)
                    standsOut += std::abs(qGray(tile.pixel(x, y)) - qGray(colour)) > 200;
            EXPECT_EQ(standsOut, ring) << t;
        }
}

TEST_F(BoardView, TheStatusLineGrowsTheWindowUnderAnUnchangedBoardOrTakesTheBoardsRoomWhereItCannot)
{
    const QImage before = form.grab().toImage();
    const QRect board = Board()->geometry();
    Item("StatusLine1")->trigger();
    EXPECT_EQ(std::tuple(Client()->size(), Board()->geometry(), Part<QLabel>(form, "Label2")->text()),
              std::tuple(ClientSize(5) + QSize(0, 20), board, form.Session().StatusText()));
    // A line longer than the window is wide ends in "…", whole in its hint, until the window widens.
    const QString line = QString("Ходов: 123  ·  ").repeated(4);
    auto* label = Part<QLabel>(form, "Label2");
    static_cast<TClientArea*>(Client())->ShowStatus(line);
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026)) && Hint(label) == line) << label->text().toStdString();
    ResizeClient(Client()->size() + QSize(300, 0));
    EXPECT_EQ(std::pair(label->text(), Hint(label)), std::pair(line, QString()));
    ResizeClient(Client()->size() - QSize(300, 0));
    Item("StatusLine1")->trigger();
    EXPECT_EQ(form.grab().toImage(), before);  // the layout's window again
    form.showMaximized();
    QCoreApplication::processEvents();
    const std::pair maximised(form.size(), Board()->height());
    Item("StatusLine1")->trigger();
    EXPECT_EQ(std::pair(form.size(), Board()->height()), std::pair(maximised.first, maximised.second - 20));
}

TEST_F(BoardView, APictureKeptInProportionShowsItsMiddleSquareOnTheTilesAndThePeekAndTheGameGoesOn)
{
    const QImage square = form.grab().toImage();  // the built-in picture is square: the same either way
    Item("KeepProportions1")->trigger();
    EXPECT_EQ(form.grab().toImage(), square);
    // Cells of 20 pixels in 25 colours in the middle, black around them; wide, then tall.
    const auto colour = [](int p) { return qRgb(p * 10, 255 - p * 9, p * 37 % 256); };
    for (QSize size : {QSize(300, 100), QSize(100, 300)}) {
        QImage picture = Filled(size, Qt::black);
        const QPoint middle((size.width() - 100) / 2, (size.height() - 100) / 2);
        for (int p = 1; p <= 25; ++p)
            QPainter(&picture).fillRect(QRect(middle + QPoint(20 * ColumnOf(p, 5), 20 * RowOf(p, 5)) - QPoint(20, 20), QSize(20, 20)), colour(p));
        UsePicture(picture);
        form.Start();
        Click(24);
        clock.Advance(200);
        const TGrid grid = form.Grid();
        Item("KeepProportions1")->trigger();  // off
        Item("KeepProportions1")->trigger();  // on again: cut afresh, the game as it was
        EXPECT_EQ(form.Grid(), grid);
        for (int p = 1; p <= 25; ++p)  // nothing but its cell on each tile: square, and not stretched
            if (const QImage tile = TileAt(p)->grab().toImage(); p != GapPos) {
                ASSERT_EQ(std::pair(tile.pixel(1, 1), tile.pixel(48, 48)), std::pair(colour(TileAt(p)->Piece()), colour(TileAt(p)->Piece()))) << p;
            }
        form.Session().HoldPeek();
        const QImage whole = Part<TImage>(form, "PeekImage")->grab().toImage();
        EXPECT_EQ(std::pair(whole.pixel(2, 2), whole.pixel(263, 263)), std::pair(colour(1), colour(25)));
        form.Session().ReleasePeek();
    }
}

} // namespace
