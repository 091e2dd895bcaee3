#pragma once
// The game's sounds, as the game asks for them: a soft click for each slide and a chime when a
// picture is finished. Whatever plays them (the sound library, a test's stand-in) answers at once
// and never fails where the player can see it: without a sound device it stays silent.

enum class TSound { snClick, snChime };

class TSoundPlayer {
public:
    virtual ~TSoundPlayer() = default;
    // Starts the sound; one still playing starts over.
    virtual void Play(TSound sound) = 0;
    // Both sounds are read and ready to play.
    virtual bool Loaded() const = 0;
};

// The sound library's one entry: `extern "C" TSoundPlayer* MozikMakeSoundPlayer()`, a new player
// for the caller to delete.
using TMakeSoundPlayer = TSoundPlayer* (*)();
inline constexpr const char* kMakeSoundPlayer = "MozikMakeSoundPlayer";
