// "Card open": the CPU opens its next card and the pair is judged.
#include "table/kestrano.h"

#include <QLabel>
#include <QPushButton>

#include <cstdio>

#include "cards/card.h"
#include "cards/rules.h"
#include "table/game_state.h"
#include "table/picture.h"
#include "table/screen_reader.h"

namespace {

void print_cpu_hand()
{
    std::printf("%d,%d,%d,%d,%d,\n", buf_cpu[0], buf_cpu[1], buf_cpu[2], buf_cpu[3], buf_cpu[4]);
}

// The exchanges of the hand load; each is undone by the copy that follows it.
constexpr int kLoadExchanges[][2] = {{1, 2}, {3, 4}, {0, 3}, {1, 4}};

// A card number above 13 reduced to its rank for judging (numbers of 13 or
// less are judged as they are and never come here).
int judged_rank(int card)
{
    if (card_suit(card) != Suit::None)
        return card_rank(card);
    std::printf("Reigai syori,x=%d\n", card);
    return card;
}

} // namespace

void Kestrano::cpu_open_button_click()
{
    load_cpu_hand();
    reenable_card_buttons();
    if (count == 0) {
        load_cpu_hand();
        std::printf("count=%d\n", count);
    }

    const int cpu_card = buf_cpu[cpu_cout];
    open_cpu_card(cpu_card);

    const int user_card = count >= 0 && count <= 5 ? buf_user[count] : 0;
    std::printf("buf_cpu[0]=%d,buf_cpu[1]=%d,buf_cpu[2]=%d,buf_cpu[3]=%d,buf_cpu[4]=%d\n",
                buf_cpu[0], buf_cpu[1], buf_cpu[2], buf_cpu[3], buf_cpu[4]);
    for (int p = 1; p <= 5; ++p)
        std::printf(p < 5 ? "buf_cpu_deal%d=%d," : "buf_cpu_deal%d=%d\n", p, cpu_hand_card(p));
    std::printf("count=%d\n", count);
    std::printf("cpu=%d=buf_cpu[%d]=%d,user=%d\n", cpu_card, cpu_cout, cpu_card, user_card);

    if (cpu_card <= 13 && user_card <= 13) {
        Compare_cpu_user(cpu_card, user_card);
        std::printf("buf_cpu[%d]=%d,buf_cpu[%d]=%d\n", cpu_cout, cpu_card, cpu_cout, user_card);
    } else if (user_card <= 13) {
        std::printf("Pattern compare\n");
        const int cpu_rank = judged_rank(cpu_card);
        Compare_cpu_user(cpu_rank, user_card);
        std::printf("Pattern compare1\n");
        std::printf("cpu_card_compare:cpu=%d,user=%d\n", cpu_rank, user_card);
    } else if (cpu_card <= 13) {
        std::printf("Pattern compare\n");
        const int user_rank = judged_rank(user_card);
        Compare_cpu_user(cpu_card, user_rank);
        std::printf("cpu_card_compare:cpu=%d,user=%d,count=%d\n", cpu_card, user_rank, count);
        std::printf("Pattern compare2\n");
    } else {
        std::printf("Pattern compare\n");
        const int cpu_rank = judged_rank(cpu_card);
        const int user_rank = judged_rank(user_card);
        Compare_cpu_user(cpu_rank, user_rank);
        std::printf("Pattern compare3\n");
        std::printf("cpu_card_compare:cpu=%d,user=%d\n", cpu_rank, user_rank);
    }

    ++cpu_cout;
    if (cpu_cout > 4) {
        cpu_cout = 0;
        std::printf("Pattern x-1:buf_cpu[%d]=%d\n", 0, buf_cpu[0]);
    }
    cpu_open_button->setEnabled(false);
    // The pair's notice and the score line are up by now, and after the
    // round's last card so is "Deal cards".
    if (card_suit(cpu_card) != Suit::None) {
        QString said =
            tr("CPU opens %1. %2. %3").arg(card_name(cpu_card), result_label->text(), score_text);
        if (deal_button->isEnabled())
            said =
                tr("%1. %2", "one announcement after another").arg(said, tr("Ready to deal cards"));
        announcer->announce(said);
    }
}

void Kestrano::load_cpu_hand()
{
    for (const auto &exchange : kLoadExchanges) {
        print_cpu_hand();
        std::swap(buf_cpu[exchange[0]], buf_cpu[exchange[1]]);
        print_cpu_hand();
        for (int p = 1; p <= 5; ++p)
            buf_cpu[p - 1] = cpu_hand_card(p);
    }
    std::printf("cpu shuffle,1.buf_cpu[0]=%d=buf_cpu_deal1=%d,2.buf_cpu[1]=%d=buf_cpu_deal2=%d,"
                "3.buf_cpu[2]=%d=buf_cpu_deal3=%d,4.buf_cpu[3]==%d=buf_cpu_deal4=%d,"
                "5,buf_cpu[4]=%d=buf_cpu_deal5=%d\n",
                buf_cpu[0], cpu_hand_card(1), buf_cpu[1], cpu_hand_card(2), buf_cpu[2],
                cpu_hand_card(3), buf_cpu[3], cpu_hand_card(4), buf_cpu[4], cpu_hand_card(5));
}

void Kestrano::reenable_card_buttons()
{
    const Positions hidden = hidden_card_buttons();
    const OpenStep step = reenabling_step(button_count, hidden);
    switch (step.reenabled) {
    case Reenabled::DealButton:
        cpu_open_button->setEnabled(false);
        deal_button->setEnabled(true);
        break;
    case Reenabled::VisibleCardButtons:
        for (int p = 1; p <= 5; ++p) {
            if ((hidden & position_bit(p)) == 0)
                card_button(p)->setEnabled(true);
        }
        break;
    case Reenabled::Nothing:
        break;
    }
    if (step.line)
        std::printf(step.line, button_count);
}

void Kestrano::open_cpu_card(int card)
{
    if (card_suit(card) != Suit::None)
        show_open_picture(cpu_play_label, card);
    else
        std::printf("out 1-1,Reigai,cpu_cout=%d,buf_cpu[%d]=%d\n", cpu_cout, cpu_cout, card);
}
