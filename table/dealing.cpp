// Dealing a round: the round announcement, the deal itself and the match end.
#include "table/kestrano.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <iterator>

#include "cards/card.h"
#include "table/delays.h"
#include "table/game_state.h"
#include "table/picture.h"
#include "table/screen_reader.h"
#include "table/sound.h"
#include "table/sound_files.h"

namespace {

constexpr int kRounds = 5;

// Entry `index` of the deal table, or 0 (no card) outside it.
int deal_table_entry(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(buf_r)) ? buf_r[index] : 0;
}

} // namespace

void Kestrano::Show_Round()
{
    ++count;
    if (count <= kRounds) {
        deal_button->setEnabled(false);
        QTimer::singleShot(game_delay(kDealDelayMs), Qt::PreciseTimer, this,
                           SLOT(card_deal_timer()));
        show_to_screen_readers(round_label);
        clear_picture(cpu_play_label);
        clear_picture(user_play_label);
        round_text = tr("Round %1").arg(count, 0, 10, QLatin1Char(' '));
        round_label->setText(round_text);
        return;
    }

    // The sixth press ends the match; the next one starts from the menu.
    end_match(false);
}

void Kestrano::card_deal_timer()
{
    round_label->hide();
    card_deal();
}

void Kestrano::Secand_Card_deal_Push_shown()
{
    for (int p = 1; p <= 5; ++p)
        show_to_screen_readers(card_button(p));
    cpu_open_button->setEnabled(false);
    deal_button->setEnabled(false);
    std::printf("Secand_Card_deal_Push_shown()\n");
}

void Kestrano::card_deal()
{
    Secand_Card_deal_Push_shown();
    play_sound(QLatin1String(kDealSound));
    if (button_count > 4)
        button_count = 0;
    round_text = tr("Round %1").arg(count, 0, 10, QLatin1Char(' '));
    round_label->setText(round_text);
    std::printf("button_count=%d\n", button_count);
    std::printf("first count=%d,button_count=%d\n", count, button_count);

    // A deal that runs outside rounds 1..5 (a second press while a deal was
    // pending) reads an empty hand instead of running off the deal table.
    const bool in_match = count >= 1 && count <= kRounds;
    const int first = 10 * (count - 1);
    auto slice_entry = [&](int offset) { return in_match ? deal_table_entry(first + offset) : 0; };

    std::printf("count=%d", count);
    for (int p = 1; p <= 5; ++p) {
        this->*kUserHand[p - 1] = slice_entry(p - 1);
        std::printf(",buf_deal%d=%d", p, hand_card(p));
    }
    std::printf("\nCPU:count=%d\n", count);
    for (int p = 1; p <= 5; ++p) {
        this->*kCpuHand[p - 1] = slice_entry(p + 4);
        std::printf(p < 5 ? "buf_cpu_deal%d=%d," : "buf_cpu_deal%d=%d\n", p, cpu_hand_card(p));
    }

    const int cpu_first = 10 * count - 5;
    std::printf("buf_r[%d]=%d,buf_r[%d]=%d,buf_r[%d]=%d,buf_r[%d]=%d,buf_r[%d]=%d\n", cpu_first,
                slice_entry(5), cpu_first + 1, slice_entry(6), cpu_first + 2, slice_entry(7),
                cpu_first + 3, slice_entry(8), cpu_first + 4, slice_entry(9));

    bool empty_hand = false;
    for (int p = 1; p <= 5; ++p)
        empty_hand = empty_hand || hand_card(p) == 0;
    if (empty_hand)
        reset_empty_hand();

    for (int p = 1; p <= 5; ++p) {
        if (card_suit(hand_card(p)) != Suit::None)
            draw_card(p);
    }
    for (int p = 1; p <= 5; ++p)
        show_card_back(cpu_card_label(p));
    clear_picture(cpu_play_label);
    clear_picture(user_play_label);

    if (!empty_hand) {
        QStringList hand;
        for (int p = 1; p <= 5; ++p)
            hand << card_button(p)->accessibleName();
        announcer->announce(
            tr("%1. Your cards: %2").arg(round_text, hand.join(tr(", ", "between two cards"))));
    }
}

// The match ends at once, and the next press of "Deal cards" starts round 1
// of a new one.  `count` is 0 already while the verdict is shown.
void Kestrano::reset_empty_hand()
{
    count = 0;
    if (button_count > 5)
        button_count = 0;
    end_match(true);
}

void Kestrano::end_match(bool deal_enabled)
{
    clear_picture(cpu_play_label);
    clear_picture(user_play_label);
    for (int p = 1; p <= 5; ++p)
        card_button(p)->hide();
    deal_button->setEnabled(deal_enabled);
    show_card_back(deck_label);
    match_result();
    count = 0;
    card_shuffle();
    buf_n = 0;
}

void Kestrano::draw_card(int position)
{
    const int card = hand_card(position);
    const Suit suit = card_suit(card);
    show_face_picture(user_card_label(position), card);
    const QByteArray tool_tip = draw_tool_tip(card, position).toLatin1();
    card_button(position)->setToolTip(tr(tool_tip.constData()));
    // What pressing the button plays.
    card_button(position)->setAccessibleName(
        tr("%1: %2").arg(card_button(position)->text(), card_name(card)));
    if (position == 1 && (suit == Suit::Spades || suit == Suit::Clubs))
        std::printf("buf_deal1=%d\n", card);
}
