#include "windows/WindowModes.h"

#include "windows/BoardPanel.h"
#include "windows/ClientArea.h"
#include "windows/DialogLayout.h"
#include "windows/GameSounds.h"
#include "windows/MainLayout.h"
#include "windows/PeekPanel.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QWidget>

TWindowModes::TWindowModes(QWidget* window, QMenu* gameMenu, TClientArea* client, TGameSounds* sounds)
    : QObject(window), window_(window)
{
    Named(gameMenu->addSeparator(), "N2");
    TBoardPanel* board = client->Board();
    animation_ = AddSwitch(gameMenu, "Animation1", QStringLiteral("&Animation"), board->Animated(),
                           [board](bool on) { board->SetAnimated(on); });
    fullScreen_ = MakeItem(gameMenu, "FullScreen1", QStringLiteral("&Full Screen"), QKeySequence(Qt::Key_F11));
    fullScreen_->setCheckable(true);
    statusLine_ = AddSwitch(gameMenu, "StatusLine1", QStringLiteral("&Status Line"), client->StatusLineShown(),
                            [client](bool on) { client->SetStatusLineShown(on); });
    keepProportions_ = AddSwitch(gameMenu, "KeepProportions1", QStringLiteral("&Keep Proportions"), board->KeepProportions(),
                                 [board, peek = client->Peek()](bool on) {
                                     board->SetKeepProportions(on);
                                     peek->SetKeepProportions(on);
                                 });
    numbers_ = AddSwitch(gameMenu, "Numbers1", QStringLiteral("&Numbers"), board->Numbers(),
                         [board](bool on) { board->SetNumbers(on); });
    sound_ = AddSwitch(gameMenu, "Sound1", QStringLiteral("&Sound"), sounds->On(), [sounds](bool on) { sounds->SetOn(on); });
    leaveFullScreen_ = Named(new QAction(window), "LeaveFullScreen");
    leaveFullScreen_->setShortcut(QKeySequence(Qt::Key_Escape));
    leaveFullScreen_->setEnabled(false);
    window->addAction(leaveFullScreen_);

    connect(fullScreen_, &QAction::triggered, this, &TWindowModes::SetFullScreen);
    connect(leaveFullScreen_, &QAction::triggered, this, [this] { SetFullScreen(false); });
    window->installEventFilter(this);
}

QAction* TWindowModes::AddSwitch(QMenu* menu, const char* name, const QString& caption, bool on,
                                 const std::function<void(bool)>& apply)
{
    QAction* item = MakeItem(menu, name, caption);
    item->setCheckable(true);
    item->setChecked(on);
    connect(item, &QAction::toggled, this, [this, apply](bool checked) {
        apply(checked);
        emit Changed();
    });
    return item;
}

void TWindowModes::SetFullScreen(bool on)
{
    // Maximised stays in the state beneath, to come back to.
    window_->setWindowState(on ? window_->windowState() | Qt::WindowFullScreen
                               : window_->windowState() & ~Qt::WindowFullScreen);
}

bool TWindowModes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
        const bool full = window_->isFullScreen();
        fullScreen_->setChecked(full);
        leaveFullScreen_->setEnabled(full);
        emit Changed();
    }
    return false;
}
