#include "tests/support/WriteLimit.h"
#include "tests/windows/WindowTestSupport.h"

#include <sys/stat.h>

namespace {

class ScoreCommandsTest : public ::testing::Test {
protected:
    QString StartFile() const { return dir.filePath("Mozik.ini"); }
    QString DataFile() const { return dir.filePath("data/Mozik/Mozik.ini"); }
    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};  // the data folder goes there too
    TManualClock clock;
};

TEST_F(ScoreCommandsTest, FilesLeftAloneAreToldOnceAndNeverWritten)
{
    // The start folder's "Mozik.ini" is a folder, the data folder's a pipe: neither is used.
    ASSERT_TRUE(QDir(dir.path()).mkpath("Mozik.ini") && QDir(dir.path()).mkpath("data/Mozik"));
    ASSERT_EQ(mkfifo(QFile::encodeName(DataFile()), 0600), 0);
    ScopedErrorBoxes errors;
    TForm1 form(clock);
    EXPECT_TRUE(errors.Messages().isEmpty());  // told once the window shows
    form.show();
    QCoreApplication::processEvents();
    form.hide();
    form.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(StartFile()) && errors.Messages()[0].contains(DataFile()));
    EXPECT_EQ(form.Scores(), TScoreTable());
    // Clear Scores lives in memory; Exit closes without writing and without a word.
    const ScopedQuestions yes({{true, false}});
    Part<QAction>(form, "ClearScores1")->trigger();
    form.Exit();
    EXPECT_EQ(std::tuple(form.isVisible(), errors.Messages().size(), QFileInfo(StartFile()).isDir()), std::tuple(false, 1, true));
    struct stat st {};
    EXPECT_TRUE(lstat(QFile::encodeName(DataFile()), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST_F(ScoreCommandsTest, ABoxNeverOpensUnderOrBehindAnotherDialog)
{
    // The start folder's file is a folder: the message about it waits for the window to show.
    ASSERT_TRUE(QDir(dir.path()).mkpath("Mozik.ini"));
    ScopedErrorBoxes errors;
    TForm1 form(clock);
    TEndDialogs dialogs(&form);
    auto& [result, scores, driver] = dialogs;
    driver.Expect([&](QWidget* modal) {
        EXPECT_EQ(modal, &scores);
        form.FinishStart();  // the window's first paint comes while the dialog is open ...
        QCoreApplication::processEvents();
        EXPECT_TRUE(errors.Messages().isEmpty());  // ... and the message waits, not to take the dialog's input
        scores.Button1->click();
    });
    form.show();
    form.HighScores1Click();  // the player was quicker than the message
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_EQ(errors.Owners()[0], &form);

    // A record whose save fails is told over the result dialog, not behind it; the game's row,
    // written after it, meets the full disk too, and is told over the score dialog that follows.
    form.Start();
    driver.Expect([&](QWidget*) {
        TypeText(result.Edit1, "Anna");
        ScopedWriteLimit limit(64);
        result.Button1->click();
        form.History().WaitForWrites();
    });
    driver.Expect([&](QWidget*) { scores.Button1->click(); });
    for (int p : SolutionClicks(form.Session().Game()))
        form.Session().Move(p);
    QCoreApplication::processEvents();
    ASSERT_EQ(errors.Owners().size(), 3);
    EXPECT_EQ(errors.Owners()[1], &result);
    EXPECT_EQ(errors.Owners()[2], &scores);
    EXPECT_TRUE(errors.Messages()[2].contains(form.History().Path())) << errors.Messages()[2].toStdString();
    EXPECT_EQ(form.Session().Game().Running(), false);
}

TEST_F(ScoreCommandsTest, TheDefaultFileFollowsTheFirstPaintAndExitClosesThoughAChangeCouldNotBeWritten)
{
    TForm1 form(clock);
    EXPECT_FALSE(QFileInfo::exists(DataFile()));  // not before the window is on the screen
    form.show();
    QCoreApplication::processEvents();  // its first paint
    QCoreApplication::processEvents();
    EXPECT_EQ(ReadFile(DataFile()), TScoreTable().ToFileText());

    // Clear Scores cannot be written (how the file keeps and tells such a change is its own test):
    // it is told once, and Exit, which fails the same way, tells nothing new and closes all the same.
    TScoreTable others;  // another window's record, for Clear to write
    others.Place(6, EncodeName("Иван"), 95);
    WriteFile(DataFile(), others.ToFileText());
    ScopedErrorBoxes errors;
    const ScopedQuestions yes({{true, false}});
    const ScopedWriteLimit limit(64);
    Part<QAction>(form, "ClearScores1")->trigger();
    EXPECT_EQ(form.Scores(), TScoreTable());
    form.Exit();
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(DataFile())) << errors.Messages()[0].toStdString();
}

TEST_F(ScoreCommandsTest, ThePlaceOfferedAndTheScoresShownAreTheFileAsItIsThen)
{
    TForm1 form(clock);
    TEndDialogs dialogs(&form);
    auto& [result, scores, driver] = dialogs;
    // Another window fills the 5 x 5 table with one-second records after this one read it.
    TScoreTable fast;
    for (int i = 0; i < kScorePlaces; ++i)
        fast.Place(5, "Fast", 1);
    QDir().mkpath(dir.filePath("data/Mozik"));
    WriteFile(DataFile(), fast.ToFileText());
    driver.Expect([&](QWidget* modal) {
        EXPECT_TRUE(modal == &result && !result.Edit1->isEnabled());  // two seconds earn no place any more
        result.Button1->click();
    });
    driver.Expect([&](QWidget* modal) {
        EXPECT_TRUE(modal == &scores && scores.FxLabel(10)->Caption() + " " + scores.FxLabel(20)->Caption() == "Fast 1");
        scores.Button1->click();
    });
    form.Start();
    clock.Advance(2000);
    for (int p : SolutionClicks(form.Session().Game()))
        QTest::mouseClick(Part<TBoardPanel>(form, "Panel1")->TileAt(p), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(ReadFile(DataFile()), fast.ToFileText());

    // High Scores shows the file as it is when opened.
    TScoreTable other;
    other.Place(4, "Vera", 33);
    WriteFile(DataFile(), other.ToFileText());
    form.N4x4Click();
    driver.Expect([&](QWidget*) {
        EXPECT_EQ(scores.FxLabel(1)->Caption() + " " + scores.FxLabel(11)->Caption(), QString("Vera 33"));
        scores.Button1->click();
    });
    form.HighScores1Click();
}

} // namespace
