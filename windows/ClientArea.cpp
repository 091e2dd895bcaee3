#include "windows/ClientArea.h"

#include "windows/BoardGeometry.h"
#include "windows/BoardPanel.h"
#include "windows/DialogLayout.h"
#include "windows/PeekPanel.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <algorithm>

TClientArea::TClientArea(QWidget* parent, TClock& clock) : QWidget(parent)
{
    setObjectName(QStringLiteral("Client"));
    board_ = Named(new TBoardPanel(this, clock), "Panel1");
    board_->SetBevelOuter(TPanelBevel::bvLowered);
    peek_ = Named(new TPeekPanel(this), "PeekPanel");
    toolBar_ = Named(new TPanel(this), "Panel2");
}

void TClientArea::FitBoard(int n)
{
    QWidget* window = this->window();
    // The window's size as the layout before had it: taken as that layout's, not the player's.
    const bool atLayout = !window->testAttribute(Qt::WA_Resized) || window->size() == window->sizeHint();
    setMinimumSize(ClientSize(n));
    if (QLayout* layout = window->layout()) {
        layout->invalidate();
        layout->activate();  // the window's least size follows at once
    }
    if (atLayout && !(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        window->resize(window->sizeHint());
        resize(ClientSize(n));
    } else if (window->size() != window->size().expandedTo(window->minimumSizeHint())) {
        window->resize(window->size().expandedTo(window->minimumSizeHint()));
        resize(size().expandedTo(ClientSize(n)));
    }
    Arrange();
}

void TClientArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void TClientArea::Arrange()
{
    toolBar_->setGeometry(0, 0, width(), kToolBarHeight);
    if (clock_)
        clock_->move(width() - 1 - clock_->width(), 1);
    board_->setGeometry(0, kToolBarHeight, width(), height() - kToolBarHeight);
    board_->Arrange();
    peek_->setGeometry(board_->geometry());
    peek_->Follow(board_->Geometry());
    emit Arranged();
}

int LargestBoardSide()
{
    int side = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QSize size = screen->geometry().size() * screen->devicePixelRatio();
        side = std::max(side, std::min(size.width(), size.height()));
    }
    return side;
}
