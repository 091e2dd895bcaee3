#include "game/Settings.h"
#include "tests/support/CoreSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <random>
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
    EXPECT_FALSE(settings.Maximised() || settings.FullScreen() || settings.StatusLine() || settings.KeepProportions()
                 || settings.Numbers() || settings.PauseWhenAway() || !settings.RecentPictures().isEmpty());
    EXPECT_TRUE(settings.Animation() && settings.Sound() && settings.AskBeforeAbandoning());
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
    first.SetNumbers(true);
    const TSettings next(file);
    EXPECT_EQ(std::tuple(next.BoardSize(), next.Picture(), next.WindowGeometry()), std::tuple(6, picture, QRect(-30, 40, 900, 1000)));
    EXPECT_TRUE(next.Maximised() && next.FullScreen() && next.Numbers());
    EXPECT_TRUE(ReadFile(file).startsWith("[Board]\n"));

    QFile::remove(file);
    first.SetBoardSize(6);  // the same value again writes nothing
    EXPECT_FALSE(QFileInfo::exists(file));
    TSettings none{QString()};  // no config folder
    none.SetBoardSize(7);
    EXPECT_FALSE(none.Writable());
}

TEST_F(SettingsTest, TheRecentPicturesAreTheLastTenOpenedNewestFirstEachOnceAndTwoWindowsKeepEachOthers)
{
    TSettings first(file), second(file);
    const auto picture = [](int i) { return QByteArray("/p/") + QByteArray::number(i) + (i == 3 ? "\xff,=\"x\".png" : ".png"); };
    for (int i = 1; i <= 6; ++i)
        first.AddRecentPicture(picture(i));
    first.AddRecentPicture(picture(2));  // again: to the front, once
    for (int i = 7; i <= 11; ++i)
        second.AddRecentPicture(picture(i));  // into the list as the file holds it
    first.AddRecentPicture("relative.png");  // no picture's absolute name: left out
    const QList<QByteArray> expected{picture(11), picture(10), picture(9), picture(8), picture(7),
                                     picture(2), picture(6), picture(5), picture(4), picture(3)};  // 1 fell out
    first.RereadRecentPictures();
    EXPECT_EQ(std::pair(first.RecentPictures(), TSettings(file).RecentPictures()), std::pair(expected, expected));
}

TEST_F(SettingsTest, ADamagedFileOrGarbageOrOneTooLargeGivesWhatMakesSenseAndTheNextChangeWritesItAfresh)
{
    QDir().mkpath(QFileInfo(file).path());
    WriteFile(file, "[Board]\nSize=3\nPicture=relative.png\n\x01\xfe\n[Window]\nGeometry=@Rect(0 0 -5 2)\nMaximised=maybe\n"
                    "[RecentPictures]\n1\\Path=relative.png\n2\\Path=@Rect(0 0 1 1)\nsize=2000000000\n[Game\n");
    TSettings damaged(file);
    ExpectDefaults(damaged);
    damaged.SetStatusLine(true);
    EXPECT_TRUE(TSettings(file).StatusLine() && !ReadFile(file).contains("[Game\n"));

    // Garbage, or a file too large to be the game's: written as a fresh file is.
    const QString fresh = dir.filePath("fresh.conf");
    TSettings(fresh).SetStatusLine(true);
    std::mt19937 random(32);
    for (const int size : {4 * 1000, 17 * 1000, 60 * 1000, 65 * 1024, 1024 * 1024}) {
        QByteArray garbage(size, '\0');
        for (char& byte : garbage)
            byte = char(random());
        WriteFile(file, garbage);
        TSettings garbled(file);
        ExpectDefaults(garbled);
        garbled.SetStatusLine(true);
        EXPECT_EQ(ReadFile(file), ReadFile(fresh)) << size;
    }
}

TEST_F(SettingsTest, AValueTooLongOrUnknownIsDroppedAndTheFileWrittenIsOneTheGameReadsBackWithTheChange)
{
    QDir().mkpath(QFileInfo(file).path());
    const QByteArray bytes80(40000, '\x80');
    for (const QByteArray& key : {"Unknown=" + bytes80, "Picture=/" + bytes80}) {
        WriteFile(file, "[Board]\nSize=6\n" + key + "\n[Game]\nNumbers=true\n[Window]\nGeometry=@Rect(10 20 300 400)\n");
        TSettings kept(file);
        EXPECT_TRUE(kept.BoardSize() == 6 && kept.Picture().isEmpty() && kept.Numbers());
        kept.SetSound(false);
        EXPECT_LT(QFileInfo(file).size(), 4096);
        const TSettings next(file);
        EXPECT_TRUE(next.BoardSize() == 6 && next.Numbers() && !next.Sound() && !ReadFile(file).contains("Unknown"));
        EXPECT_EQ(next.WindowGeometry(), QRect(10, 20, 300, 400));
    }
}

TEST_F(SettingsTest, TheFullestFileTheGameWritesIsOneItReadsTheOldestRecentPicturesGivingWay)
{
    // Names as long as the system opens, of every byte but a NUL: the escapes make them longest.
    const auto name = [](char first) {
        QByteArray path = QByteArray("/") + first;
        while (path.size() < TSettings::kLongestPictureName)
            path += char(1 + path.size() % 255);
        return path;
    };
    TSettings full(file);
    full.AddRecentPicture(name('a') + 'x');  // a byte too long: refused
    EXPECT_TRUE(full.RecentPictures().isEmpty());
    for (char i = 'a'; i < 'a' + TSettings::kRecentPictures; ++i)
        full.AddRecentPicture(name(i));
    full.SetPicture(name('z'));
    EXPECT_LE(QFileInfo(file).size(), 64 * 1024);
    const TSettings next(file);
    ASSERT_FALSE(next.RecentPictures().isEmpty());
    EXPECT_LT(next.RecentPictures().size(), TSettings::kRecentPictures);
    EXPECT_EQ(next.RecentPictures(), full.RecentPictures().first(next.RecentPictures().size()));
    EXPECT_EQ(std::pair(next.RecentPictures().first(), next.Picture()), std::pair(name('a' + 9), name('z')));
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
