#pragma once
// The game's sounds in the main window, while the Game menu's "&Sound" is on: a click for each
// slide of the session (one a move, whether the tiles glide or jump at once, and for a take-back
// or a step of a solution's playback) and a chime when a picture is finished. They are played by
// the sound library (sound/SoundLibrary.cpp), loaded once the window is on the screen, and only
// while sound is on; without the library the game is silent.

#include "game/Sounds.h"

#include <QObject>
#include <memory>

class TSession;

class TGameSounds : public QObject {
    Q_OBJECT
public:
    TGameSounds(QObject* owner, TSession& session);
    ~TGameSounds() override;

    bool On() const { return on_; }
    void SetOn(bool on);
    // The window is on the screen: the player may be loaded from now on, and is, while sound is on.
    void AllowLoading();
    // Plays through this player from now on (a test's), instead of loading the library.
    void UsePlayer(std::unique_ptr<TSoundPlayer> player);

    // How far the player is: "off" (not loaded: sound off, or the window not shown yet),
    // "loaded", or "missing" (no library to be had: silent).
    QString PlayerState() const;
    // Sounds asked for since the start, heard or not.
    int Requests() const { return requests_; }

signals:
    // The player was loaded, or found missing.
    void PlayerChanged();

private:
    void Request(TSound sound);
    void Load();

    bool on_ = true;
    bool allowed_ = false;
    bool missing_ = false;
    int requests_ = 0;
    std::unique_ptr<TSoundPlayer> player_;
};
