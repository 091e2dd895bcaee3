#include "framework/HintWindow.h"

#include "framework/Hints.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {

// The hint's suggested place is below the mouse pointer, clear of its arrow.
constexpr int kPointerHeight = 20;

class THintMachinery : public QObject {
public:
    THintMachinery()
    {
        showTimer_.setSingleShot(true);
        hideTimer_.setSingleShot(true);
        connect(&showTimer_, &QTimer::timeout, this, [this] { ShowDue(); });
        connect(&hideTimer_, &QTimer::timeout, this, [this] { HideDue(); });
        qApp->installEventFilter(this);
    }

    ~THintMachinery() override { delete window_; }

    THintWindowClass windowClass = nullptr;
    int pause = kDefaultHintPause;
    TColor color = clInfoBk;

    bool ShowHints() const { return showHints_; }
    void SetShowHints(bool on)
    {
        if (on == showHints_)
            return;
        showHints_ = on;
        CancelHint();
        if (on) {
            if (windowClass) {
                window_ = windowClass();
                window_->SetColor(color);  // after construction, which may change the colour
            }
        } else {
            delete window_;
            window_ = nullptr;
        }
    }

    THintWindow* Window() const { return window_; }
    QWidget* Control() const { return control_; }
    int DuePause() const { return duePause_; }

    void SetClockRunning(bool running)
    {
        clockRunning_ = running;
        if (!running) {
            showTimer_.stop();
            hideTimer_.stop();
        }
    }

    bool ShowDue()
    {
        if (duePause_ < 0)
            return false;
        duePause_ = -1;
        showTimer_.stop();
        return ShowHintNow();
    }

    bool HideDue()
    {
        if (!window_ || !window_->isVisible())
            return false;
        HideHint();
        return true;
    }

    void CancelHint()
    {
        HideHint();
        control_ = nullptr;
        recentlyShown_ = false;
        lastPosition_ = QPoint(-1, -1);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ToolTip:
            // The desktop's tool tip shows only while no hint window class is installed.
            return windowClass != nullptr || !showHints_;
        case QEvent::MouseMove:
            if (watched->isWidgetType())
                MouseMoved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            break;
        case QEvent::Leave:
            if (watched == control_) {
                // Moving straight on to another control shows its hint after the short pause.
                const bool showing = window_ && window_->isVisible();
                CancelHint();
                recentlyShown_ = showing;
            }
            break;
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::WindowDeactivate:
        case QEvent::ApplicationDeactivate:
            CancelHint();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The nearest control at the point, or an ancestor in its window, that has a hint to show.
    static QWidget* HintControlAt(const QPoint& globalPos)
    {
        QWidget* control = QApplication::widgetAt(globalPos);  // disabled controls included
        while (control && ActiveHint(control).isEmpty() && !control->isWindow())
            control = control->parentWidget();
        if (!control || ActiveHint(control).isEmpty() || !control->window()->isActiveWindow())
            return nullptr;
        return control;
    }

    void MouseMoved(const QPoint& globalPos)
    {
        // A move reaches the filter once for the control under the mouse and again for each
        // parent it passes on to; the control at the point is looked up once.
        if (!windowClass || globalPos == lastPosition_)
            return;
        lastPosition_ = globalPos;
        QWidget* control = HintControlAt(globalPos);
        if (control == control_) {
            if (!control)
                recentlyShown_ = false;
            return;
        }
        const bool wasShowing = (window_ && window_->isVisible()) || recentlyShown_;
        recentlyShown_ = false;
        HideHint();
        control_ = control;
        if (control) {
            duePause_ = wasShowing ? kHintShortPause : pause;
            if (clockRunning_)
                showTimer_.start(duePause_);
        }
    }

    bool ShowHintNow()
    {
        const QString text = control_ ? ActiveHint(control_) : QString();
        if (!window_ || !showHints_ || text.isEmpty() || !control_->isVisible())
            return false;
        return ShowText(QCursor::pos(), text);
    }

public:
    bool ShowTextAt(const QPoint& at, const QString& text)
    {
        CancelHint();
        if (!window_ || !showHints_ || text.isEmpty())
            return false;
        return ShowText(at, text);
    }

private:
    bool ShowText(const QPoint& mouse, const QString& text)
    {
        const QScreen* screen = QGuiApplication::screenAt(mouse);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        TRect measured = Rect(0, 0, screen ? screen->geometry().width() : 0, 0);
        window_->Canvas().DrawText(text, measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        window_->SetPointer(mouse);
        window_->ActivateHint(Bounds(mouse.x(), mouse.y() + kPointerHeight, measured.Width() + 6, measured.Height() + 2),
                              text);
        if (clockRunning_)
            hideTimer_.start(kHintHidePause);
        return true;
    }

    void HideHint()
    {
        duePause_ = -1;
        showTimer_.stop();
        hideTimer_.stop();
        if (window_)
            window_->hide();
    }

    bool showHints_ = true;
    bool clockRunning_ = true;
    bool recentlyShown_ = false;  // a hint was showing when the mouse left its control
    QPoint lastPosition_{-1, -1};
    int duePause_ = -1;  // the pause of the due hint, -1 while none is due
    THintWindow* window_ = nullptr;
    QPointer<QWidget> control_;
    QTimer showTimer_;
    QTimer hideTimer_;
};

THintMachinery*& MachineryPointer()
{
    static THintMachinery* machinery = nullptr;
    return machinery;
}

// Lives from first use until the application object goes, taking the hint window with it
// while the widgets can still be destroyed.
THintMachinery& Machinery()
{
    THintMachinery*& machinery = MachineryPointer();
    if (!machinery) {
        machinery = new THintMachinery;
        qAddPostRoutine([] {
            delete MachineryPointer();
            MachineryPointer() = nullptr;
        });
    }
    return *machinery;
}

} // namespace

THintWindow::THintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    canvas_.Font.Color = clInfoText;
}

