#pragma once
// The play session: one game on its board and everything around it between the player's commands
// and the window that shows them. It owns the game, its clock, the solver's client that answers
// hints and solutions (and makes the 4 x 4 tables ready once such a game starts), the hinted tile,
// a given-up game playing itself home, the peek at the whole picture, the end of a game and the
// record it may earn in the score file, the row every game that ended leaves in the history, and
// pictures read off the window's thread. It knows no widget and never waits for the solver: the
// window draws its state when told that it changed, and forwards the player's input to it.

#include "framework/Clock.h"
#include "framework/Random.h"
#include "game/Commands.h"
#include "game/Game.h"
#include "game/History.h"
#include "game/PictureReading.h"
#include "game/ScoreFile.h"
#include "game/ScoreTable.h"
#include "game/SolverClient.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <chrono>
#include <list>
#include <memory>
#include <optional>
#include <thread>

// How a game ended.
struct TGameEnd {
    int BoardSize = 0;
    int Seconds = 0;
    bool GivenUp = false;    // brought home by the solver: no result, no record
    bool Qualifies = false;  // the time earns a place in the table of its size (never with hints)
    int Hints = 0;           // hints asked for during the game
};

// The picture a kept game comes back on (TSession::ResumeGame).
struct TKeptPicture {
    QByteArray LocalPath;  // the file's name in the file system's own bytes; empty: the built-in picture
    QString Name;          // the name the caption shows; the file's own when empty
    bool Copy = false;     // a copy of a picture that came without a file, which is remembered as such
    TPictureReader Read;   // reads the file, when not as a picture the player opens is read
};

class TSession : public QObject {
    Q_OBJECT
public:
    // The clock runs every timer of the session; the generator shuffles, reseeded at each Start.
    TSession(TClock& clock, TRandom& random, QObject* parent = nullptr);
    ~TSession() override;  // stops and joins every worker

    const TGame& Game() const { return game_; }
    // The picture the board is cut from, its file name without folders, and its file's absolute
    // name as the file system's own bytes (empty for a picture of no file).
    const QImage& Picture() const { return picture_; }
    const QString& PictureName() const { return pictureName_; }
    const QByteArray& PicturePath() const { return picturePath_; }
    // The board shows the built-in picture (UseBuiltinPicture).
    bool PictureBuiltIn() const { return pictureBuiltIn_; }
    bool Peeking() const { return peeking_; }
    // A given-up game on its way home: its solution is sought or plays itself.
    bool Solving() const { return solving_; }
    // The tile a hint points at, from the solver's answer until the next move or another
    // command (0 for none).
    int HintedTile() const { return hinted_; }
    // Whether the hinted tile's move is one of a shortest solution.
    bool HintShortest() const { return hinted_ != 0 && hintShortest_; }
    // A picture is being read, or a given-up game waits for its solution: the player waits (the
    // solver's tables made ready in the background are no wait of the player's).
    bool Busy() const { return !pictureJobs_.empty() || (solving_ && !solution_); }
    TCommandStates Commands() const { return CommandStates(game_, peeking_); }
    const TScoreTable& Scores() const { return scores_; }
    const TScoreFile& ScoreFile() const { return scoreFile_; }
    // The status line: the moves of the game, on 4 x 4 the length of a shortest solution from the
    // shuffled start once the solver has found it, then whether the game is paused, given up to
    // the solver or hidden by a peek, or is over; or that it has not begun.
    QString StatusText() const;
    std::optional<int> StartShortest() const { return startShortest_; }

    // The picture and the board. A new board ends any game without a result. Of a picture larger
    // than the largest board can show, only that much is kept (KeepPicturesWithin). A picture
    // still being read is no longer wanted.
    void SetPicture(const QImage& picture, const QString& name, const QByteArray& localPath = {});
    // The same for the program's own picture, which a kept game whose picture is gone falls back on.
    void UseBuiltinPicture(const QImage& picture, const QString& name);
    // Reads the file on a worker; the board changes once the picture is there, and only if no
    // other picture was asked for meanwhile. A file that cannot be used is told (Problem,
    // PictureRefused). The name may also be given as the file system's own bytes.
    void OpenPicture(const QString& path);
    void OpenLocalPicture(const QByteArray& localPath);
    // The same for a file whose reading has begun already (the one named on the command line,
    // read while the window is made).
    void OpenPicture(std::unique_ptr<TPictureReading> reading);
    // The same for image data pasted or dropped, which has no file: read from its bytes by the
    // same rules; the board shows it under the name PastedPictureName(), with no path.
    void OpenPictureData(const QByteArray& bytes);
    // The names the caption gives the game's own picture, and a picture that came without a file.
    static QString BuiltinPictureName() { return QStringLiteral("Mozik.bmp"); }
    static QString PastedPictureName();
    // Waits up to `bound` for the picture last asked for. When it is read by then, the board has
    // it (or it has been told that it cannot be used) on return; false when it is still being
    // read, and the board changes once it is there.
    bool WaitForPicture(std::chrono::milliseconds bound);
    void NewBoard(int n);
    // Takes a game kept from an earlier run up again, paused (TGame::Resume), on its picture: a file
    // is read as OpenPicture reads one, and the game comes back once it is there; on the built-in
    // picture when it has no file, or when the file cannot be used any more (which is told).
    void ResumeGame(const TGameRecord& record, const TKeptPicture& picture = {});
    // The game as it stands, with when it began, to be taken up again with ResumeGame.
    TGameRecord GameRecord() const;

