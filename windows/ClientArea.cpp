#include "windows/ClientArea.h"

#include "windows/BoardGeometry.h"
#include "windows/BoardPanel.h"
#include "windows/DialogLayout.h"
#include "windows/PeekPanel.h"
#include "framework/Hints.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <algorithm>

namespace {

// A window the desktop holds at its size: maximised or full screen.
bool Fixed(const QWidget* window)
{
    return window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
}

} // namespace

TClientArea::TClientArea(QWidget* parent, TClock& clock) : QWidget(parent)
{
    setObjectName(QStringLiteral("Client"));
    board_ = Named(new TBoardPanel(this, clock), "Panel1");
    board_->SetBevelOuter(TPanelBevel::bvLowered);
    peek_ = Named(new TPeekPanel(this), "PeekPanel");
    toolBar_ = Named(new TPanel(this), "Panel2");
    status_ = Named(new TPanel(this), "Panel3");
    status_->SetBevelOuter(TPanelBevel::bvLowered);
    status_->hide();
    statusText_ = MakeLabel(status_, "Label2", QRect(4, 1, 0, kStatusLineHeight - 2), QString(),
                            MakeFont(QStringLiteral("MS Sans Serif"), 11, clWindowText),
                            Qt::AlignLeft | Qt::AlignVCenter);
    SetShowHint(statusText_, true);
}

QSize TClientArea::LeastSize() const
{
    return ClientSize(n_) + QSize(0, statusShown_ ? kStatusLineHeight : 0);
}

void TClientArea::ApplyLeastSize()
{
    setMinimumSize(LeastSize());
    if (QLayout* layout = window()->layout()) {
        layout->invalidate();
        layout->activate();  // the window's least size follows at once
    }
}

void TClientArea::FitBoard(int n)
{
    QWidget* window = this->window();
    // The window's size as the layout before had it: taken as that layout's, not the player's.
    const bool atLayout = !window->testAttribute(Qt::WA_Resized) || window->size() == window->sizeHint();
    n_ = n;
    ApplyLeastSize();
    if (atLayout && !Fixed(window))
        ResizeWindow(window->sizeHint(), LeastSize());
    else if (window->size() != window->size().expandedTo(window->minimumSizeHint()))
        ResizeWindow(window->size().expandedTo(window->minimumSizeHint()), size().expandedTo(LeastSize()));
    Arrange();
}

void TClientArea::SetStatusLineShown(bool shown)
{
    if (shown == statusShown_)
        return;
    statusShown_ = shown;
    status_->setVisible(shown);
    const QSize change(0, shown ? kStatusLineHeight : -kStatusLineHeight);
    const QSize windowBefore = window()->size(), before = size();
    ApplyLeastSize();
    if (!Fixed(window()))
        ResizeWindow(windowBefore + change, before + change);
    Arrange();
}

// The window at the size wanted, as far as its screen lets it; the area at once at its share of it
// (the window's layout gives it only once the window is shown), less what the screen took.
void TClientArea::ResizeWindow(QSize wanted, QSize own)
{
    const QSize given = WithinRoom(wanted, RoomOf(window()));
    window()->resize(given);
    resize((own + given - wanted).expandedTo(LeastSize()));
}

void TClientArea::ShowStatus(const QString& text)
{
    statusWhole_ = text;
    statusText_->setAccessibleName(text);  // a reader reads it whole, however it is cut on the screen
    FitStatus();
}

// A line longer than the window is wide ends in "…", and the whole of it is the line's hint.
void TClientArea::FitStatus()
{
    const QString shown = statusText_->fontMetrics().elidedText(statusWhole_, Qt::ElideRight, statusText_->width());
    statusText_->setText(shown);
    SetHint(statusText_, shown == statusWhole_ ? QString() : statusWhole_);
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
    const int status = statusShown_ ? kStatusLineHeight : 0;
    board_->setGeometry(0, kToolBarHeight, width(), height() - kToolBarHeight - status);
    status_->setGeometry(0, height() - status, width(), status);
    statusText_->resize(width() - 8, statusText_->height());
    FitStatus();
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
