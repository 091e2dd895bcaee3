// The settings file: written as values change, read back, merged; damaged and foreign files.

#include "game/Settings.h"
#include "tests/support/CoreSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString file = dir.filePath("config/Mozik/Mozik.conf");
};

void ExpectDefaults(const TSettings& settings)
{
    EXPECT_EQ(std::tuple(settings.BoardSize(), settings.Picture(), settings.WindowGeometry()), std::tuple(5, "", std::nullopt));
    EXPECT_FALSE(settings.Maximised() || settings.FullScreen() || settings.StatusLine() || settings.KeepProportions() || settings.Numbers());
    EXPECT_TRUE(settings.Animation() && settings.Sound());
}

TEST_F(SettingsTest, EachValueIsWrittenAsItChangesIntoTheFileAsItIsThenAndReadBackByTheNextRun)
{
    TSettings first(file), second(file);  // two windows
    ExpectDefaults(first);
    const QByteArray picture = "/pictures/\xff odd=name;\"x\".png";  // not valid text
    first.SetBoardSize(6);
    first.SetPicture(picture);
    first.SetWindowGeometry(QRect(-30, 40, 900, 1000));
    first.SetMaximised(true);
    second.SetFullScreen(true);
    second.SetAnimation(false);
    second.SetStatusLine(true);
    second.SetKeepProportions(true);
    first.SetNumbers(true);
    second.SetSound(false);
    const TSettings next(file);
    EXPECT_EQ(std::tuple(next.BoardSize(), next.Picture(), next.WindowGeometry()), std::tuple(6, picture, QRect(-30, 40, 900, 1000)));
    EXPECT_TRUE(next.Maximised() && next.FullScreen() && !next.Animation() && next.StatusLine() && next.KeepProportions());
    EXPECT_TRUE(next.Numbers() && !next.Sound());
    EXPECT_TRUE(ReadFile(file).startsWith("[Board]\n"));

    QFile::remove(file);
    first.SetBoardSize(6);  // the same value again writes nothing
    EXPECT_FALSE(QFileInfo::exists(file));
    TSettings none{QString()};  // no config folder
    none.SetBoardSize(7);
    EXPECT_FALSE(none.Writable());
}

TEST_F(SettingsTest, ADamagedFileGivesWhatMakesSenseAndTheNextChangeWritesItAfresh)
{
    QDir().mkpath(QFileInfo(file).path());
    WriteFile(file, "[Board]\nSize=3\nPicture=relative.png\n\x01\xfe\n[Window]\nGeometry=@Rect(0 0 -5 2)\nMaximised=maybe\n[Game\n");
    TSettings damaged(file);
    ExpectDefaults(damaged);
    damaged.SetStatusLine(true);
    EXPECT_TRUE(TSettings(file).StatusLine() && !ReadFile(file).contains("[Game\n"));
}

TEST_F(SettingsTest, APipeOrAnotherUsersLinkGivesTheDefaultsAndIsNeverWritten)
{
    QDir().mkpath(QFileInfo(file).path());
    ASSERT_EQ(mkfifo(QFile::encodeName(file), 0600), 0);  // read, it would wait for a writer
    TSettings pipe(file);
    pipe.SetBoardSize(7);
    EXPECT_FALSE(pipe.Writable());
    struct stat st {};
    EXPECT_TRUE(lstat(QFile::encodeName(file), &st) == 0 && S_ISFIFO(st.st_mode));  // left as it was
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can make a link owned by another user";
    const QString victim = dir.filePath("victim");
    WriteFile(victim, "[Board]\nSize=4\n");
    QFile::remove(file);
    ASSERT_EQ(symlink(QFile::encodeName(victim), QFile::encodeName(file)), 0);
    ASSERT_EQ(lchown(QFile::encodeName(file), 65534, 65534), 0);
    TSettings planted(file);
    ExpectDefaults(planted);
    planted.SetBoardSize(7);
    EXPECT_EQ(std::pair(ReadFile(victim), QFileInfo(file).isSymLink()), std::pair(QByteArray("[Board]\nSize=4\n"), true));
}

} // namespace
