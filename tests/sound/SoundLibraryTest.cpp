// The sound library as the game loads it, playing where there is no sound device.

#include "game/Sounds.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLibrary>
#include <gtest/gtest.h>
#include <memory>

TEST(SoundLibrary, ItsPlayerReadsBothSoundsAndPlaysThemWithOrWithoutADevice)
{
    QLibrary library(QStringLiteral(MOZIK_SOUND_LIBRARY));
    const auto make = reinterpret_cast<TMakeSoundPlayer>(library.resolve(kMakeSoundPlayer));
    ASSERT_TRUE(make) << library.errorString().toStdString();
    std::unique_ptr<TSoundPlayer> player(make());
    const QDeadlineTimer deadline(10000);
    while (!player->Loaded() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(player->Loaded()) << "the sounds were not read within ten seconds";
    for (TSound sound : {TSound::snClick, TSound::snChime, TSound::snClick})
        player->Play(sound);
    QCoreApplication::processEvents();
}
