#include "table/sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include "files/data_file.h"
#include "files/wave_file.h"

namespace {

// Longest time a sound may take from start to end before it is dropped
// (every sound of the game is much shorter).
constexpr int kSoundLifetimeMs = 10000;
// Sounds alive at once.  Qt 6.4's PulseAudio backend crashes with about 40;
// the game never has more than two or three, so a play beyond this is one
// of a storm of presses and is dropped.
constexpr int kMaxSoundsAlive = 8;

// Plays each sound on an effect of its own, owned by the application, that
// deletes itself when the sound has ended, failed to load or run too long.
class EffectPlayer : public SoundPlayer
{
public:
    void play(const QString &path) override
    {
        if (alive >= kMaxSoundsAlive || !is_playable_wave(read_data_file(path, kMaxSoundFileBytes)))
            return;
        const QFileInfo file(path);
        auto *effect = new QSoundEffect(QCoreApplication::instance());
        ++alive;
        QObject::connect(effect, &QObject::destroyed, [this] { --alive; });
        QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
            if (!effect->isPlaying())
                effect->deleteLater();
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
            if (effect->status() == QSoundEffect::Error)
                effect->deleteLater();
        });
        QTimer::singleShot(kSoundLifetimeMs, effect, &QObject::deleteLater);
        effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
        effect->play();
    }

private:
    int alive = 0;
};

EffectPlayer effect_player;
SoundPlayer *current_player = &effect_player;

} // namespace

void play_sound(const QString &path)
{
    current_player->play(path);
}

void set_sound_player(SoundPlayer *player)
{
    current_player = player ? player : &effect_player;
}
