#include "windows/WindowModes.h"

#include "windows/BoardPanel.h"
#include "windows/DialogLayout.h"
#include "windows/MainLayout.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QWidget>

TWindowModes::TWindowModes(QWidget* window, QMenu* gameMenu, TBoardPanel* board) : QObject(window), window_(window)
{
    Named(gameMenu->addSeparator(), "N2");
    animation_ = MakeItem(gameMenu, "Animation1", QStringLiteral("&Animation"));
    animation_->setCheckable(true);
    animation_->setChecked(board->Animated());
    fullScreen_ = MakeItem(gameMenu, "FullScreen1", QStringLiteral("&Full Screen"), QKeySequence(Qt::Key_F11));
    fullScreen_->setCheckable(true);
    leaveFullScreen_ = Named(new QAction(window), "LeaveFullScreen");
    leaveFullScreen_->setShortcut(QKeySequence(Qt::Key_Escape));
    leaveFullScreen_->setEnabled(false);
    window->addAction(leaveFullScreen_);

    connect(animation_, &QAction::toggled, this, [this, board](bool on) {
        board->SetAnimated(on);
        emit Changed();
    });
    connect(fullScreen_, &QAction::triggered, this, &TWindowModes::SetFullScreen);
    connect(leaveFullScreen_, &QAction::triggered, this, [this] { SetFullScreen(false); });
    window->installEventFilter(this);
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
