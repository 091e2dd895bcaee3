#pragma once
// A game in progress kept between runs. The window keeps the session's game when the player
// leaves it (Exit, the window's close, logout, a signal to end); the next start takes it up again,
// paused, with its clock where it stopped and its moves to take back and to make again. A game
// that is over (brought home, given up to the solver, ended by a new board or a new shuffle)
// removes it.
//
// It lives in $XDG_STATE_HOME/Mozik/game (normally ~/.local/state/Mozik/game), a small text file
// of "key=value" lines written by the rules of the player's files (files/UserFile.h): replaced
// whole through a temporary file, never through a link. Its first line names the format; a later
// version of the game may add lines of its own under the same format, which this one passes over,
// and changes the format only for what this one could not read. Its last line is a checksum of
// the rest. A picture that came without a file is kept beside it as a PNG copy, game-<id>.png.
//
// Several windows may share the file: the last to leave keeps its game over any other window's.
// Each kept game has an id of its own, and a window removes the file only while it holds the game
// that window kept or took up. The window that takes a kept game up holds a lock beside it
// (game.playing.lock) while it plays that game, and a window started meanwhile starts afresh.
// Nothing is read half written: the file is renamed into place, and read under the lock of its
// writers (game.lock).
//
// A file that is not a kept game of the player's own is never written over: a damaged one, or one
// that is no kept game at all, is moved aside under a dated name (game.damaged-YYYYMMDD-HHMMSS)
// when it is found; anything else (another user's file or link, a folder, a pipe, a device, one
// too large, one of a later format) is left alone, and no game is kept while it is there.

#include "files/UserFile.h"
#include "game/Game.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstddef>
#include <optional>

class TSession;

struct TKeptGame {
    enum class TPicture { BuiltIn, File, Copy };

    QByteArray Id;  // 16 hexadecimal digits
    TGameRecord Game;
    TPicture Picture = TPicture::BuiltIn;
    QByteArray PicturePath;  // File: its absolute name in the file system's own bytes
    QString PictureName;     // Copy: the name the caption shows
    bool KeepProportions = false;

    QByteArray ToText() const;
    friend bool operator==(const TKeptGame&, const TKeptGame&) = default;
};

enum class TKeptText { Game, Damaged, LaterFormat };
// Reads the file's text into *game where it is a kept game of this format whose record is a game
// that could have been played (TGame::Resume).
TKeptText ReadKeptGame(const QByteArray& text, TKeptGame* game);

// The most moves a kept game holds to take back or make again: the oldest beyond it are dropped
// (the game then begins where they left the board), so that the file stays small.
constexpr std::size_t kMaxKeptMoves = 100000;
TGameRecord WithinKeptMoves(TGameRecord record);

class TGameKeeper : public QObject {
    Q_OBJECT
public:
    // $XDG_STATE_HOME/Mozik/game; empty without a usable state folder.
    static QString DefaultPath();
    // The file at `path`; an empty path keeps nothing.
    TGameKeeper(TSession& session, const QString& path, QObject* parent = nullptr);
    ~TGameKeeper() override;

    const QString& Path() const { return path_; }
    // Takes the kept game up again in the session (TSession::ResumeGame), unless another window
    // plays it already. Its Keep Proportions switch, or nullopt when no game comes back; a file
    // that cannot be used is told (Problem).
    std::optional<bool> Resume();
    // Keeps the session's game in progress with the window's Keep Proportions switch; nothing
    // without one, or for a game given up to the solver. False when nothing could be written.
    bool Keep(bool keepProportions);

signals:
    void Problem(const QString& message);

private:
    enum class TFound { None, Game, Damaged, Left };
    TFound Find(TKeptGame* game, TFileStatus* status);
    void GameLeft();
    QString SetAside();
    bool WriteCopy(const QByteArray& id);
    void RemoveCopies(const QByteArray& exceptId);
    QString CopyPath(const QByteArray& id) const;

    TSession& session_;
    QString path_;
    QByteArray id_;        // of the game this window kept or took up; empty for none
    QByteArray lastKept_;  // the text written last, not written again
    TUserFileLock playing_;
};
