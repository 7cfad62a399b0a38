// Sound effects.  A sound is started and forgotten: the player keeps it alive
// until it has finished, never blocks and never reports a missing file or a
// missing audio device.
#pragma once

class QString;

class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // `path` is used exactly as given, relative to the working directory.
    virtual void play(const QString &path) = 0;
};

// Starts the sound at `path` on the player in use.
void play_sound(const QString &path);

// Tests put in their own player; nullptr restores the real one.
void set_sound_player(SoundPlayer *player);
