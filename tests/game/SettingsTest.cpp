// The settings file: values written as they change and read back by the next run, merged with
// what another window wrote meanwhile; damaged files, and things that are no file of the player's.

#include "game/Settings.h"
#include "tests/game/HostileFiles.h"
#include "tests/support/CoreSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString folder = dir.filePath("config/Mozik");
    const QString file = folder + "/Mozik.conf";
};

void ExpectDefaults(const TSettings& settings)
{
    EXPECT_EQ(settings.BoardSize(), 5);
    EXPECT_TRUE(settings.Picture().isEmpty());
    EXPECT_EQ(settings.WindowGeometry(), std::nullopt);
    EXPECT_FALSE(settings.Maximised() || settings.FullScreen() || settings.StatusLine() || settings.KeepProportions());
    EXPECT_TRUE(settings.Animation());
}

TEST_F(SettingsTest, EveryValueIsWrittenAsItChangesIntoTheFileAsItIsThenAndReadBackByTheNextRun)
{
    TSettings first(file);
    ExpectDefaults(first);
    EXPECT_TRUE(first.Writable());
    TSettings second(file);  // another window, started meanwhile
    const QByteArray picture = "/pictures/\xff\xfe odd=name;\"x\".png";  // not valid text
    first.SetBoardSize(6);
    first.SetPicture(picture);
    first.SetWindowGeometry(QRect(-30, 40, 900, 1000));
    first.SetMaximised(true);
    second.SetFullScreen(true);
    second.SetAnimation(false);
    second.SetStatusLine(true);
    second.SetKeepProportions(true);
    EXPECT_EQ(QFileInfo(folder).permissions() & QFileDevice::ReadOther, 0);  // its folder is made private

    const TSettings next(file);
    EXPECT_EQ(next.BoardSize(), 6);
    EXPECT_EQ(next.Picture(), picture);
    EXPECT_EQ(next.WindowGeometry(), QRect(-30, 40, 900, 1000));
    EXPECT_TRUE(next.Maximised() && next.FullScreen() && !next.Animation() && next.StatusLine() && next.KeepProportions());
    EXPECT_TRUE(ReadFile(file).contains("[Board]"));  // QSettings' INI

    // The same value again writes nothing.
    QFile::remove(file);
    first.SetBoardSize(6);
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(SettingsTest, ADamagedFileGivesWhatMakesSenseAndTheNextChangeWritesItAfresh)
{
    QDir().mkpath(folder);
    QByteArray garbage;
    for (int i = 0; i < 4000; ++i)
        garbage += char(i * 7919 % 251);
    WriteFile(file, garbage);
    ExpectDefaults(TSettings(file));

    WriteFile(file, "[Board]\nSize=3\nPicture=relative.png\n[Window]\nGeometry=@Rect(0 0 -5 2)\nMaximised=maybe\n"
                    "[Game\nAnimation=0\n");
    TSettings damaged(file);
    ExpectDefaults(damaged);
    damaged.SetStatusLine(true);
    EXPECT_TRUE(TSettings(file).StatusLine());
    EXPECT_FALSE(ReadFile(file).contains("[Game\n"));
}

TEST_F(SettingsTest, WithoutAConfigFolderTheDefaultsStandAndNothingIsWritten)
{
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    EXPECT_EQ(TSettings::DefaultPath(), file);
    qputenv("XDG_CONFIG_HOME", "relative");
    qunsetenv("HOME");
    EXPECT_EQ(TSettings::DefaultPath(), QString());
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);

    TSettings none{QString()};
    none.SetBoardSize(7);
    EXPECT_EQ(none.BoardSize(), 7);  // for this run
    EXPECT_FALSE(none.Writable());
}

class HostileSettingsFile : public SettingsTest, public ::testing::WithParamInterface<THostileFile> {};

TEST_P(HostileSettingsFile, GivesTheDefaultsAndIsNeverWritten)
{
    SKIP_UNLESS_MADE_BY_THIS_USER(GetParam());
    QDir().mkpath(folder);
    GetParam().Make(file);
    const auto before = Snapshot(folder);
    TSettings settings = Unblocked([&] { return TSettings(file); }, file);
    ExpectDefaults(settings);
    EXPECT_FALSE(settings.Writable());
    Unblocked([&] { settings.SetBoardSize(7); }, file);
    EXPECT_EQ(Snapshot(folder), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileSettingsFile, ::testing::ValuesIn(kHostileFiles), KindName);

} // namespace
