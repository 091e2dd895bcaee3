#include "windows/AwayPause.h"

#include "game/Session.h"
#include "game/Settings.h"
#include "windows/DialogLayout.h"
#include "windows/MainLayout.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QWidget>

TAwayPause::TAwayPause(QWidget* window, QMenu* gameMenu, QAction* after, TSession& session, TSettings& settings)
    : QObject(window), window_(window), session_(session)
{
    switch_ = MakeItem(gameMenu, "PauseWhenAway1", "TAwayPause", QT_TR_NOOP("Pause When &Away"));
    const QList<QAction*> items = gameMenu->actions();
    gameMenu->insertAction(items.value(items.indexOf(after) + 1), switch_);  // among the switches
    switch_->setCheckable(true);
    switch_->setChecked(settings.PauseWhenAway());
    connect(switch_, &QAction::toggled, this, [&settings](bool on) { settings.SetPauseWhenAway(on); });
    window->installEventFilter(this);
    // The window outlives its session as it is taken apart, and still has events then.
    connect(&session, &QObject::destroyed, this, [this] { window_->removeEventFilter(this); });
}

bool TAwayPause::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched != window_ || (type != QEvent::WindowStateChange && type != QEvent::WindowDeactivate) || !switch_->isChecked()
        || !session_.Game().Playing())
        return false;
    const QWidget* modal = QApplication::activeModalWidget();
    const bool minimised = type == QEvent::WindowStateChange && window_->isMinimized();
    const bool leftFor = type == QEvent::WindowDeactivate && !(modal && modal->isVisible());
    if (minimised || leftFor)
        session_.TogglePause();
    return false;
}
