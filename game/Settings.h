#pragma once
// The player's settings, kept between runs in the user's config folder: the board size, the
// picture, the window's place and size, whether it was maximised or full screen, and the Game
// menu's switches and language. The file is INI, read and written by QSettings; each value is written as it
// changes, into the file as it is then, so that windows sharing the file keep each other's
// changes.
//
// The file keeps the rules of the user's files (files/UserFile.h): only a small regular file of
// the user's own is read, and it is replaced whole, never written through another user's link.
// QSettings itself opens its path with a plain, blocking open and writes through links, so it
// never sees the file: it reads and writes a private copy in a fresh temporary folder, and the
// bytes go between that copy and the file through files/ alone. A file that cannot be read (a
// pipe, a device, a folder, another user's file or link, one too large) gives the defaults and is
// never written; of a damaged file only the values that make sense are taken (a garbage file gives
// the defaults), and the next change writes it afresh.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QVariant>
#include <optional>

class TSettings {
public:
    // $XDG_CONFIG_HOME/Mozik/Mozik.conf (normally ~/.config/Mozik/Mozik.conf); empty without a
    // usable config folder.
    static QString DefaultPath();
    // Reads the file at `path`; an empty path: the defaults, nothing ever written.
    explicit TSettings(const QString& path);

    const QString& Path() const { return path_; }
    // Changes go to the file (there is one to write, and it was not left alone).
    bool Writable() const { return writable_; }

    // 1, 4, 5, 6 or 7; 5 at first.
    int BoardSize() const { return boardSize_; }
    // The picture's absolute name, as the file system's own bytes; empty for the built-in one.
    const QByteArray& Picture() const { return picture_; }
    // The window's place and size on the screen while it is neither maximised nor full screen
    // (its frame left out); none at first.
    const std::optional<QRect>& WindowGeometry() const { return windowGeometry_; }
    bool Maximised() const { return maximised_; }
    bool FullScreen() const { return fullScreen_; }
    bool Animation() const { return animation_; }  // on at first
    bool StatusLine() const { return statusLine_; }
    bool KeepProportions() const { return keepProportions_; }
    bool Numbers() const { return numbers_; }
    bool Sound() const { return sound_; }  // on at first
    // The language chosen in the Game menu: "ru", "en", or "auto" (the locale's) at first.
    const QString& Language() const { return language_; }

    // Each setter stores a new value and writes it to the file; the same value writes nothing.
    void SetBoardSize(int n);
    void SetPicture(const QByteArray& localPath);
    void SetWindowGeometry(const QRect& geometry);
    void SetMaximised(bool on);
    void SetFullScreen(bool on);
    void SetAnimation(bool on);
    void SetStatusLine(bool on);
    void SetKeepProportions(bool on);
    void SetNumbers(bool on);
    void SetSound(bool on);
    void SetLanguage(const QString& language);

private:
    template <typename T>
    void Change(T& field, const T& value, const char* key);
    void Write(const char* key, const QVariant& value);

    QString path_;
    bool writable_ = false;
    int boardSize_ = 5;
    QByteArray picture_;
    std::optional<QRect> windowGeometry_;
    bool maximised_ = false;
    bool fullScreen_ = false;
    bool animation_ = true;
    bool statusLine_ = false;
    bool keepProportions_ = false;
    bool numbers_ = false;
    bool sound_ = true;
    QString language_ = QStringLiteral("auto");
};
