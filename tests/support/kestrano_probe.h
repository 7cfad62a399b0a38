// Reaches the window's private members and steps from tests.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

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

    QPushButton *card_button(int position) const { return w.card_button(position); }
    QLabel *user_card_label(int position) const { return w.user_card_label(position); }
    QLabel *cpu_card_label(int position) const { return w.cpu_card_label(position); }

    QAction *start_action() const { return w.start_action; }
    QAction *close_action() const { return w.close_action; }
    QAction *version_action() const { return w.version_action; }
    QAction *explain_action() const { return w.explain_action; }
    QMenu *game_menu() const { return w.game_menu; }
    QMenu *help_menu() const { return w.help_menu; }
    QString score_text() const { return w.score_text; }

    Kestrano &w;
};
