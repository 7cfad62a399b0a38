// The user's plays: a press of one of the five card buttons.
#include "table/kestrano.h"

#include <QLabel>
#include <QPushButton>

#include <cstdio>

#include "table/game_state.h"
#include "table/picture.h"
#include "table/sound.h"

namespace {

// Stands in a row's lines for the visibility line of the five card buttons,
// which ends without a line break.
constexpr const char *kVisibilityLine = "";

// One combination of already played (hidden) buttons and the lines it prints;
// the press number it belongs to is one more than the number of buttons.
struct Combination
{
    int hidden[4];
    const char *lines[2];
};

struct ButtonCheck
{
    const char *first_press;
    Combination rows[15];
    const char *no_match_third_press;
};

// The combinations of each position, in the order they are tried.
constexpr ButtonCheck kButtonChecks[5] = {
    {"1.button_check1,case1\n",
     {
         {{2}, {"1.button_check1,case2,push_button2xxxx\n", kVisibilityLine}},
         {{3}, {"2.button_check1,case2,push_button3\n"}},
         {{4}, {"3.button_check1,case2,push_button4\n"}},
         {{5}, {"4.button_check1,case2,push_button5\n"}},
         {{2, 3}, {"Patern:(2,3)\n", "1.button_check1,case3,push_button2,push_button3\n"}},
         {{2, 4}, {"Patern:(2,4)\n", "2.button_check1,case3,push_button2,push_button4\n"}},
         {{2, 5}, {"Patern:(2,5)\n", "3.button_check1,case3,push_button2,push_button5\n"}},
         {{3, 4}, {"Patern:(3,4)\n", "4.button_check1,case3,push_button3,push_button4\n"}},
         {{3, 5}, {"5.button_check1,case3,push_button3,push_button5\n"}},
         {{5, 4}, {"Patern:(5,4)\n", "6.button_check1,case3,push_button5,push_button4\n"}},
         {{2, 3, 4}, {"1.button_check1,case4,push_button2,push_button3,push_button4\n"}},
         {{2, 3, 5}, {"2.button_check1,case4,push_button2,push_button3,push_button5\n"}},
         {{3, 4, 5}, {"3.button_check1,case4,push_button3,push_button4,push_button5\n"}},
         {{4, 5, 2}, {"4.button_check1,case4,push_button2,push_button4,push_button5\n"}},
         {{2, 3, 4, 5},
          {"1.button_check1,case5,push_button2,push_button3,push_button4,push_button5\n"}},
     },
     nullptr},
    {"1.button_check2,case1,0\n",
     {
         {{1}, {"1.button_check2,case2,push_button1\n"}},
         {{3}, {"2.button_check2,case2,push_button3\n"}},
         {{4}, {"3.button_check2,case2,push_button4\n"}},
         {{5}, {"4.button_check2,case2,push_button5\n"}},
         {{1, 3}, {"1.button_check2,case3,push_button1,push_button3\n"}},
         {{1, 4}, {"2.button_check2,case3,push_button1,push_button4\n"}},
         {{1, 5}, {"3.button_check2,case3,push_button1,push_button5\n"}},
         {{3, 4}, {"4.button_check2,case3,push_button3,push_button4\n"}},
         {{3, 5}, {"5.button_check2,case3,push_button3,push_button5\n"}},
         {{5, 4}, {"6.button_check2,case3,push_button5,push_button4\n"}},
         {{1, 3, 4}, {"1.button_check2,case4,push_button1,push_button4,push_button3\n"}},
         {{1, 3, 5}, {"2.button_check2,case4,push_button1,push_button3,push_button5\n"}},
         {{3, 4, 5}, {"3.button_check2,case4,push_button3,push_button4,push_button5\n"}},
         {{4, 5, 1}, {"4.button_check2,case4,push_button4,push_button5,push_button1\n"}},
         {{1, 3, 4, 5}, {}},
     },
     nullptr},
    {"1.button_check3,case1,0\n",
     {
         {{1}, {"1.button_check3,case2,push_button1,xxxxxx\n"}},
         {{2}, {"2.button_check3,case2,push_button2\n"}},
         {{4}, {"3.button_check3,case2,push_button4\n"}},
         {{5}, {"4.button_check3,case2,push_button5\n"}},
         {{1, 2}, {"Patern:(1,2)\n", "1.button_check3,case3,push_button1,push_button2\n"}},
         {{1, 4}, {"Patern:(1,4)\n", "2.button_check3,case3,push_button1,push_button4\n"}},
         {{1, 5}, {"Patern:(1,5)\n", "3.button_check3,case3,push_button1,push_button5\n"}},
         {{2, 4}, {"Patern:(2,4)\n", "4.button_check3,case3,push_button2,push_button4\n"}},
         {{2, 5}, {"Patern:(2,5)\n", "5.button_check3,case3,push_button2,push_button5\n"}},
         {{5, 4}, {"Patern:(5,4)\n", "6.button_check3,case3,push_button4,push_button5\n"}},
         {{1, 2, 4}, {"1.button_check3,case4,push_button1,push_button2,push_button4\n"}},
         {{1, 4, 5}, {"2.button_check3,case4,push_button1,push_button4,push_button5\n"}},
         {{2, 4, 5}, {"3.button_check3,case4,push_button2,push_button4,push_button5\n"}},
         {{2, 5, 1}, {"4.button_check3,case4,push_button2,push_button5,push_button1\n"}},
         {{1, 2, 4, 5}, {}},
     },
     nullptr},
    {"1.button_check4,case1,0\n",
     {
         {{1}, {"1.button_check4,case2,push_button1\n"}},
         {{2}, {"2.button_check4,case2,push_button2\n"}},
         {{3}, {"3.button_check4,case2,push_button3\n"}},
         {{5}, {}},
         {{1, 2}, {"1.button_check4,case3,push_button1,push_button2\n"}},
         {{1, 3}, {"2.button_check4,case3,push_button1,push_button3\n"}},
         {{1, 5}, {"3.button_check4,case3,push_button1,push_button5\n"}},
         {{2, 3}, {"4.button_check4,case3,push_button2,push_button3\n"}},
         {{2, 5}, {"5.button_check4,case3,push_button2,push_button5\n"}},
         {{5, 3}, {"6.button_check4,case3,push_button5,push_button3\n"}},
         {{1, 2, 3}, {"1.button_check4,case4,push_button1,push_button2,push_button3\n"}},
         {{1, 3, 5}, {"2.button_check4,case4,push_button1,push_button3,push_button5\n"}},
         {{1, 2, 5}, {}},
         {{2, 3, 5}, {"3.button_check4,case4,push_button2,push_button3,push_button5\n"}},
         {{1, 2, 3, 5},
          {"1.button_check4,case5,push_button1,push_button2,push_button3,push_button5\n"}},
     },
     "7.Reigai:\n"},
    {"1.button_check5,case1,0\n",
     {
         {{1}, {"1.button_check5,case2,push_button1\n"}},
         {{2}, {"2.button_check5,case2,push_button2\n"}},
         {{4}, {"3.button_check5,case2,push_button4\n"}},
         {{3}, {}},
         {{1, 4}, {"1.button_check5,case3,push_button1,push_button4\n"}},
         {{1, 3}, {"2.button_check5,case3,push_button1,push_button3\n"}},
         {{1, 2}, {"3.button_check5,case3,push_button1,push_button2\n"}},
         {{2, 3}, {"4.button_check5,case3,push_button2,push_button3\n"}},
         {{2, 4}, {"5.button_check5,case3,push_button2,push_button4\n"}},
         {{3, 4}, {"6.button_check5,case3,push_button3,push_button4\n"}},
         {{1, 2, 4}, {"1.button_check5,case4,push_button1,push_button2,push_button4\n"}},
         {{1, 4, 3}, {"2.button_check5,case4,push_button1,push_button3,push_button4\n"}},
         {{2, 4, 3}, {"3.button_check5,case4,push_button2,push_button3,push_button4\n"}},
         {{2, 3, 1}, {"4.button_check5,case4,push_button1,push_button2,push_button3\n"}},
         {{1, 2, 3, 4},
          {"1.button_check5,case5,push_button1,push_button2,push_button3,push_button4\n"}},
     },
     nullptr},
};

int combination_size(const Combination &row)
{
    int size = 0;
    while (size < 4 && row.hidden[size] != 0)
        ++size;
    return size;
}

bool in_combination(const Combination &row, int position)
{
    for (int hidden : row.hidden) {
        if (hidden == position)
            return true;
    }
    return false;
}

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
    play_sound(QStringLiteral("wave/12-1/draw_wav.wav"));

