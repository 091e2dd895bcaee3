// The sound library: plays the game's sounds through Qt Multimedia's sound effects. The game
// loads it once its window is on the screen, so that starting never waits for Qt Multimedia and
// the sound system; without it, or without a sound device, the game is silent. The sounds come
// with the library, made at build time (sound/Synthesis.h).

#include "game/Sounds.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <array>
#include <memory>

namespace {

class TEffectPlayer final : public TSoundPlayer {
public:
    TEffectPlayer()
    {
        const char* const sources[] = {"qrc:/mozik/sounds/click.wav", "qrc:/mozik/sounds/chime.wav"};
        for (size_t i = 0; i < effects_.size(); ++i) {
            effects_[i] = std::make_unique<QSoundEffect>();
            effects_[i]->setSource(QUrl(QLatin1String(sources[i])));
            effects_[i]->setVolume(0.8f);
        }
    }

    void Play(TSound sound) override
    {
        // A sound not read yet, or that cannot be, is left out, and so is every sound while there
        // is no device to play it on (Qt would say so at each one).
        QSoundEffect& effect = *effects_[sound == TSound::snClick ? 0 : 1];
        if (effect.status() == QSoundEffect::Ready && !QMediaDevices::audioOutputs().isEmpty())
            effect.play();
    }

    bool Loaded() const override
    {
        for (const auto& effect : effects_)
            if (effect->status() != QSoundEffect::Ready)
                return false;
        return true;
    }

private:
    std::array<std::unique_ptr<QSoundEffect>, 2> effects_;
};

} // namespace

extern "C" Q_DECL_EXPORT TSoundPlayer* MozikMakeSoundPlayer()
{
    return new TEffectPlayer;
}
