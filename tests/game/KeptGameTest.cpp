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

namespace {

// A kept game one move from home: the tile at 25 slides into the gap at 24.
TKeptGame NearlyHome()
{
    TKeptGame kept;
    kept.Id = "00000000000000aa";
    kept.Game = {5, {}, {}, {}, 0, 7};
    kept.Game.Start.Reset(5);
    std::swap(kept.Game.Start.AtPosition(24, 5), kept.Game.Start.AtPosition(25, 5));
    return kept;
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
            session.UseBuiltinPicture(Filled({40, 40}, Qt::magenta), "Mozik.bmp");
        }
        TSession session;
        TGameKeeper keeper;
    };

    // The next run, once the one before it has ended: the kept game taken up, its picture read.
    TRun& Restart()
    {
        next.reset();
        next = std::make_unique<TRun>(*this);
        resumed = next->keeper.Resume();
        next->session.WaitForWork();
        return *next;
    }
    // A game with moves, seconds and a hint, one of its moves taken back; kept unless told not to.
    void Play(TRun& run, bool keep = true)
    {
        TSession& session = run.session;
        session.Start();
        clock.Advance(3000);
        for (TDirection direction : {TDirection::Down, TDirection::Right, TDirection::Down})
            session.MoveToward(direction);
        session.Undo();
        session.Hint();
        session.WaitForWork();
        if (keep)
            run.keeper.Keep(false);
    }
    QStringList Beside(const QString& pattern) const
    {
        return QDir(QFileInfo(path).path()).entryList({pattern}, QDir::AllEntries | QDir::System | QDir::Hidden);
    }
    bool ToldOnce(const char* words)
    {
        const QStringList all = std::exchange(told, {});
        return all.size() == 1 && all[0].contains(QString::fromUtf8(words));
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("state/Mozik/game");
    TManualClock clock;
    TRandom random;
    QStringList told;
    TRun first{*this};
    std::unique_ptr<TRun> next;
    std::optional<bool> resumed;  // the last restart's game's Keep Proportions switch, if one came back
};

// Its record holds the board, the moves made and taken back, the seconds, the hints, which keep
// it from the scores, and when it began, for the history.
TEST_F(KeptGameTest, AGameLeftBySIGTERMComesBackPausedWithItsRecordAndSwitch)
{
    const TQuitSignals quitSignals;
    QObject::connect(&quitSignals, &TQuitSignals::Received, &first.keeper, [this] { first.keeper.Keep(true); });
    Play(first, false);
    const TGameRecord kept = first.session.GameRecord();
    std::raise(SIGTERM);
    EXPECT_FALSE(QFile::exists(path));  // not kept inside the handler, but in the event loop
    for (int round = 0; round < 1000 && !QFile::exists(path); ++round)
        QCoreApplication::processEvents();
    ASSERT_TRUE(QFile::exists(path)) << "the signal never reached the event loop";

    clock.Advance(60000);  // started again a minute later
    TSession& second = Restart().session;
    const TGame& game = second.Game();
    EXPECT_EQ(std::tuple(resumed, second.GameRecord(), game.Paused(), second.PictureBuiltIn(), second.StatusText(), told),
              std::tuple(true, kept, true, true, QString("Ходов: 4  ·  Пауза"), QStringList()));
    EXPECT_EQ(std::pair(kept.Hints, kept.StartedUtc), std::pair(1, TManualClock::kManualUtcStart));
    clock.Advance(5000);  // the clock stands until the player continues
    second.TogglePause();
    clock.Advance(1000);
    EXPECT_EQ(game.Seconds(), 4);
}

TEST_F(KeptGameTest, AGameComesBackOnItsPictureFileOrCopyAndOnTheBuiltInOneWhenItIsGone)
{
    const QString file = dir.filePath("holi\nday 100%.png");
    ASSERT_TRUE(Filled({60, 40}, Qt::blue).save(file));
    first.session.OpenPicture(file);
    first.session.WaitForWork();
    Play(first);
    const TSession* back = &Restart().session;
    EXPECT_EQ(std::tuple(back->PictureName(), back->PicturePath(), back->Picture().pixel(0, 0), back->Game().Record(), told),
              std::tuple(QString("holi\nday 100%.png"), QFile::encodeName(file), QColor(Qt::blue).rgb(), first.session.Game().Record(), QStringList()));
    QFile::remove(file);
    back = &Restart().session;
    EXPECT_TRUE(ToldOnce("Не удалось открыть рисунок отложенной игры"));
    EXPECT_EQ(std::tuple(back->PictureBuiltIn(), back->Game().Record(), back->Game().Paused()), std::tuple(true, first.session.Game().Record(), true));
    next.reset();

    // A picture of no file: a PNG copy of it goes beside the game, and goes with it.
    QImage pasted = Filled({30, 20}, Qt::yellow);
    pasted.setPixel(0, 0, qRgb(255, 0, 0));
    first.session.SetPicture(pasted, "Вставленный\nрисунок 100%");
    Play(first);
    TRun& again = Restart();
    EXPECT_EQ(std::tuple(again.session.PictureName(), again.session.PicturePath(), again.session.Picture().convertToFormat(QImage::Format_RGB32), told),
              std::tuple(QString("Вставленный\nрисунок 100%"), QByteArray(), pasted, QStringList()));
    again.session.TogglePause();
    again.session.MoveToward(TDirection::Left);
    again.keeper.Keep(false);
    EXPECT_EQ(Beside("game-*.png").size(), 1);  // the same game's copy, written again
    again.session.NewBoard(5);
    EXPECT_EQ(Beside("game*"), QStringList());
}

