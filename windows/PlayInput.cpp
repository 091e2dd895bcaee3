#include "windows/PlayInput.h"

#include "game/Session.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <optional>

namespace {

std::optional<TDirection> ArrowDirection(int key)
{
    switch (key) {
    case Qt::Key_Left: return TDirection::Left;
    case Qt::Key_Right: return TDirection::Right;
    case Qt::Key_Up: return TDirection::Up;
    case Qt::Key_Down: return TDirection::Down;
    default: return std::nullopt;
    }
}

bool IsPress(const QEvent* event)
{
    return event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress
        || event->type() == QEvent::ShortcutOverride;
}

} // namespace

TPlayInput::TPlayInput(QWidget* window, TSession& session) : window_(window), session_(session)
{
    window->installEventFilter(this);
    connect(&session_, &TSession::Changed, this, &TPlayInput::FollowSolving);
}

void TPlayInput::FollowSolving()
{
    if (session_.Solving() == everywhere_)
        return;
    everywhere_ = session_.Solving();
    everywhere_ ? qApp->installEventFilter(this) : qApp->removeEventFilter(this);
}

bool TPlayInput::eventFilter(QObject* watched, QEvent* event)
{
    // Once hurried, a playback that waits for its solution lets the player do anything else.
    if (session_.Solving() && !session_.SolveHurried() && IsPress(event) && !LetThrough(event)) {
        event->accept();  // an accepted override keeps the key from any shortcut
        session_.FinishSolveNow();
        return true;
    }
    if (watched != window_)
        return false;
    if (event->type() == QEvent::WindowDeactivate)
        session_.EndPeek();
    return BoardKey(event);
}

bool TPlayInput::LetThrough(const QEvent* event) const
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const QKeySequence key(static_cast<const QKeyEvent*>(event)->keyCombination());
    return through_.contains(key);
}

bool TPlayInput::BoardKey(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyRelease) {
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat())
            session_.ReleasePeek();  // whatever other key is down by then
        return false;
    }
    const std::optional<TDirection> direction = ArrowDirection(key->key());
    if (key->modifiers() != Qt::NoModifier || (!direction && key->key() != Qt::Key_Space))
        return false;
    if (type == QEvent::ShortcutOverride)
        event->accept();
    else if (direction && type == QEvent::KeyPress)
        session_.MoveToward(*direction);
    else if (!direction && !key->isAutoRepeat())
        session_.HoldPeek();
    return true;
}
