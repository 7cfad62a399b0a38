// Reaches the window's private state and steps from tests; widgets are found
// by their object names instead, as a player or a screen reader knows them.
#pragma once

#include <QString>

#include "table/kestrano.h"

struct KestranoProbe
{
    explicit KestranoProbe(Kestrano &window) : w(window) {}

    int &buf_deal(int position) { return w.*Kestrano::kUserHand[position - 1]; }
    int &buf_cpu_deal(int position) { return w.*Kestrano::kCpuHand[position - 1]; }
    int n(int i) const { return w.*Kestrano::kRowPositions[i - 1]; }
    int nn(int i) const { return w.*Kestrano::kTablePositions[i - 1]; }

    void card_shuffle() { w.card_shuffle(); }
    void match_result() { w.match_result(); }
    QString score_text() const { return w.score_text; }

    Kestrano &w;
};