    ++button_count;
    button_check(position, false, false);
    cpu_open_button->setEnabled(true);
    std::printf("button_count=%d\n", button_count);

    const int card = hand_card(position);
    const Suit suit = card_suit(card);
    if (suit != Suit::None) {
        play_picture(position, suit);
        if (position == 5)
            std::printf("%s", kPointFiveLines[static_cast<int>(suit)]);
    } else {
        std::printf(position == 1 ? "Reigai bufdeal1=%d\n" : "Reigai bufdeal2=%d\n", card);
    }
    if (position == 2)
        std::printf("bufdeal2=%d\n", buf_deal2);
    if (position == 5)
        std::printf("bufdeal5=%d\n", buf_deal5);

    show_card_back(cpu_play_label);
    // A press never writes outside the round's slots, whatever the timers did to `count`.
    if (count >= 0 && count <= 5) {
        buf_user[count] = card;
        std::printf("buf_user[%d]=%d\n", count, buf_user[count]);
    }
    ++buf_n;
    std::printf("buf_n=%d\n", buf_n);
}

void Kestrano::button_check1(bool played, bool locked)
{
    button_check(1, played, locked);
}

void Kestrano::button_check2(bool played, bool locked)
{
    button_check(2, played, locked);
}

void Kestrano::button_check3(bool played, bool locked)
{
    button_check(3, played, locked);
}

