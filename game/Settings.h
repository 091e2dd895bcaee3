#pragma once
// The player's settings, kept between runs in the user's config folder: the board size, the
// picture, the pictures opened last, the window's place and size, whether it was maximised or
// full screen, the Game menu's switches and language, and whether to ask before a game is
// abandoned. The file is INI, read and written by QSettings; each value is written as it changes,
// into the file as it is then, so that windows sharing the file keep each other's changes.
//
// The file keeps the rules of the user's files (files/UserFile.h): only a small regular file of
// the user's own is read, and it is replaced whole, never written through another user's link.
// QSettings itself opens its path with a plain, blocking open and writes through links, so it
// never sees the file: it reads and writes a private copy in a fresh temporary folder, and the
// bytes go between that copy and the file through files/ alone. A file that cannot be read (a
// pipe, a device, a folder, another user's file or link) gives the defaults and is never written.
//
// The file is read and written within one limit, so that the game never writes a file it would
// not read back: each write makes the file afresh from the values the game knows, each value that
// makes sense in the file as it is then and the rest as this run knows them; keys it does not
// know are dropped, every name of a picture is bounded, and the oldest recent pictures give way
// should the file still come out too large. Of a damaged file only the values that make sense
// are taken, and one too large is not read at all; either is written afresh at the next change.

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QSettings;

class TSettings {
public:
    static constexpr int kRecentPictures = 10;
    // The longest name of a picture kept, in bytes: the longest path the system opens.
    static constexpr int kLongestPictureName = 4096;

    // $XDG_CONFIG_HOME/Mozik/Mozik.conf (normally ~/.config/Mozik/Mozik.conf); empty without a
    // usable config folder.
    static QString DefaultPath();
    // Reads the file at `path`; an empty path: the defaults, nothing ever written.
    explicit TSettings(const QString& path);

    const QString& Path() const { return path_; }
    // Changes go to the file (there is one to write, and it was not left alone).
    bool Writable() const { return writable_; }

    // 1, 4, 5, 6 or 7; 5 at first.
    int BoardSize() const { return values_.BoardSize; }
    // The picture's absolute name, as the file system's own bytes; empty for the built-in one.
    const QByteArray& Picture() const { return values_.Picture; }
    // The window's place and size on the screen while it is neither maximised nor full screen
    // (its frame left out); none at first.
    const std::optional<QRect>& WindowGeometry() const { return values_.WindowGeometry; }
    bool Maximised() const { return values_.Maximised; }
    bool FullScreen() const { return values_.FullScreen; }
    bool Animation() const { return values_.Animation; }  // on at first
    bool StatusLine() const { return values_.StatusLine; }
    bool KeepProportions() const { return values_.KeepProportions; }
    bool PauseWhenAway() const { return values_.PauseWhenAway; }
    // Whether a command that would end a game in progress asks first (on at first).
    bool AskBeforeAbandoning() const { return values_.AskBeforeAbandoning; }
    // The pictures opened last, newest first, at most kRecentPictures of them, as absolute names
    // in the file system's own bytes.
    const QList<QByteArray>& RecentPictures() const { return values_.RecentPictures; }
    bool Numbers() const { return values_.Numbers; }
    bool Sound() const { return values_.Sound; }  // on at first
    // The language chosen in the Game menu: "ru", "en", or "auto" (the locale's) at first.
    const QString& Language() const { return values_.Language; }

    // Each setter stores a new value and writes it to the file; the same value writes nothing.
    void SetBoardSize(int n);
    void SetPicture(const QByteArray& localPath);
    void SetWindowGeometry(const QRect& geometry);
    void SetMaximised(bool on);
    void SetFullScreen(bool on);
    void SetAnimation(bool on);
    void SetStatusLine(bool on);
    void SetKeepProportions(bool on);
    void SetPauseWhenAway(bool on);
    void SetAskBeforeAbandoning(bool on);
    // The list is changed as the file holds it now, another window's pictures kept: a picture
    // opened goes first (once), the oldest beyond the limit falls out; one may leave it; all may.
    void AddRecentPicture(const QByteArray& localPath);
    void RemoveRecentPicture(const QByteArray& localPath);
    void ClearRecentPictures();
    // Takes the list as the file holds it now, which other windows may have changed.
    void RereadRecentPictures();
    void SetNumbers(bool on);
    void SetSound(bool on);
    void SetLanguage(const QString& language);

private:
    // Everything the file keeps.
    struct TValues {
        int BoardSize = 5;
        QByteArray Picture;
        std::optional<QRect> WindowGeometry;
        bool Maximised = false;
        bool FullScreen = false;
        bool Animation = true;
        bool StatusLine = false;
        bool KeepProportions = false;
        bool PauseWhenAway = false;
        bool AskBeforeAbandoning = true;
        QList<QByteArray> RecentPictures;
        bool Numbers = false;
        bool Sound = true;
        QString Language = QStringLiteral("auto");
    };

    // The values of the file's bytes that make sense, `fallback`'s for the rest.
    static TValues Parse(const std::string& bytes, const TValues& fallback);
    // The file that holds the values, no larger than the game reads; none where no private
    // copy can be made to write it.
    static std::optional<std::string> Serialise(TValues values);
    static void Write(QSettings& ini, const TValues& values);

    template <typename T>
    void Change(T TValues::*field, const T& value);
    // Hands over the values of the file as it is now; false when it is not there to be read.
    bool Read(const std::function<void(const TValues&)>& read) const;
    // The values of the file as it is now, this run's where it holds none that make sense (a
    // missing, damaged or too large file); none when the file is not to be written.
    std::optional<TValues> ValuesToWrite() const;
    // Changes the values as the file holds them now, under the lock, and writes them afresh.
    bool Update(const std::function<void(TValues&)>& change);
    void ChangeRecentPictures(const std::function<void(QList<QByteArray>&)>& change);

    QString path_;
    bool writable_ = false;
    TValues values_;
};
