#include "game/Settings.h"
#include "tests/windows/WindowTestSupport.h"
#include "windows/DialogLayout.h"
#include "windows/GameKeeping.h"
#include "windows/WindowBounds.h"
#include "windows/WindowSettings.h"
#include "windows/WindowSlot.h"

namespace {

using WindowSettingsTest = TShownWindowTest;

std::string Text(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// The picture, the board's size, the status line and the window's size coming back are told end to
// end (tests/e2e/settings.sh), and so are a game's board, moves and seconds (tests/e2e/keep.sh).
TEST_F(WindowSettingsTest, TheNextWindowComesBackAsTheLastWasLeftWithItsGameAndARememberedPictureGoneIsToldOnce)
{
    for (const char* item : {"Animation1", "KeepProportions1"})
        Item(item)->trigger();
    ResizeClient(form.centralWidget()->size() + QSize(120, 80));
    form.Start();
    clock.Advance(5000);  // the size has settled, and the game has its seconds
    Click(24);
    const TGameRecord left = form.Session().Game().Record();
    form.Exit();  // never asks: a question would stand here with no one to answer it

    TForm1 next{clock};
    EXPECT_TRUE(next.findChild<TGameKeeping*>()->Resume());
    next.show();
    EXPECT_EQ(next.geometry(), form.geometry());
    EXPECT_FALSE(Part<QAction>(next, "Animation1")->isChecked() || Part<TBoardPanel>(next, "Panel1")->Animated());
    // The game taken up paused, with its Keep Proportions as it was left.
    EXPECT_EQ(std::tuple(next.Session().Game().Record(), next.Paused(), Part<QAction>(next, "KeepProportions1")->isChecked(),
                         Part<TFxLabel>(next, "Label1")->Caption(), Hint(Part(next, "SpeedButton4"))),
              std::tuple(left, true, true, QString("Время : 5"), QString("Продолжить.")));

    // A remembered picture that is gone is told once the window shows, and the built-in one stays.
    const QString gone = dir.filePath("gone.png");
    TSettings(TSettings::DefaultPath()).SetPicture(QFile::encodeName(gone));
    ScopedErrorBoxes errors;
    TForm1 last{clock};
    last.findChild<TWindowSettings*>()->OpenRememberedPicture();
    last.show();
    EXPECT_EQ(last.frameGeometry().topLeft(), next.frameGeometry().topLeft() + QPoint(32, 32));  // a second window
    last.Session().WaitForWork();
    EXPECT_TRUE(errors.Messages().isEmpty());  // not before the window is there
    last.FinishStart();
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(gone));
    EXPECT_EQ(last.windowTitle(), QString("Mozik.bmp  -  5 x 5"));
    EXPECT_TRUE(TSettings(TSettings::DefaultPath()).Picture().isEmpty());  // and not told again
}

// Windows: the slot of the one closed is free again (the next window takes its place above), a
// second one opens a step on from the first (there too; never on it: tests/e2e/questions.sh).
TEST(WindowSlot, ASecondWindowOpensOffsetFromTheFirstAStepOnOrBackWhereThatLeavesTheScreen)
{
    const QRect screen(0, 0, 1920, 1200);
    EXPECT_EQ(OffsetForSlot(QRect(822, 433, 284, 362), 2, screen), QPoint(886, 497));
    EXPECT_EQ(OffsetForSlot(QRect(1620, 820, 284, 362), 1, screen), QPoint(1588, 788));  // at the corner: back
    EXPECT_EQ(OffsetForSlot(QRect(0, 0, 1920, 1200), 1, screen), QPoint(32, 32));  // fits neither way
}

TEST_F(WindowSettingsTest, AHugeRememberedGeometryComesBackWithinTheScreenAndOnlySoIsWrittenBack)
{
    form.close();  // the next window is the first on the screen, which keeps its place and size
    const QRect area = form.screen()->availableGeometry();
    const auto kept = [] { return TSettings(TSettings::DefaultPath()).WindowGeometry().value_or(QRect()); };
    for (const QRect& huge : {QRect(0, 0, 65536, 65536), QRect(-3000, 5, 10000, 10000)}) {
        TSettings(TSettings::DefaultPath()).SetWindowGeometry(huge);
        TForm1 next{clock};
        next.show();
        EXPECT_TRUE(area.contains(next.frameGeometry())) << Text(next.frameGeometry());
        EXPECT_EQ(std::pair(next.width(), next.height()), std::pair(area.width() - 4, area.height() - 4));  // a frame of 2
        next.close();
        EXPECT_TRUE(area.contains(kept())) << Text(kept());
    }
    TForm1 next{clock};
    next.show();
    next.setGeometry(QRect(10, 10, 4000, 3000));  // given from elsewhere: brought within, and kept so
    clock.Advance(1000);
    EXPECT_TRUE(area.contains(next.frameGeometry()) && area.contains(kept())) << Text(kept());
    Part<QAction>(next, "StatusLine1")->setChecked(false);
    Part<QAction>(next, "StatusLine1")->setChecked(true);  // the window grows by the line, as far as it may
    EXPECT_TRUE(area.contains(next.frameGeometry()) && Part(next, "Panel3")->isVisible()) << Text(next.frameGeometry());
    next.close();

    TSettings(TSettings::DefaultPath()).SetWindowGeometry(QRect(0, 0, 10000, 10000));
    TSettings(TSettings::DefaultPath()).SetMaximised(true);
    TForm1 maximised{clock};
    maximised.show();
    EXPECT_TRUE(maximised.isMaximized() && area.contains(maximised.frameGeometry()));
    EXPECT_TRUE(area.contains(maximised.normalGeometry())) << Text(maximised.normalGeometry());
    maximised.close();
    QFile::remove(TSettings::DefaultPath());  // the suite's next windows start as at the first start
}

TEST(WindowBounds, AWindowIsNeverLargerThanItsScreenNorSmallerThanItsLayoutAndComesOntoAScreenItCanBeTakenOn)
{
    const TWindowRoom room{QRect(0, 30, 1280, 994), QMargins(4, 24, 4, 4), QSize(276, 334)};
    EXPECT_EQ(WithinRoom(QSize(100, 2000), room), QSize(276, 966));
    // One that fits stays where the player left it, partly off the screen or not; one cut to the
    // screen is moved no further than it must, its top-left kept on a screen too small for it.
    EXPECT_EQ(WithinRoom(QRect(-100, 900, 600, 500), room), QRect(-100, 900, 600, 500));
    EXPECT_EQ(WithinRoom(QRect(1000, 100, 9000, 400), room), QRect(4, 100, 1272, 400));
    EXPECT_EQ(WithinRoom(QRect(-500, -500, 300, 9000), room), QRect(4, 54, 300, 966));
    EXPECT_EQ(WithinRoom(QRect(50, 60, 9000, 9000), {QRect(0, 0, 200, 300), QMargins(), QSize(276, 334)}),
              QRect(0, 0, 276, 334));

    // Onto the screens: one that can be taken by its title stays, one off every screen comes to the first.
    const QList<QRect> screens = {QRect(0, 0, 1920, 1200), QRect(1920, 0, 1280, 1024)};
    for (const QRect& reachable : {QRect(100, 100, 276, 334), QRect(3000, 500, 900, 1000), QRect(-800, 10, 840, 400)})
        EXPECT_EQ(OntoScreens(reachable, screens), reachable);
    // Off to the right of both, below the smaller, only its bottom showing, larger than the first.
    for (const QRect& lost : {QRect(5000, 100, 276, 334), QRect(2000, 1100, 276, 334), QRect(100, -500, 276, 334)})
        EXPECT_EQ(OntoScreens(lost, screens), QRect(822, 433, 276, 334));
    EXPECT_EQ(OntoScreens(QRect(9000, 9000, 3000, 900), screens), QRect(0, 150, 1920, 900));
    // Landing on the second screen, larger than it: within that screen, its frame and layout counted.
    EXPECT_EQ(OntoScreens(QRect(2500, 0, 65536, 65536), screens, QSize(276, 334), QMargins(4, 24, 4, 4)),
              QRect(1924, 24, 1272, 996));
    EXPECT_EQ(OntoScreens(QRect(9000, 9000, 100, 100), screens, QSize(276, 334), QMargins(4, 24, 4, 4)),
              QRect(822, 443, 276, 334));
}

} // namespace
