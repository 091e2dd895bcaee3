#pragma once
// The open-file and save-file dialogs, the error box and the question box go through replaceable
// functions, so that a test can choose a file, read a message or answer a question instead of
// blocking on a modal window. Message boxes open centred on the window they belong to.

#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

class QObject;
class QWidget;

class TOpenDialog {
public:
    QString FileName;    // the default name offered, and the chosen path after Execute
    QString Filter;      // "Description|pattern" pairs separated by '|'
    QString Title;
    QString InitialDir;  // the folder it shows first (empty: the dialog's own choice)

    // Shows the dialog; true when the user chose a file (FileName then holds its path).
    bool Execute(QWidget* parent);
    // The filter as the desktop's dialog takes it: "Description (pattern)" lines.
    QString NameFilters() const;
};

// The save-file dialog: the same for a file to write (the desktop's dialog asks before it lets an
// existing file be chosen).
class TSaveDialog {
public:
    QString FileName;  // the name offered, and the chosen path after Execute
    QString Filter;    // as TOpenDialog's
    QString Title;

    bool Execute(QWidget* parent);
};

using OpenFileFunction = std::function<std::optional<QString>(QWidget* parent, const TOpenDialog& dialog)>;
// Replaces the function behind every TOpenDialog; returns the previous one.
OpenFileFunction SetOpenFileFunction(OpenFileFunction function);

using SaveFileFunction = std::function<std::optional<QString>(QWidget* parent, const TSaveDialog& dialog)>;
SaveFileFunction SetSaveFileFunction(SaveFileFunction function);

using ErrorBoxFunction = std::function<void(QWidget* parent, const QString& message)>;
// Shows an error box with the message (modal, one OK button), over the dialog that is open if
// one is, else over the parent.
void ShowErrorBox(QWidget* parent, const QString& message);
ErrorBoxFunction SetErrorBoxFunction(ErrorBoxFunction function);

// A question answered Yes or No, with a line of what it is about under it and, where
// `DontAskAgain` is not empty, a check box of that text.
struct TQuestion {
    QString Text;
    QString Details;
    QString DontAskAgain;
    bool YesByDefault = false;  // the button Enter presses; No otherwise (Escape always says No)
};

struct TAnswer {
    bool Yes = false;
    bool DontAskAgain = false;  // the check box was ticked
};

using QuestionBoxFunction = std::function<TAnswer(QWidget* parent, const TQuestion& question)>;
// Asks in a modal question box over the parent.
TAnswer AskQuestion(QWidget* parent, const TQuestion& question);
QuestionBoxFunction SetQuestionBoxFunction(QuestionBoxFunction function);

// Where a window whose frame has the size `frame` goes to be centred on the window `over` (its
// frame), moved no further than it must to lie within `area` (the screen's available area)
// where it fits. Its middle goes to over's left + width / 2 (and top + height / 2): a window
// centred on the screen has its middle at the screen's, so a dialog centred on it lands exactly
// where centring it on the screen puts it.
QPoint CentredOver(const QRect& over, const QSize& frame, const QRect& area);
// Moves the window there over the other (a window that has no frame yet counts that of `over`);
// without `over`, to the middle of its screen.
void CentreOver(QWidget* window, const QWidget* over);

// Runs `show` (which opens a modal window) once no modal window is open: at once when none is,
// otherwise after the one open has closed. A window that pops up by itself while the player
// works in a dialog would open over it and take its input away, and behind another window it
// would leave that dialog looking stuck.
void WhenNoDialogIsOpen(QObject* context, std::function<void()> show);
