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

    int &buf_deal(int position)
    {
        int *cards[] = {&w.buf_deal1, &w.buf_deal2, &w.buf_deal3, &w.buf_deal4, &w.buf_deal5};
        return *cards[position - 1];
    }
    int &buf_cpu_deal(int position)
    {
        int *cards[] = {&w.buf_cpu_deal1, &w.buf_cpu_deal2, &w.buf_cpu_deal3, &w.buf_cpu_deal4,
                        &w.buf_cpu_deal5};
        return *cards[position - 1];
    }
    int n(int i) const
    {
        const int draws[] = {w.n1, w.n2, w.n3, w.n4, w.n5, w.n6};
        return draws[i - 1];
    }
    int nn(int i) const
    {
        const int draws[] = {w.nn1,  w.nn2,  w.nn3,  w.nn4,  w.nn5,  w.nn6,  w.nn7,  w.nn8,
                             w.nn9,  w.nn10, w.nn11, w.nn12, w.nn13, w.nn14, w.nn15, w.nn16,
                             w.nn17, w.nn18, w.nn19, w.nn20, w.nn21, w.nn22, w.nn23, w.nn24};
        return draws[i - 1];
    }

    void card_shuffle() { w.card_shuffle(); }
    void match_result() { w.match_result(); }
    void button_check(int position, bool played, bool locked)
    {
        w.button_check(position, played, locked);
    }

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