    // The player's commands; each does nothing where the command states say it cannot act.
    void Start();
    // A fresh shuffle of the same board and picture, at any time: a game in progress, or one
    // being played home by the solver, ends without a result, as a new board ends it.
    void NewGame();
    void Move(int p);  // the tile at position p, and those up to the gap in its line, slide
    void MoveToward(TDirection direction);
    void TogglePause();
    void Undo();
    void Redo();
    // Asks the solver for the next move; its tile is hinted when the answer comes.
    void Hint();
    // Gives the game up: the clock stops, and the solution plays itself home at a steady pace.
    void Solve();
    // Ends a solution's playback at once (as soon as the solution is known).
    void FinishSolveNow();
    // The playback was asked to end before its solution was known.
    bool SolveHurried() const { return solving_ && finishAtOnce_; }
    // The whole picture over the board: while held (it ends a moment after its release, unless
    // held again meanwhile), or for two seconds; ended by any change of the game and by EndPeek.
    void HoldPeek();
    void ReleasePeek();
    void PeekForAWhile();
    void EndPeek();
    // A second of the running game.
    void Timer1Timer();

    // The score file, which other windows of the game may share: read it, make the default one
    // where there was none (once the window shows), take the table as the file holds it now,
    // record the finished game's time under a name, clear the table, and at Exit write what could
    // not be written yet. A write that fails is told (Problem) once; SaveScores then answers false.
    void UseScoreFile(TScoreFile file);
    void CreateScoreFileIfMissing();
    void RereadScores();
    void RecordScore(const QString& name);
    // The finished game's result has been shown: its row goes to the history now (with the name
    // recorded for it, if any), after the score file.
    void ResultClosed();
    void ClearScores();
    bool SaveScores();

    // Where every game that ends leaves a row: finished by the player, brought home by the solver,
    // or left for another board or game after at least one move. None: no rows.
    void UseHistory(THistory* history) { history_ = history; }

    void SetSolverOptions(const THintOptions& options)
    {
        solverOptions_ = options;
        solver_.SetOptions(options);
    }
    // The side of the largest board that can be shown, in device pixels: a picture whose shorter
    // side is longer is scaled down to it, proportions kept, as it is taken. 0: kept whole.
    void KeepPicturesWithin(int side) { largestBoard_ = side; }
    // For tests: sees the solver's workers begin and work.
    void WatchSolver(TSolverWatch* watch) { solver_.Watch(watch); }
    // For tests and the start-up: waits for the pictures being read and the solver's answers,
    // and takes them; the solver's tables, made ready in the background, only with
    // WaitForTables.
    void WaitForWork();
    void WaitForTables();

signals:
    // Anything the window shows has changed: the grid, the clock, the command states, the hint,
    // the peek or the busy state.
    void Changed();
    // Tiles slid, one move of the player's, a take-back, or a step of a solution's playback; told
    // before Changed tells the new state, so that the window may show the tiles sliding.
    void Slid(const TMove& move);
    // A new board (size or picture): the window cuts its tiles afresh.
    void BoardChanged();
    // The game is over; the board already shows the whole picture.
    void Finished(const TGameEnd& end);
    // Something the player must read: a picture that cannot be used, a score file not written.
    void Problem(const QString& message);
    // The picture asked for last cannot be used (told by Problem too); the board keeps its own.
    void PictureRefused();
    // The game in progress is over for good: brought home, given up to the solver, or ended by a
    // new board or a new shuffle.
    void GameLeft();

private:
    void Moved(const TMoveResult& result);
    void EndGame(bool givenUp);
    void Notify();
    void AskSolver();
    void SolverAnswered(const TPosition& asked, const THint& answer);
    void SolverSettled(const TPosition& asked);
    void StopSolver();
    void LeaveGame();
    // The game's row, held back until the result is shown when its time earns a place.
    void RecordGame(TGameOutcome outcome);
    void SendRow();
    void ClearHint();
    void PlayNextSolutionMove();
    void PictureRead(int question);
    void TakePicture(const QImage& picture, const QString& name, const QByteArray& localPath, bool builtIn);
    void TakeUp(const TGameRecord& record);

    TClock& clock_;
    TRandom& random_;
    TGame game_;
    QImage picture_;
    QString pictureName_;
    QByteArray picturePath_;
    bool pictureBuiltIn_ = false;
    QImage builtinPicture_;
    QString builtinName_;
    TPosition startBoard_;               // the shuffled board of the running 4 x 4 game
    std::optional<int> startShortest_;   // the length of a shortest way home from it, once known
    THintOptions solverOptions_;
    THistory* history_ = nullptr;
    std::int64_t startedUtc_ = 0;        // when the game began, on the wall clock
    QString gamePicture_;                // the picture it is played on
    struct TPendingRow {
        THistoryRow Row;
        THistoryMeasure Measure;
    };
    std::optional<TPendingRow> row_;
    TScoreFile scoreFile_{QString()};
    TScoreTable scores_;
    bool peeking_ = false;
    int hinted_ = 0;
    bool solving_ = false;
    bool finishAtOnce_ = false;       // the player hurried a solution not yet found
    std::optional<TMoves> solution_;  // what is left of a given-up game's way home
    bool hintWanted_ = false;  // Hint was asked for on this board, and not cleared since
    bool hintShortest_ = false;
    std::unique_ptr<TTimer> secondTimer_;  // Timer1
    std::unique_ptr<TTimer> solveTimer_;
    std::unique_ptr<TTimer> peekTimer_;
    std::unique_ptr<TTimer> peekReleaseTimer_;
    int pictureQuestion_ = 0;
    int largestBoard_ = 0;
    struct TPictureJob {
        int Question = 0;
        std::unique_ptr<TPictureReading> Reading;
        std::optional<TGameRecord> Resume;  // the kept game that comes back on the picture
        QString Name;
        bool Copy = false;
    };
    // Last, so that they are joined before anything they answer to goes.
    std::list<TPictureJob> pictureJobs_;  // those still reading
    TSolverClient solver_;
};
