#include "balloon/Zelhint.h"

#include "framework/Application.h"
#include "framework/Setter.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>

namespace {

// Where no program may read the screen (Wayland, and X11 programs running on a Wayland desktop,
// whose screen copies come back black), the balloon floats in a translucent window.
TBalloonBackdrop& Backdrop()
{
    static TBalloonBackdrop backdrop = QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
            || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
            || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
        ? TBalloonBackdrop::bbTranslucent
        : TBalloonBackdrop::bbScreenCopy;
    return backdrop;
}

// The first manager among the main window's own components.
TZelHint* FindManager()
{
    QWidget* form = MainForm();
    return form ? form->findChild<TZelHint*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

THintLook TZelHint::DefaultLook()
{
    TFont font = MakeFont(QStringLiteral("MS Sans Serif"), 0, clBlue, true, true);
    font.SetSize(12);
    return {clYellow, clPurple, font};
}

TZelHint::TZelHint(QObject* owner) : QObject(owner)
{
    const THintLook look = DefaultLook();
    hintColor_ = look.Color;
    hintShadowColor_ = look.ShadowColor;
    hintFont_ = look.Font;
    SetHintPause(hintPauseTime_);
    SetHintWindowClass(NewHintWindow<TNewHint>);
    RecreateHintWindow();
    ApplyHintFont();
    connect(qApp, &QGuiApplication::fontDatabaseChanged, this, &TZelHint::FontChanged);
}

void TZelHint::SetHintDirection(THintDirection direction)
{
    hintDirection_ = direction;
}

void TZelHint::SetHintColor(TColor color)
{
    hintColor_ = color;
}

void TZelHint::SetHintShadowColor(TColor color)
{
    hintShadowColor_ = color;
}

void TZelHint::SetHintFont(const TFont& font)
{
    hintFont_ = font;
    RecreateHintWindow();
    ApplyHintFont();
}

void TZelHint::SetHintPauseTime(int milliseconds)
{
    if (Assign(hintPauseTime_, milliseconds))
        SetHintPause(milliseconds);
}

void TZelHint::SetOnSelectHintDirection(TOnSelectHintDirection handler)
{
    onSelectHintDirection_ = std::move(handler);
}

void TZelHint::Loaded()
{
    SetHintWindowClass(NewHintWindow<TNewHint>);
    RecreateHintWindow();
    ApplyHintFont();
}

void TZelHint::FontChanged()
{
    RecreateHintWindow();
    ApplyHintFont();
}

void TZelHint::RecreateHintWindow()
{
    SetShowHints(!ShowHints());
    SetShowHints(!ShowHints());
}

void TZelHint::ApplyHintFont()
{
    if (auto* window = qobject_cast<TNewHint*>(HintWindow()))
        window->Canvas().Font = hintFont_;
}

TBalloonBackdrop BalloonBackdrop()
{
    return Backdrop();
}

void SetBalloonBackdrop(TBalloonBackdrop backdrop)
{
    Backdrop() = backdrop;
}

TNewHint::TNewHint()
{
    // The application gives each new hint window this colour: the desktop's, shown where the
    // screen cannot be copied.
    SetHintColor(clBackground);
    if (Backdrop() == TBalloonBackdrop::bbTranslucent)
        setAttribute(Qt::WA_TranslucentBackground);
}

void TNewHint::ActivateHint(const TRect& rect, const QString& text)
{
    setWindowTitle(text);
    manager_ = FindManager();

    const QPoint mouse = Pointer();
    QScreen* screen = QGuiApplication::screenAt(mouse);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect();

    THintDirection direction = THintDirection::hdUpRight;
    if (manager_) {
        direction = manager_->HintDirection();  // the event changes a copy: this hint only
        if (manager_->OnSelectHintDirection()) {
            // The handler may replace the hint window (a new font does): then this one is gone.
            const QPointer<TNewHint> self(this);
            manager_->OnSelectHintDirection()(QApplication::widgetAt(mouse), direction);
            if (!self)
                return;
        }
    }
    const THintPlacement placement = PlaceHint(mouse - screenRect.topLeft(), QSize(rect.Width(), rect.Height()),
                                               screenRect.size(), direction);
    shownDirection_ = placement.Direction;
    const QRect bounds(placement.TopLeft + screenRect.topLeft(), placement.Size);
    setGeometry(bounds);

    hintPicture_ = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    if (testAttribute(Qt::WA_TranslucentBackground)) {
        hintPicture_.fill(Qt::transparent);
    } else {
        hintPicture_.fill(ToQColor(Color()));
        if (screen) {
            const QPoint onScreen = placement.TopLeft;
            const QPixmap beneath = screen->grabWindow(0, onScreen.x(), onScreen.y(), bounds.width(), bounds.height());
            QPainter(&hintPicture_).drawPixmap(0, 0, beneath);
        }
    }
    show();
    update();
}

THintLook TNewHint::Look() const
{
    if (!manager_)
        return TZelHint::DefaultLook();
    return {manager_->HintColor(), manager_->HintShadowColor(), manager_->HintFont()};
}

void TNewHint::paintEvent(QPaintEvent*)
{
    if (hintPicture_.isNull())
        return;
    PaintBalloon(hintPicture_, shownDirection_, Caption(), Look());
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, hintPicture_);
}
