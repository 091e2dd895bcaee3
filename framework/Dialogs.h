#pragma once
// The open-file and save-file dialogs and the error box go through replaceable functions, so that a test can
// choose a file or read a message instead of blocking on a modal window.

#include <QString>
#include <functional>
#include <optional>

class QObject;
class QWidget;

class TOpenDialog {
public:
    QString FileName;  // the default name offered, and the chosen path after Execute
    QString Filter;    // "Description|pattern" pairs separated by '|'
    QString Title;

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

// Runs `show` (which opens a modal window) once no modal window is open: at once when none is,
// otherwise after the one open has closed. A window that pops up by itself while the player
// works in a dialog would open over it and take its input away, and behind another window it
// would leave that dialog looking stuck.
void WhenNoDialogIsOpen(QObject* context, std::function<void()> show);
