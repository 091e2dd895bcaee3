#pragma once
// The questions asked before a command throws the player's work away, in a question box over
// the main window (framework/Dialogs.h). Before a command ends a game the player has made a move
// in (New Game, a board size, Open and every other way to another picture): "Прервать игру?",
// with the game's moves and time, and a "don't ask again" box that a Yes remembers in the
// settings. Before Clear Scores, always, naming how many records it would delete. No changes
// nothing. A game given up to the solver, or not yet begun, is never asked about.

#include <QObject>

class QWidget;
class TSession;
class TSettings;

class TGameQuestions : public QObject {
    Q_OBJECT
public:
    TGameQuestions(QWidget* window, TSession& session, TSettings& settings);

    // Whether a command that ends the game asks first now.
    bool WouldAsk() const;
    // Whether a command may end the game now: nothing is at stake, the player said not to be
    // asked, or the player says Yes.
    bool MayEndGame();
    // Whether Clear Scores may clear the table as the score file holds it now.
    bool MayClearScores();

private:
    QWidget* window_;
    TSession& session_;
    TSettings& settings_;
};
