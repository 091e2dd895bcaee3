// What the main window keeps between runs: the next window comes back as the last was left, a
// picture named at the start wins over the remembered one, and a remembered picture that is gone
// is told once; a window left off every screen comes back onto one; a second window at once
// comes offset from the first.

#include "game/Settings.h"
#include "tests/windows/WindowTestSupport.h"
#include "windows/DialogLayout.h"
#include "windows/WindowSettings.h"
#include "windows/WindowSlot.h"

namespace {

using WindowSettingsTest = TShownWindowTest;

TEST_F(WindowSettingsTest, TheNextWindowComesBackAsTheLastWasLeftAndAPictureNamedAtTheStartWins)
{
    const QImage sea = Filled({90, 60}, Qt::darkCyan);
    ASSERT_TRUE(sea.save(dir.filePath("sea.png")) && sea.save(dir.filePath("sand.png")));
    form.OpenPicture(dir.filePath("sea.png"));
    form.Session().WaitForWork();
    form.N6x6Click();
    for (const char* item : {"Animation1", "StatusLine1", "KeepProportions1"})
        Item(item)->trigger();
    form.resize(form.size() + QSize(120, 80));
    QCoreApplication::processEvents();
    clock.Advance(1000);  // the size has settled
    form.close();

    TForm1 next{clock};
    next.findChild<TWindowSettings*>()->OpenRememberedPicture();
    next.show();
    next.Session().WaitForWork();
    EXPECT_EQ(std::pair(next.windowTitle(), next.geometry()), std::pair(QString("sea.png  -  6 x 6"), form.geometry()));
    EXPECT_FALSE(Part<QAction>(next, "Animation1")->isChecked() || Part<TBoardPanel>(next, "Panel1")->Animated());
    EXPECT_TRUE(Part<QAction>(next, "KeepProportions1")->isChecked() && Part(next, "Panel3")->isVisible());

    TForm1 named{clock};
    named.findChild<TWindowSettings*>()->OpenRememberedPicture();
    named.Session().OpenPicture(dir.filePath("sand.png"));  // supersedes it
    named.show();
    named.Session().WaitForWork();
    EXPECT_EQ(named.windowTitle(), QString("sand.png  -  6 x 6"));
}

TEST_F(WindowSettingsTest, ARememberedPictureThatIsGoneIsToldOnceTheWindowShowsAndTheBuiltInOneStays)
{
    const QString gone = dir.filePath("gone.png");
    TSettings(TSettings::DefaultPath()).SetPicture(QFile::encodeName(gone));
    ScopedErrorBoxes errors;
    TForm1 next{clock};
    next.findChild<TWindowSettings*>()->OpenRememberedPicture();
    next.show();
    next.Session().WaitForWork();
    EXPECT_TRUE(errors.Messages().isEmpty());  // not before the window is there
    next.FinishStart();
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(gone));
    EXPECT_EQ(next.windowTitle(), QString("Mozik.bmp  -  5 x 5"));
    EXPECT_TRUE(TSettings(TSettings::DefaultPath()).Picture().isEmpty());  // and not told again
}

TEST_F(WindowSettingsTest, ASecondWindowOpensOffsetFromTheFirstAStepOnOrBackWhereThatLeavesTheScreen)
{
    const QRect first = form.frameGeometry();
    for (int i = 0; i < 2; ++i) {  // the slot of a window closed is free again
        TForm1 second{clock};
        second.show();
        EXPECT_EQ(second.frameGeometry().topLeft(), first.topLeft() + QPoint(32, 32));
        second.close();
    }
    const QRect screen(0, 0, 1920, 1200);
    EXPECT_EQ(OffsetForSlot(QRect(822, 433, 284, 362), 2, screen), QPoint(886, 497));
    EXPECT_EQ(OffsetForSlot(QRect(1620, 820, 284, 362), 1, screen), QPoint(1588, 788));  // at the corner: back
    EXPECT_EQ(OffsetForSlot(QRect(0, 0, 1920, 1200), 1, screen), QPoint(32, 32));  // fits neither way
}

TEST(OntoScreens, AWindowThatCanBeTakenByItsTitleStaysAndOneOffEveryScreenComesToTheFirst)
{
    const QList<QRect> screens = {QRect(0, 0, 1920, 1200), QRect(1920, 0, 1280, 1024)};
    for (const QRect& reachable : {QRect(100, 100, 276, 334), QRect(3000, 500, 900, 1000), QRect(-800, 10, 840, 400)})
        EXPECT_EQ(OntoScreens(reachable, screens), reachable);
    // Off to the right of both, below the smaller, only its bottom showing, larger than the first.
    for (const QRect& lost : {QRect(5000, 100, 276, 334), QRect(2000, 1100, 276, 334), QRect(100, -500, 276, 334)})
        EXPECT_EQ(OntoScreens(lost, screens), QRect(822, 433, 276, 334));
    EXPECT_EQ(OntoScreens(QRect(9000, 9000, 3000, 900), screens), QRect(0, 150, 1920, 900));
}

} // namespace
