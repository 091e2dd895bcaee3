#include "windows/GameSounds.h"

#include "game/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

// Beside the program in the build tree, or where it is installed.
QString SoundLibraryPath()
{
    const QDir programs(QCoreApplication::applicationDirPath());
    for (const QString& path : {programs.filePath(QStringLiteral("libmozik-sound.so")),
                                programs.filePath(QStringLiteral(MOZIK_SOUND_FROM_BIN "/libmozik-sound.so"))})
        if (QFileInfo(path).isFile())
            return path;
    return {};
}

} // namespace

TGameSounds::TGameSounds(QObject* owner, TSession& session) : QObject(owner)
{
    connect(&session, &TSession::Slid, this, [this] { Request(TSound::snClick); });
    connect(&session, &TSession::Finished, this, [this] { Request(TSound::snChime); });
}

TGameSounds::~TGameSounds() = default;  // the library stays loaded: its code may run at exit

void TGameSounds::SetOn(bool on)
{
    on_ = on;
    Load();
}

void TGameSounds::AllowLoading()
{
    allowed_ = true;
    Load();
}

void TGameSounds::UsePlayer(std::unique_ptr<TSoundPlayer> player)
{
    player_ = std::move(player);
    missing_ = false;
    emit PlayerChanged();
}

QString TGameSounds::PlayerState() const
{
    return player_ ? QStringLiteral("loaded") : missing_ ? QStringLiteral("missing") : QStringLiteral("off");
}

void TGameSounds::Request(TSound sound)
{
    if (!on_)
        return;
    ++requests_;
    if (player_)
        player_->Play(sound);
}

void TGameSounds::Load()
{
    if (!on_ || !allowed_ || player_ || missing_)
        return;
    QLibrary library(SoundLibraryPath());
    const auto make = reinterpret_cast<TMakeSoundPlayer>(library.resolve(kMakeSoundPlayer));
    if (make)
        player_.reset(make());
    missing_ = !player_;
    emit PlayerChanged();
}
