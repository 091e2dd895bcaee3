#pragma once
// The ways to another picture besides Open's dialog, and the dialog's start: in the File menu
// after "&Open ...", "Open &Recent" (the last ten pictures opened, newest first, each by its file
// name with its folder as hint, and "&Clear List" at the end), "&Built-in Picture" (back to the
// game's own) and "&Paste Picture" (Ctrl+V: a copied file, or image data, on the clipboard); a
// picture file or image data dropped on the window. Open's dialog starts in the folder of the
// last picture opened, else the player's pictures folder, else the home folder, with no name
// filled in. Each asks first when it would end a game the player has made moves in
// (windows/GameQuestions.h), and hands the picture to the session, which reads it on its worker
// by the same rules as any file and ends the game only once the picture is there.

#include <QByteArray>
#include <QObject>

class QAction;
class QMenu;
class QMimeData;
class QWidget;
class TGameQuestions;
class TOpenDialog;
class TSession;
class TSettings;

// What a clipboard or a drop brings as a picture: a local file's name, or image data.
struct TPictureSource {
    QByteArray LocalPath;
    QByteArray Bytes;
    bool Empty() const { return LocalPath.isEmpty() && Bytes.isEmpty(); }
};
// The first local file the data names, else the bytes of its first image format, else the
// image it holds (made a PNG); nothing when it brings no picture.
TPictureSource PictureSourceOf(const QMimeData* data);

class TPictureCommands : public QObject {
    Q_OBJECT
public:
    // Puts the items into the File menu before `before`; from now on the window takes drops.
    TPictureCommands(QWidget* window, TSession& session, TGameQuestions& questions, TSettings& settings,
                     QMenu* fileMenu, QAction* before);

    // Open: the dialog from its start folder, then the question.
    void Open(TOpenDialog& dialog);
    QString StartFolder() const;
    void OpenRecent(const QByteArray& localPath);
    void UseBuiltinPicture();
    void Paste();
    QMenu* RecentMenu() const { return recent_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillRecentMenu();
    void OpenSource(const TPictureSource& source);

    QWidget* window_;
    TSession& session_;
    TGameQuestions& questions_;
    TSettings& settings_;
    QMenu* recent_;
    QByteArray lastPath_;  // the picture last put into the list
};
