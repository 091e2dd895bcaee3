#include "tests/game/WindowTestSupport.h"

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
    TForm1 form;
    EXPECT_TRUE(errors.Messages().isEmpty());  // told once the window shows
    form.show();
    QCoreApplication::processEvents();
    form.hide();
    form.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(StartFile()) && errors.Messages()[0].contains(DataFile()));
    EXPECT_EQ(form.Scores, TScoreTable());
    // Records and Clear Scores live in memory; Exit closes without writing and without a word.
    form.Scores.Place(5, "Anna", 20);
    form.ClearScores1->trigger();
    form.Scores.Place(5, "Anna", 20);
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
    TForm1 form;
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
    Form3 = nullptr;

    // A save that fails while the result dialog is open is told over that dialog, not behind it.
    result.Present(TScoreTable(), 5, 30);
    QObject::connect(&result, &TForm2::NameEntered, [&] {
        ScopedWriteLimit limit(64);
        form.SaveScores();
    });
    driver.Expect([&](QWidget*) {
        TypeText(result.Edit1, "Anna");
        result.Button1->click();
    });
    result.exec();
    ASSERT_EQ(errors.Owners().size(), 2);
    EXPECT_EQ(errors.Owners()[1], &result);
    EXPECT_EQ(driver.Unexpected(), 0);
}

TEST_F(ScoreCommandsTest, TheDefaultFileFollowsTheFirstPaintAndExitAndClearScoresWriteAtOnce)
{
    TForm1 form;
    EXPECT_EQ(form.ScoreFile.Path(), DataFile());
    EXPECT_FALSE(QFileInfo::exists(DataFile()));  // not before the window is on the screen
    form.show();
    QCoreApplication::processEvents();  // its first paint
    QCoreApplication::processEvents();
    const QByteArray defaults = TScoreTable().ToFileText();
    EXPECT_EQ(ReadFile(DataFile()), defaults);

    // A save that fails keeps the window and the old file whole, and says so.
    form.Scores.Place(6, EncodeName("Иван"), 95);
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
    form.Exit1->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(TScoreFile(DataFile()).Load(), form.Scores);
    form.ClearScores1->trigger();
    EXPECT_EQ(form.Scores, TScoreTable());
    EXPECT_EQ(ReadFile(DataFile()), defaults);
}

} // namespace
