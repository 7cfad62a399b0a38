// A sound player for tests: records every path it is asked to play.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "table/sound.h"

class RecordingSoundPlayer : public SoundPlayer
{
public:
    RecordingSoundPlayer() { set_sound_player(this); }
    ~RecordingSoundPlayer() override { set_sound_player(nullptr); }
    void play(const QString &path) override
    {
        played << path;
        if (on_play)
            on_play(path);
    }

    QStringList played;
    std::function<void(const QString &)> on_play; // runs at the moment a sound starts
};
