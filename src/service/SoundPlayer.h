#pragma once

#include <QString>

// Plays a sound file without waiting for it and reports nothing: a machine
// without audio simply stays silent. Tests install a fake.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& path) = 0;
};

// The player in use: the installed one, else one over QSoundEffect.
SoundPlayer& soundPlayer();
// Installs p (not owned); nullptr restores the default.
void setSoundPlayer(SoundPlayer* p);