TEST_F(KeptGameTest, AGameThatEndsTakesItsFileAlongButNeverAnotherWindowsGame)
{
    Play(first);
    const QByteArray kept = ReadFile(path);
    // A window that did not take the kept game up ends games of its own: the kept game stays.
    TRun other(*this);
    Play(other, false);
    other.session.ResumeGame(NearlyHome().Game);
    other.session.TogglePause();
    other.session.Move(25);
    EXPECT_EQ(std::pair(other.session.Game().Running(), ReadFile(path)), std::pair(false, kept));

    // While one window plays the kept game, a window started meanwhile starts afresh. The last to
    // leave keeps its game, and the game of the one that left before ends without taking it along.
    TRun& second = Restart();
    TRun third(*this);
    EXPECT_EQ(third.keeper.Resume(), std::nullopt);
    Play(third);
    const QByteArray thirds = ReadFile(path);
    second.session.NewBoard(5);
    EXPECT_TRUE(ReadFile(path) == thirds && thirds != kept);

    // A game given up to the solver is over: its file goes, and such a game is never kept.
    third.session.Solve();
    EXPECT_FALSE(third.keeper.Keep(false) || QFile::exists(path));
    // So does a game brought home.
    WriteFile(path, NearlyHome().ToText());
    TRun& last = Restart();
    last.session.TogglePause();
    last.session.Move(25);
    EXPECT_EQ(std::pair(last.session.Game().Running(), Beside("game*")), std::pair(false, QStringList()));
}

TEST_F(KeptGameTest, ADamagedFileIsSetAsideAndOneToLeaveAloneIsNeverWrittenOverBothTold)
{
    Play(first);
    QByteArray changed = ReadFile(path);
    changed[changed.indexOf("seconds=") + 8] = '9';
    for (const QByteArray& damaged : {QByteArray("Something else\n"), changed, QByteArray()}) {
        WriteFile(path, damaged);
        EXPECT_FALSE(Restart().session.Game().Running());
        const QStringList aside = Beside("game.damaged-*");
        ASSERT_EQ(aside.size(), 1);
        EXPECT_TRUE(ToldOnce("повреждён") && !QFile::exists(path));
        EXPECT_TRUE(QFile(QFileInfo(path).dir().filePath(aside[0])).remove());
    }
    WriteFile(path, "damaged");  // one found as the game is kept is set aside then
    next.reset();
    EXPECT_TRUE(first.keeper.Keep(false) && Beside("game.damaged-*").size() == 1);
    EXPECT_EQ(Restart().session.Game().Record(), first.session.Game().Record());
    next.reset();

    // Anything else is left as it is, and nothing is kept over it.
    const QString elsewhere = dir.filePath("elsewhere");
    const QByteArray game = ReadFile(path);
    ASSERT_TRUE(QFile::rename(path, elsewhere));
    const std::pair<std::function<void()>, const char*> things[] = {
        {[&] { QDir().mkpath(path); }, "это папка"},
        {[&] { QFile::link(elsewhere, path); }, "это ссылка"},
        {[&] { mkfifo(path.toLocal8Bit().constData(), 0600); }, "это канал"},
        {[&] { WriteFile(path, "mozik-game=2\nwhat a later version keeps\n"); }, "более новой версией"},
    };
    for (const auto& [make, words] : things) {
        make();
        EXPECT_TRUE(!Restart().session.Game().Running() && ToldOnce(words)) << words;
        next.reset();
        const auto before = std::pair(QFileInfo(path).lastModified(), Beside("game*"));
        EXPECT_FALSE(first.keeper.Keep(false) || std::pair(QFileInfo(path).lastModified(), Beside("game*")) != before) << words;
        std::filesystem::remove_all(path.toStdString());
    }
    EXPECT_EQ(ReadFile(elsewhere), game);
}

TEST(KeptGameText, NoGameThatCouldNotHaveBeenPlayedIsReadAndOneOfVeryManyMovesKeepsTheLatest)
{
    TGame game;
    TRandom random(11);
    game.Start(random);
    game.Move(24);
    TKeptGame kept, read;
    kept.Id = "0123456789abcdef";
    kept.Game = game.Record();
    kept.Game.Hints = 2;
    kept.Game.StartedUtc = TManualClock::kManualUtcStart;
    ASSERT_EQ(ReadKeptGame(kept.ToText(), &read), TKeptText::Game);
    EXPECT_EQ(read, kept);
    // No game could have left these: each is damaged, as a file cut short or changed is.
    std::vector<TKeptGame> impossible(8, kept);
    impossible[0].Game.History.push_back({1, 25});  // the gap is not there
    impossible[1].Game.History.push_back({7, 24});  // not in the gap's line
    std::swap(impossible[2].Game.Start.AtPosition(1, 5), impossible[2].Game.Start.AtPosition(2, 5));  // cannot come home
    impossible[3].Game.Start.AtPosition(1, 5) = impossible[3].Game.Start.AtPosition(2, 5);            // a tile twice
    impossible[4].Game.BoardSize = 1;
    impossible[5] = NearlyHome();
    impossible[5].Game.History = {{25, 24}};  // brought home, which ended it
    impossible[6].Game.Moves = 0;             // fewer tiles slid than its moves hold
    impossible[7].Game.Hints = -1;
    const QByteArray text = kept.ToText();
    QByteArrayList damaged{text.chopped(2), text.left(text.size() / 2), "mozik-game=x\n"};
    for (const TKeptGame& each : impossible)
        damaged << each.ToText();
    for (const QByteArray& each : damaged)
        EXPECT_EQ(ReadKeptGame(each, &read), TKeptText::Damaged) << each.toStdString();
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
