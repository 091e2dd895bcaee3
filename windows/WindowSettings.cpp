#include "windows/WindowSettings.h"

#include "framework/Clock.h"
#include "game/Session.h"
#include "windows/DialogLayout.h"
#include "windows/WindowModes.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <utility>

namespace {

constexpr int kSettleMs = 1000;
constexpr int kFrameChecks = 10;  // a second apart after the window first shows

QList<QRect> ScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.prepend(primary->availableGeometry());  // the first, where a lost window comes back
    return areas;
}

bool Normal(const QWidget* window)
{
    return !(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

} // namespace

TWindowSettings::TWindowSettings(QWidget* window, TSession& session, TWindowModes& modes, TClock& clock)
    : QObject(window), window_(window), session_(session), settings_(TSettings::DefaultPath())
{
    settle_ = clock.NewTimer(kSettleMs, false, [this] { Settled(); });
    Apply(modes);
    connect(&session_, &TSession::BoardChanged, this, [this] {
        settings_.SetBoardSize(session_.Game().BoardSize());
        settings_.SetPicture(session_.PicturePath());
    });
    // One that cannot be used is told by the session, and the picture shown is remembered instead.
    connect(&session_, &TSession::PictureRefused, this, [this] { settings_.SetPicture(session_.PicturePath()); });
    connect(modes.Animation(), &QAction::toggled, this, [this](bool on) { settings_.SetAnimation(on); });
    connect(modes.StatusLine(), &QAction::toggled, this, [this](bool on) { settings_.SetStatusLine(on); });
    connect(modes.KeepProportions(), &QAction::toggled, this, [this](bool on) { settings_.SetKeepProportions(on); });
    connect(modes.Numbers(), &QAction::toggled, this, [this](bool on) { settings_.SetNumbers(on); });
    connect(modes.Sound(), &QAction::toggled, this, [this](bool on) { settings_.SetSound(on); });
    connect(&modes, &TWindowModes::LanguageChosen, this, [this](TLanguage language) { settings_.SetLanguage(LanguageKey(language)); });
    window_->installEventFilter(this);
}

TWindowSettings::~TWindowSettings() = default;

// The board first, then what changes the window's least size, then its place and size, and its
// state last, over the place it comes back to.
void TWindowSettings::Apply(TWindowModes& modes)
{
    if (settings_.BoardSize() != session_.Game().BoardSize())
        session_.NewBoard(settings_.BoardSize());
    modes.Animation()->setChecked(settings_.Animation());
    modes.StatusLine()->setChecked(settings_.StatusLine());
    modes.KeepProportions()->setChecked(settings_.KeepProportions());
    modes.Numbers()->setChecked(settings_.Numbers());
    modes.Sound()->setChecked(settings_.Sound());
    modes.SetLanguage(LanguageOfKey(settings_.Language()));
    if (const std::optional<QRect>& geometry = settings_.WindowGeometry()) {
        const TWindowRoom room = RoomOf(window_);
        window_->setGeometry(OntoScreens(*geometry, ScreenAreas(), room.Least, room.Frame));
        placed_ = true;
    }
    Qt::WindowStates state = window_->windowState();
    state.setFlag(Qt::WindowMaximized, settings_.Maximised());
    state.setFlag(Qt::WindowFullScreen, settings_.FullScreen());
    window_->setWindowState(state);
}

void TWindowSettings::OpenRememberedPicture()
{
    if (const QByteArray picture = settings_.Picture(); !picture.isEmpty())
        session_.OpenLocalPicture(picture);
}

void TWindowSettings::PlaceOnFirstShow()
{
    if (!placed_)
        CentreOnScreen(window_);
    slot_.Take(settings_.Path().isEmpty() ? QString() : QFileInfo(settings_.Path()).path());
    if (slot_.Number() > 0 && window_->screen())
        window_->move(OffsetForSlot(window_->frameGeometry(), slot_.Number(), window_->screen()->availableGeometry()));
    frameChecks_ = kFrameChecks;
    settle_->Start();
}

// Once the window has stayed a moment: within its screen, and kept.
void TWindowSettings::Settled()
{
    if (!window_->isVisible() || !Normal(window_))
        return;
    // The frame the desktop puts around the window is known only once it shows, and a size may
    // come from elsewhere: a window that came out larger than its screen is brought within it,
    // asked once for each place and size (a desktop that will not have it is not fought).
    const TWindowRoom room = RoomOf(window_);
    const QRect within = WithinRoom(window_->geometry(), room);
    if (within != window_->geometry() && std::exchange(asked_, within) != within)
        window_->setGeometry(within);
    KeepGeometry();
    // A busy desktop may frame the window a while after it shows, which tells the window nothing
    // (its own place does not change): until a frame is known, it is looked for again a few times.
    if (room.Frame.isNull() && frameChecks_ > 0 && --frameChecks_ > 0)
        settle_->Start();
}

void TWindowSettings::KeepGeometry()
{
    if (window_->isVisible() && Normal(window_) && slot_.Number() == 0)
        settings_.SetWindowGeometry(WithinRoom(window_->geometry(), RoomOf(window_)));
}

bool TWindowSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (window_->isVisible())
            settle_->Start();
        break;
    case QEvent::WindowStateChange:
        if (!(window_->windowState() & Qt::WindowMinimized)) {
            settings_.SetMaximised(window_->isMaximized());
            settings_.SetFullScreen(window_->isFullScreen());
        }
        break;
    case QEvent::Close:
        settle_->Stop();
        KeepGeometry();
        slot_.Release();
        break;
    default:
        break;
    }
    return false;
}
