// A game kept between runs, through the play session: kept by the session of one run, taken up
// again by the session of the next, on a clock the test steps.

#include "framework/QuitSignals.h"
#include "game/KeptGame.h"
#include "game/Session.h"
#include "tests/game/GameTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QImage Filled(int width, int height, QColor colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

class KeptGameTest : public ::testing::Test {
protected:
    // One run of the game: its session, on the built-in picture, and its keeper.
    struct TRun {
        explicit TRun(KeptGameTest& test) : session(test.clock, test.random), keeper(session, test.path)
        {
            const auto tell = [&test](const QString& message) { test.told << message; };
            QObject::connect(&session, &TSession::Problem, tell);
            QObject::connect(&keeper, &TGameKeeper::Problem, tell);
            session.UseBuiltinPicture(Filled(40, 40, Qt::magenta), "Mozik.bmp");
        }
        TSession session;
        TGameKeeper keeper;
    };

    // The next run of the game, once the one before it has ended: the kept game taken up, its
    // picture read.
    TRun& Restart(std::optional<bool>* keepProportions = nullptr)
    {
        next.reset();
        next = std::make_unique<TRun>(*this);
        const std::optional<bool> kept = next->keeper.Resume();
        next->session.WaitForWork();
        if (keepProportions)
            *keepProportions = kept;
        return *next;
    }
    // A game with moves and seconds, one of its moves taken back.
    void Play(TSession& session)
    {
        session.Start();
        clock.Advance(3000);
        for (TDirection direction : {TDirection::Down, TDirection::Right, TDirection::Down})
            session.MoveToward(direction);
        session.Undo();
    }
    // A kept game one move from home: the tile at 25 slides into the gap at 24.
    static TKeptGame NearlyHome()
    {
        TKeptGame kept;
        kept.Id = "00000000000000aa";
        kept.Game = {5, {}, {}, {}, 0, 7};
        kept.Game.Start.Reset(5);
        std::swap(kept.Game.Start.AtPosition(24, 5), kept.Game.Start.AtPosition(25, 5));
        return kept;
    }
    QStringList Beside(const QString& pattern) const
    {
        return QDir(QFileInfo(path).path()).entryList({pattern}, QDir::AllEntries | QDir::System | QDir::Hidden);
    }
    bool ToldOnce(const char* words)
    {
        const bool once = told.size() == 1 && told[0].contains(QString::fromUtf8(words));
        told.clear();
        return once;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("state/Mozik/game");
    TManualClock clock;
    TRandom random;
    QStringList told;
    TRun first{*this};
    std::unique_ptr<TRun> next;
};

TEST_F(KeptGameTest, AGameLeftComesBackPausedWithItsBoardClockTakeBacksAndSwitch)
{
    Play(first.session);
    const TGameRecord left = first.session.Game().Record();
    ASSERT_TRUE(first.keeper.Keep(true));

    std::optional<bool> keepProportions;
    TRun& second = Restart(&keepProportions);
    const TGame& game = second.session.Game();
    EXPECT_EQ(std::tuple(keepProportions, game.Record(), game.Paused(), second.session.PictureBuiltIn(), told),
              std::tuple(true, left, true, true, QStringList()));
    EXPECT_EQ(second.session.StatusText().toStdString(), "Ходов: 4  ·  Пауза");
    clock.Advance(5000);  // paused, the clock stands
    second.session.TogglePause();
    clock.Advance(1000);
    second.session.Redo();
    EXPECT_EQ(std::tuple(game.Seconds(), game.History().size(), game.CanRedo()), std::tuple(left.Seconds + 1, left.History.size() + 1, false));
    ASSERT_TRUE(second.keeper.Keep(false));
    const TGameRecord keptAgain = game.Record();
    EXPECT_EQ(Restart(&keepProportions).session.Game().Record(), keptAgain);
    EXPECT_EQ(keepProportions, false);
}

TEST_F(KeptGameTest, AGameComesBackOnItsPictureFileOrCopyAndOnTheBuiltInOneWhenItIsGone)
{
    const QString file = dir.filePath("holiday.png");
    ASSERT_TRUE(Filled(60, 40, Qt::blue).save(file));
    first.session.OpenPicture(file);
    first.session.WaitForWork();
    Play(first.session);
    const TGameRecord left = first.session.Game().Record();
    first.keeper.Keep(false);
    {
        const TSession& second = Restart().session;
        EXPECT_EQ(std::tuple(second.PictureName(), second.PicturePath(), second.Picture().pixel(0, 0), second.Game().Record(), told),
                  std::tuple(QString("holiday.png"), QFile::encodeName(file), QColor(Qt::blue).rgb(), left, QStringList()));
    }
    QFile::remove(file);
    const TSession& third = Restart().session;
    EXPECT_TRUE(ToldOnce("Не удалось открыть рисунок отложенной игры") && third.PictureBuiltIn());
    EXPECT_EQ(std::tuple(third.PictureName(), third.Game().Record(), third.Game().Paused()), std::tuple(QString("Mozik.bmp"), left, true));
    next.reset();

    // A picture of no file: a PNG copy of it goes beside the game, and goes with it.
    QImage pasted = Filled(30, 20, Qt::yellow);
    pasted.setPixel(0, 0, qRgb(255, 0, 0));
    first.session.SetPicture(pasted, "Вставленный рисунок");
    Play(first.session);
    first.keeper.Keep(false);
    ASSERT_EQ(Beside("game-*.png").size(), 1);
    TRun& fourth = Restart();
    EXPECT_EQ(std::tuple(fourth.session.PictureName(), fourth.session.PicturePath(), fourth.session.PictureBuiltIn(), told),
              std::tuple(QString("Вставленный рисунок"), QByteArray(), false, QStringList()));
    EXPECT_EQ(fourth.session.Picture().convertToFormat(QImage::Format_RGB32), pasted);
    fourth.session.TogglePause();
    fourth.session.MoveToward(TDirection::Left);
    fourth.keeper.Keep(false);
    EXPECT_EQ(Beside("game-*.png").size(), 1);  // the same game's copy, written again
    fourth.session.NewBoard(5);
    EXPECT_EQ(Beside("game*"), QStringList());
}

TEST_F(KeptGameTest, AGameThatEndsTakesItsFileAlongButNeverAnotherWindowsGame)
{
    Play(first.session);
    first.keeper.Keep(false);
    const QByteArray kept = ReadFile(path);
    // A window that did not take the kept game up ends games of its own: the kept game stays.
    TRun other(*this);
    Play(other.session);
    other.session.ResumeGame(NearlyHome().Game);
    other.session.TogglePause();
    other.session.Move(25);
    EXPECT_EQ(std::pair(other.session.Game().Running(), ReadFile(path)), std::pair(false, kept));

    // While one window plays the kept game, a window started meanwhile starts afresh.
    TRun& second = Restart();
    TRun third(*this);
    EXPECT_EQ(std::pair(third.keeper.Resume(), third.session.Game().Running()), std::pair(std::optional<bool>(), false));
    // The last to leave keeps its game; the game of the window that left before then ends without
    // taking it along.
    Play(third.session);
    third.keeper.Keep(false);
    const QByteArray thirds = ReadFile(path);
    EXPECT_NE(thirds, kept);
    second.session.NewBoard(5);
    EXPECT_EQ(ReadFile(path), thirds);

    // A game given up to the solver is over: its file goes, and such a game is never kept.
    third.session.Solve();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(third.keeper.Keep(false) || QFile::exists(path));
    // So does one brought home.
    WriteFile(path, NearlyHome().ToText());
    TRun& last = Restart();
    last.session.TogglePause();
    last.session.Move(25);
    EXPECT_EQ(std::pair(last.session.Game().Running(), Beside("game*")), std::pair(false, QStringList()));
}

TEST_F(KeptGameTest, ADamagedFileIsSetAsideAndOneToLeaveAloneIsNeverWrittenOverBothTold)
{
    Play(first.session);
    first.keeper.Keep(false);
    QByteArray changed = ReadFile(path);
    changed[changed.indexOf("seconds=") + 8] = '9';
    for (const QByteArray& damaged : {QByteArray("Something else entirely\n"), changed, QByteArray()}) {
        WriteFile(path, damaged);
        EXPECT_FALSE(Restart().session.Game().Running());
        const QStringList aside = Beside("game.damaged-*");
        ASSERT_EQ(aside.size(), 1);
        EXPECT_TRUE(ToldOnce("повреждён") && !QFile::exists(path));
        EXPECT_EQ(ReadFile(QFileInfo(path).dir().filePath(aside[0])), damaged);
        QFile::remove(QFileInfo(path).dir().filePath(aside[0]));
    }
    // One found when the game is kept is set aside then.
    WriteFile(path, "damaged");
    next.reset();
    EXPECT_TRUE(first.keeper.Keep(false));
    EXPECT_EQ(std::pair(Beside("game.damaged-*").size(), Restart().session.Game().Record()), std::pair(qsizetype(1), first.session.Game().Record()));
    next.reset();

    // Anything else is left as it is, and nothing is kept over it.
    const QByteArray game = ReadFile(path);
    const QString elsewhere = dir.filePath("elsewhere");
    WriteFile(elsewhere, game);
    QFile::remove(path);
    struct TThing {
        std::function<void()> make;
        const char* told;
    };
    const TThing things[] = {
        {[&] { QDir().mkpath(path); }, "это папка"},
        {[&] { ASSERT_EQ(symlink(elsewhere.toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0); }, "это ссылка"},
        {[&] { ASSERT_EQ(mkfifo(path.toLocal8Bit().constData(), 0600), 0); }, "это канал"},
        {[&] { WriteFile(path, "mozik-game=2\nwhat a later version keeps\n"); }, "более новой версией"},
    };
    const auto shape = [this] {
        const QFileInfo info(path);
        return std::tuple(info.isDir(), info.isSymLink(), info.size(), info.lastModified(), Beside("game*").size());
    };
    for (const TThing& thing : things) {
        thing.make();
        EXPECT_FALSE(Restart().session.Game().Running()) << thing.told;
        EXPECT_TRUE(ToldOnce(thing.told)) << thing.told;
        next.reset();
        const auto before = shape();
        EXPECT_FALSE(first.keeper.Keep(false)) << thing.told;
        EXPECT_EQ(shape(), before) << thing.told;
        std::filesystem::remove_all(path.toStdString());
    }
    EXPECT_EQ(ReadFile(elsewhere), game);
}

TEST_F(KeptGameTest, ASignalToEndIsTakenInTheEventLoopWhereTheGameIsKept)
{
    const TQuitSignals quitSignals;
    QObject::connect(&quitSignals, &TQuitSignals::Received, &first.keeper, [this](int signal) {
        if (signal == SIGTERM)
            first.keeper.Keep(false);
    });
    Play(first.session);
    std::raise(SIGTERM);
    EXPECT_FALSE(QFile::exists(path));  // not in the handler
    for (int round = 0; round < 1000 && !QFile::exists(path); ++round)
        QCoreApplication::processEvents();
    ASSERT_TRUE(QFile::exists(path)) << "the signal never reached the event loop";
    EXPECT_EQ(Restart().session.Game().Record(), first.session.Game().Record());
}

TEST(KeptGameText, ReadsBackWhatItWritesAndNoGameThatCouldNotHaveBeenPlayed)
{
    TGame game;
    TRandom random(11);
    game.Start(random);
    game.Move(24);
    TKeptGame kept;
    kept.Id = "0123456789abcdef";
    kept.Game = game.Record();
    kept.KeepProportions = true;
    TKeptGame read;
    for (TKeptGame::TPicture picture : {TKeptGame::TPicture::BuiltIn, TKeptGame::TPicture::File, TKeptGame::TPicture::Copy}) {
        kept.Picture = picture;
        kept.PicturePath = picture == TKeptGame::TPicture::File ? QByteArray("/pictures/\xff odd\nname%.png") : QByteArray();
        kept.PictureName = picture == TKeptGame::TPicture::Copy ? QString("Вставка\n100%") : QString();
        ASSERT_EQ(ReadKeptGame(kept.ToText(), &read), TKeptText::Game) << int(picture);
        EXPECT_EQ(read, kept);
    }
    const QByteArray text = kept.ToText();
    TKeptGame impossible = kept;
    impossible.Game.History.push_back({1, 25});
    for (const QByteArray& damaged : {text.chopped(2), text.left(text.size() / 2), impossible.ToText(), QByteArray("mozik-game=x\n")})
        EXPECT_EQ(ReadKeptGame(damaged, &read), TKeptText::Damaged) << damaged.toStdString();
    EXPECT_EQ(ReadKeptGame("mozik-game=2\n", &read), TKeptText::LaterFormat);

    // A game of very many moves keeps the latest of them, and comes back on the same board.
    game.Undo();
    for (std::size_t i = 0; i < kMaxKeptMoves + 10; ++i)
        game.Move(game.GapPos() == 25 ? 24 : 25);
    const TGameRecord within = WithinKeptMoves(game.Record());
    TGame back;
    ASSERT_TRUE(back.Resume(within));
    EXPECT_EQ(std::tuple(within.History.size(), back.Position(), back.Moves()), std::tuple(kMaxKeptMoves, game.Position(), game.Moves()));
}

} // namespace
