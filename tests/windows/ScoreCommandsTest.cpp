#include "tests/windows/WindowTestSupport.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// A write limit far below the file's size makes every write fail, even for a privileged user.
class ScopedWriteLimit {
public:
    explicit ScopedWriteLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedWriteLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

class ScoreCommandsTest : public ::testing::Test {
protected:
    QString StartFile() const { return dir.filePath("Mozik.ini"); }
    QString DataFile() const { return dir.filePath("data/Mozik/Mozik.ini"); }
    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};  // the data folder goes there too
};

TEST_F(ScoreCommandsTest, FilesLeftAloneAreToldOnceAndNeverWritten)
{
    // The start folder's "Mozik.ini" is a folder, the data folder's a pipe: neither is used.
    ASSERT_TRUE(QDir(dir.path()).mkpath("Mozik.ini") && QDir(dir.path()).mkpath("data/Mozik"));
    ASSERT_EQ(mkfifo(QFile::encodeName(DataFile()), 0600), 0);
    ScopedErrorBoxes errors;
    TManualClock clock;
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
    Part<QAction>(form, "ClearScores1")->trigger();
    form.Exit();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(QFileInfo(StartFile()).isDir());
    struct stat st {};
    EXPECT_TRUE(lstat(QFile::encodeName(DataFile()), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST_F(ScoreCommandsTest, ABoxNeverOpensUnderOrBehindAnotherDialog)
{
    // The start folder's file is a folder: the message about it waits for the window to show.
    ASSERT_TRUE(QDir(dir.path()).mkpath("Mozik.ini"));
    ScopedErrorBoxes errors;
    TManualClock clock;
    TForm1 form(clock);
    TForm2 result(&form);
    TForm3 scores(&form);
    Form3 = &scores;
    ModalDriver driver;
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

    // A record whose save fails is told over the result dialog, not behind it.
    Form2 = &result;
    form.Start();
    driver.Expect([&](QWidget*) {
        TypeText(result.Edit1, "Anna");
        ScopedWriteLimit limit(64);
        result.Button1->click();
    });
    driver.Expect([&](QWidget*) { scores.Button1->click(); });
    for (int p : SolutionClicks(form.Session().Game()))
        form.Session().Move(p);
    ASSERT_EQ(errors.Owners().size(), 2);
    EXPECT_EQ(errors.Owners()[1], &result);
    EXPECT_EQ(driver.Unexpected(), 0);
    Form2 = nullptr;
    Form3 = nullptr;
}

TEST_F(ScoreCommandsTest, TheDefaultFileFollowsTheFirstPaintAndExitAndClearScoresWriteAtOnce)
{
    TManualClock clock;
    TForm1 form(clock);
    EXPECT_EQ(form.Session().ScoreFile().Path(), DataFile());
    EXPECT_FALSE(QFileInfo::exists(DataFile()));  // not before the window is on the screen
    form.show();
    QCoreApplication::processEvents();  // its first paint
    QCoreApplication::processEvents();
    const QByteArray defaults = TScoreTable().ToFileText();
    EXPECT_EQ(ReadFile(DataFile()), defaults);

    // A save that fails keeps the window and the old file whole, and says so.
    ScopedErrorBoxes errors;
    {
        ScopedWriteLimit limit(64);
        form.Exit();
    }
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(DataFile()));
    EXPECT_EQ(ReadFile(DataFile()), defaults);
    EXPECT_EQ(QDir(dir.filePath("data/Mozik")).entryList(QDir::Files), QStringList{"Mozik.ini"});  // no leftovers
    Part<QAction>(form, "Exit1")->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(TScoreFile(DataFile()).Load(), form.Scores());
    Part<QAction>(form, "ClearScores1")->trigger();
    EXPECT_EQ(form.Scores(), TScoreTable());
    EXPECT_EQ(ReadFile(DataFile()), defaults);
}

} // namespace
