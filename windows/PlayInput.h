#pragma once
// The player's input on the main window that is no menu command, handed to the play session:
// the arrow keys and Space on the board (kept from every shortcut; Space is told apart when
// pressed, held and let go), the window losing the keyboard (which ends a peek), and, while a
// given-up game plays itself home, any key or click anywhere in the program, which only ends the
// playback (or, while its solution is still sought, has it end as soon as it is there); only the
// keys let through act as they always do (New Game's, which cuts the playback short).

#include <QKeySequence>
#include <QList>
#include <QObject>

class QWidget;
class TSession;

class TPlayInput : public QObject {
    Q_OBJECT
public:
    // Watches the window from now on.
    TPlayInput(QWidget* window, TSession& session);
    // The key acts as a shortcut during a playback too.
    void LetThrough(const QKeySequence& key) { through_ << key; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BoardKey(QEvent* event);
    bool LetThrough(const QEvent* event) const;
    void FollowSolving();

    QWidget* window_;
    TSession& session_;
    QList<QKeySequence> through_;
    bool everywhere_ = false;  // watching the whole program during a solve's playback
};