void Kestrano::button_check4(bool played, bool locked)
{
    button_check(4, played, locked);
}

void Kestrano::button_check5(bool played, bool locked)
{
    button_check(5, played, locked);
}

void Kestrano::button_check(int position, bool played, bool locked)
{
    const ButtonCheck &check = kButtonChecks[position - 1];
    const int k = button_count;
    if (k == 1) {
        card_button(position)->setVisible(played);
        for (int p = 1; p <= 5; ++p) {
            if (p != position)
                card_button(p)->setEnabled(locked);
        }
        std::printf("%s", check.first_press);
        return;
    }
    if (k < 2 || k > 5)
        return;

    for (const Combination &row : check.rows) {
        if (combination_size(row) != k - 1)
            continue;
        bool matches = true;
        for (int i = 0; i < k - 1; ++i)
            matches = matches && (!card_button(row.hidden[i])->isHidden()) == played;
        if (!matches)
            continue;

        card_button(position)->setVisible(played);
        for (int p = 1; p <= 5; ++p) {
            if (p != position && !in_combination(row, p))
                card_button(p)->setEnabled(locked);
        }
        for (const char *line : row.lines) {
            if (line == kVisibilityLine)
                std::printf("1.push_button1=%d,push_button2=%d,push_button3=%d,push_button4=%d,"
                            "push_button5=%d",
                            !push_button1->isHidden(), !push_button2->isHidden(),
                            !push_button3->isHidden(), !push_button4->isHidden(),
                            !push_button5->isHidden());
            else if (line)
                std::printf("%s", line);
        }
        return;
    }
    if (k == 3 && check.no_match_third_press)
        std::printf("%s", check.no_match_third_press);
}

void Kestrano::play_picture(int position, Suit suit)
{
    const int card = hand_card(position);
    show_face_picture(user_play_label, card);
    clear_picture(user_card_label(position));
    clear_picture(cpu_card_label(position));
    if (suit == Suit::Spades || suit == Suit::Clubs)
        std::printf("buf_deal%d=%d\n", position, card);
}
