#include "table/sound.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include "table/wave_file.h"

namespace {

bool is_readable_wave(const QFileInfo &info)
{
    QFile file(info.absoluteFilePath());
    return file.open(QIODevice::ReadOnly) && is_playable_wave(file.readAll());
}

// Longest time a sound may take from start to end before it is dropped
// (every sound of the game is much shorter).
constexpr int kSoundLifetimeMs = 10000;

// Plays each sound on an effect of its own, owned by the application, that
// deletes itself when the sound has ended, failed to load or run too long.
class EffectPlayer : public SoundPlayer
{
public:
    void play(const QString &path) override
    {
        const QFileInfo file(path);
        if (!file.isFile() || file.size() > kMaxSoundFileBytes || !is_readable_wave(file))
            return;
        auto *effect = new QSoundEffect(QCoreApplication::instance());
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
