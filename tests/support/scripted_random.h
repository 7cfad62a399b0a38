// A random source for the shuffle that hands out chosen draws.
#pragma once

#include <QList>

#include "cards/shuffle.h"

class ScriptedRandom : public ShuffleRandom
{
public:
    explicit ScriptedRandom(QList<int> draws = {}) : draws(std::move(draws))
    {
        set_shuffle_random(this);
    }
    ~ScriptedRandom() override { set_shuffle_random(nullptr); }
    void reseed() override { ++reseeds; }
    // Hands out the draws in order; past the end, the last one again (0 if none).
    int draw() override
    {
        if (next < draws.size())
            return draws.at(next++);
        return draws.isEmpty() ? 0 : draws.last();
    }

    QList<int> draws;
    int next = 0;
    int reseeds = 0;
};
