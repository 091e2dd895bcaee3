#include "windows/GameQuestions.h"

#include "framework/Dialogs.h"
#include "game/Session.h"
#include "game/Settings.h"

#include <QWidget>

TGameQuestions::TGameQuestions(QWidget* window, TSession& session, TSettings& settings)
    : QObject(window), window_(window), session_(session), settings_(settings)
{
}

bool TGameQuestions::WouldAsk() const
{
    return GameAtStake(session_.Game()) && settings_.AskBeforeAbandoning();
}

bool TGameQuestions::MayEndGame()
{
    if (!WouldAsk())
        return true;
    const TGame& game = session_.Game();
    // The player asked for the command: Enter goes on with it.
    const TAnswer answer = AskQuestion(window_, {tr("Прервать игру?"), tr("Ходов: %1. Время: %2 с.").arg(game.Moves()).arg(game.Seconds()),
                                tr("Больше не спрашивать"), true});
    if (answer.Yes && answer.DontAskAgain)
        settings_.SetAskBeforeAbandoning(false);  // a No never stops the player's commands for good
    return answer.Yes;
}

bool TGameQuestions::MayClearScores()
{
    session_.RereadScores();  // what would go is what the file holds now
    int records = 0;
    for (int size = kFirstScoreSize; size <= kLastScoreSize; ++size)
        for (int place = 1; place <= kScorePlaces; ++place)
            records += session_.Scores().Entry(size, place).Time != 0;
    // What cannot be undone waits for a deliberate Yes.
    return AskQuestion(window_, {tr("Удалить %n записей из таблицы результатов?", nullptr, records),
                tr("Таблицы всех размеров станут пустыми."), {}, false}).Yes;
}