QPoint THintWindow::Pointer() const
{
    return pointer_ ? *pointer_ : QCursor::pos();
}

void THintWindow::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    update();
}

void THintWindow::ActivateHint(const TRect& rect, const QString& text)
{
    setWindowTitle(text);
    setGeometry(rect.ToQRect());
    show();
    update();
}

void THintWindow::paintEvent(QPaintEvent*)
{
    QImage picture(size(), QImage::Format_RGB32);
    TCanvas canvas(&picture);
    canvas.Brush.Color = color_;
    canvas.Pen.Color = clBlack;
    canvas.Rectangle(Rect(0, 0, width(), height()));
    canvas.Font = canvas_.Font;
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect textRect = Rect(3, 1, width() - 1, height() - 1);
    canvas.DrawText(Caption(), textRect, DT_WORDBREAK | DT_NOPREFIX);
    QPainter(this).drawImage(0, 0, picture);
}

void SetHintWindowClass(THintWindowClass windowClass)
{
    Machinery().windowClass = windowClass;
}

THintWindowClass HintWindowClass()
{
    return Machinery().windowClass;
}

void SetShowHints(bool on)
{
    Machinery().SetShowHints(on);
}

bool ShowHints()
{
    return Machinery().ShowHints();
}

void SetHintPause(int milliseconds)
{
    Machinery().pause = milliseconds;
}

int HintPause()
{
    return Machinery().pause;
}

void SetHintColor(TColor color)
{
    Machinery().color = color;
}

TColor HintColor()
{
    return Machinery().color;
}

THintWindow* HintWindow()
{
    return Machinery().Window();
}

QWidget* HintControl()
{
    return Machinery().Control();
}

int DueHintPause()
{
    return Machinery().DuePause();
}

bool ShowDueHint()
{
    return Machinery().ShowDue();
}

bool HideDueHint()
{
    return Machinery().HideDue();
}

void CancelHint()
{
    Machinery().CancelHint();
}

bool ShowHintAt(const QPoint& globalPos, const QString& text)
{
    return Machinery().ShowTextAt(globalPos, text);
}

void SetHintClockRunning(bool running)
{
    Machinery().SetClockRunning(running);
}
