#include "windows/GameKeeping.h"

#include "windows/WindowModes.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

TGameKeeping::TGameKeeping(QWidget* window, TSession& session, TWindowModes& modes, const QString& path)
    : QObject(window), window_(window), modes_(modes), keeper_(session, path)
{
    connect(&keeper_, &TGameKeeper::Problem, this, &TGameKeeping::Problem);
    // Keeping twice writes once: the same game is not written again.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TGameKeeping::Keep);
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TGameKeeping::Keep);
#endif
    window_->installEventFilter(this);
}

bool TGameKeeping::Resume()
{
    const std::optional<bool> keepProportions = keeper_.Resume();
    if (keepProportions)
        modes_.KeepProportions()->setChecked(*keepProportions);
    return keepProportions.has_value();
}

void TGameKeeping::Keep()
{
    keeper_.Keep(modes_.KeepProportions()->isChecked());
}

bool TGameKeeping::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Close)
        Keep();
    return false;
}
