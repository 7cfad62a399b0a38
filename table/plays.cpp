// The user's plays: a press of one of the five card buttons.
#include "table/kestrano.h"

#include <QLabel>
#include <QPushButton>

#include <cstdio>

#include "cards/card.h"
#include "cards/rules.h"
#include "table/game_state.h"
#include "table/picture.h"
#include "table/screen_reader.h"
#include "table/sound.h"
#include "table/sound_files.h"

namespace {

// The trace word of each suit after a play from position 5.
constexpr const char *kPointFiveLines[] = {"Spade point5\n", "Kurobar point5\n", "Hurt point5\n",
                                           "Daiya point5\n"};

} // namespace

void Kestrano::push_button1_click()
{
    press_card(1);
}

void Kestrano::push_button2_click()
{
    press_card(2);
}

void Kestrano::push_button3_click()
{
    press_card(3);
}

void Kestrano::push_button4_click()
{
    press_card(4);
}

void Kestrano::push_button5_click()
{
    press_card(5);
}

void Kestrano::press_card(int position)
{
    // A played card's button is hidden but may keep the keyboard focus, and
    // Space would play the card again.
    if (card_button(position)->isHidden())
        return;
    play_sound(QLatin1String(kDrawSound));

    ++button_count;
    button_check(position);
    cpu_open_button->setEnabled(true);
    std::printf("button_count=%d\n", button_count);

    const int card = hand_card(position);
    const Suit suit = card_suit(card);
    if (suit != Suit::None) {
        play_picture(position);
        announcer->announce(tr("You play %1").arg(card_name(card)));
        if (position == 5)
            std::printf("%s", kPointFiveLines[static_cast<int>(suit)]);
    } else {
        std::printf(position == 1 ? "Reigai bufdeal1=%d\n" : "Reigai bufdeal2=%d\n", card);
    }
    if (position == 2)
        std::printf("bufdeal2=%d\n", card);
    if (position == 5)
        std::printf("bufdeal5=%d\n", card);

    show_card_back(cpu_play_label);
    // A press never writes outside the round's slots, whatever the timers did to `count`.
    if (count >= 0 && count <= 5) {
        buf_user[count] = card;
        std::printf("buf_user[%d]=%d\n", count, buf_user[count]);
    }
    ++buf_n;
    std::printf("buf_n=%d\n", buf_n);
}

void Kestrano::button_check(int position)
{
    const PressRow *row = match_press(position, hidden_card_buttons(), button_count);
    if (!row) {
        if (const char *line = unmatched_press_line(position, button_count))
            std::printf("%s", line);
        return;
    }
    card_button(position)->hide();
    const Positions played = row_positions(*row);
    for (int p = 1; p <= 5; ++p) {
        if (p != position && (played & position_bit(p)) == 0)
            card_button(p)->setEnabled(false);
    }
    for (const char *line : row->lines) {
        if (line)
            std::printf("%s", line);
    }
    if (row->visibility_line) {
        std::printf("1.");
        for (int p = 1; p <= 5; ++p)
            std::printf(p == 1 ? "push_button%d=%d" : ",push_button%d=%d", p,
                        !card_button(p)->isHidden());
    }
}

void Kestrano::play_picture(int position)
{
    const int card = hand_card(position);
    const Suit suit = card_suit(card);
    show_face_picture(user_play_label, card);
    clear_picture(user_card_label(position));
    clear_picture(cpu_card_label(position));
    if (suit == Suit::Spades || suit == Suit::Clubs)
        std::printf("buf_deal%d=%d\n", position, card);
}
