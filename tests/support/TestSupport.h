#pragma once
// Helpers shared by the test suites of widgets and windows.

#include "framework/Dialogs.h"
#include "framework/HintWindow.h"
#include "tests/support/CoreSupport.h"

#include <QString>
#include <QStringList>
#include <QDialog>
#include <QTimer>
#include <deque>
#include <functional>

// While alive, every open-file dialog "chooses" the queued answers in turn (nullopt: cancel),
// and records the default name it was offered.
class ScopedOpenFile {
public:
    explicit ScopedOpenFile(QStringList answers);
    ~ScopedOpenFile() { SetOpenFileFunction(previous_); }
    QString LastDefaultName() const { return lastDefaultName_; }

private:
    OpenFileFunction previous_;
    QStringList answers_;
    QString lastDefaultName_;
};

// No hint showing or due, a fresh hint window of the given class (none: the desktop's tips), the
// default pause, and the hint clock running or stopped.
void ResetHints(THintWindowClass windowClass, bool clockRunning);

// Types the text into the widget key by key, any script (QTest's own typing takes ASCII only).
void TypeText(QWidget* widget, const QString& text);

// While alive, error boxes are recorded instead of shown.
class ScopedErrorBoxes {
public:
    ScopedErrorBoxes();
    ~ScopedErrorBoxes() { SetErrorBoxFunction(previous_); }
    const QStringList& Messages() const { return messages_; }
    // The window each box was shown over.
    const QList<QWidget*>& Owners() const { return owners_; }

private:
    ErrorBoxFunction previous_;
    QStringList messages_;
    QList<QWidget*> owners_;
};

// While alive, questions are recorded instead of shown, and answered in turn from the queue;
// with the queue empty, No.
class ScopedQuestions {
public:
    explicit ScopedQuestions(QList<TAnswer> answers = {});
    ~ScopedQuestions() { SetQuestionBoxFunction(previous_); }
    void Answer(TAnswer answer) { answers_ << answer; }
    const QList<TQuestion>& Asked() const { return asked_; }

private:
    QuestionBoxFunction previous_;
    QList<TAnswer> answers_;
    QList<TQuestion> asked_;
};

// Answers modal windows as they open, without waiting on the clock: each expected handler runs
// once, in order, on the modal window then active, and must close it. A modal window that opens
// when no handler is left is rejected; at the driver's end every handler must have run and no
// such window have opened.
class ModalDriver {
public:
    ModalDriver();
    ~ModalDriver();
    void Expect(std::function<void(QWidget* modal)> handler) { handlers_.push_back(std::move(handler)); }

private:
    void Poll();
    QTimer timer_;
    std::deque<std::function<void(QWidget*)>> handlers_;
    int unexpected_ = 0;
};

// Hands every event of the objects it filters to a function, and lets it through.
class TEventCounter : public QObject {
public:
    explicit TEventCounter(std::function<void(QObject*, QEvent*)> seen) : seen_(std::move(seen)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        seen_(watched, event);
        return false;
    }

private:
    std::function<void(QObject*, QEvent*)> seen_;
};

// Runs the dialog modally; `answer` runs once while it is open, and must close it.
void ExecAnswered(QDialog& dialog, const std::function<void()>& answer);
