#include "cards/rules.h"

namespace {

constexpr int kPositions = 5;

// The combination table of each card button, by position; the first row of
// each is the round's first press, which names no other button.
constexpr PressRow kPressRows[kPositions][16] = {
    // button_check1: a press of push_button1
    {
        {{}, {"1.button_check1,case1\n"}},
        {{2}, {"1.button_check1,case2,push_button2xxxx\n"}, true},
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
    // button_check2: a press of push_button2
    {
        {{}, {"1.button_check2,case1,0\n"}},
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
    // button_check3: a press of push_button3
    {
        {{}, {"1.button_check3,case1,0\n"}},
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
    // button_check4: a press of push_button4
    {
        {{}, {"1.button_check4,case1,0\n"}},
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
    // button_check5: a press of push_button5
    {
        {{}, {"1.button_check5,case1,0\n"}},
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
};

// The third press of push_button4 that matches none of its rows.
constexpr int kReigaiPosition = 4;
constexpr int kReigaiPress = 3;
constexpr const char *kReigaiLine = "7.Reigai:\n";

int row_size(const PressRow &row)
{
    int size = 0;
    while (size < 4 && row.hidden[size] != 0)
        ++size;
    return size;
}

// An open that finds fewer buttons hidden than pressed, by press count 1..4.
constexpr const char *kTooFewHiddenLines[] = {
    "1.case1,button_count=%d\n",
    "1.case2,button_count=%d\n",
    "1.case3,button_count=%d,pppppppp\n",
    "1.case4,button_count=%d\n",
};

// The third open of a round, by the three hidden buttons; the other four
// sets of three print nothing.
struct HiddenThree
{
    int positions[3];
    const char *line;
};

constexpr HiddenThree kThirdOpenLines[] = {
    {{1, 2, 3}, "1.push_button1,push_button2,push_button3\n"},
    {{1, 2, 4}, "2.push_button1,push_button2,push_button4\n"},
    {{1, 2, 5}, "3.push_button1,push_button2,push_button5\n"},
    {{2, 3, 5}, "5.push_button2,push_button3,push_button5\n"},
    {{2, 3, 4}, "6.push_button2,push_button3,push_button4\n"},
    {{1, 3, 5}, "push_button1,push_button3,push_button5\n"},
};

int positions_count(Positions positions)
{
    int count = 0;
    for (int p = 1; p <= kPositions; ++p)
        count += (positions & position_bit(p)) != 0;
    return count;
}

} // namespace

Judgement judge_pair(int x, int y)
{
    if (x == y)
        return {Outcome::Tie, 0};
    const bool cpu_higher = x > y;
    const int distance = cpu_higher ? x - y : y - x;
    const bool far_apart = distance >= kFarApart;
    if (cpu_higher)
        return {far_apart ? Outcome::Pattern1 : Outcome::Pattern2, distance};
    return {far_apart ? Outcome::Pattern3 : Outcome::Pattern4, distance};
}

Positions row_positions(const PressRow &row)
{
    Positions positions = 0;
    for (int i = 0; i < row_size(row); ++i)
        positions |= position_bit(row.hidden[i]);
    return positions;
}

const PressRow *match_press(int position, Positions hidden, int press)
{
    if (position < 1 || position > kPositions)
        return nullptr;
    for (const PressRow &row : kPressRows[position - 1]) {
        const Positions named = row_positions(row);
        if (row_size(row) == press - 1 && (named & hidden) == named)
            return &row;
    }
    return nullptr;
}

const char *unmatched_press_line(int position, int press)
{
    return position == kReigaiPosition && press == kReigaiPress ? kReigaiLine : nullptr;
}

OpenStep reenabling_step(int press, Positions hidden)
{
    if (press < 1 || press > 4)
        return {Reenabled::DealButton, "button_count=%d\n"};
    const int hidden_count = positions_count(hidden);
    if (hidden_count < press)
        return {Reenabled::Nothing, kTooFewHiddenLines[press - 1]};
    if (press == 3 && hidden_count == 3) {
        for (const HiddenThree &three : kThirdOpenLines) {
            const Positions set = position_bit(three.positions[0]) |
                                  position_bit(three.positions[1]) |
                                  position_bit(three.positions[2]);
            if (set == hidden)
                return {Reenabled::VisibleCardButtons, three.line};
        }
    }
    return {Reenabled::VisibleCardButtons, nullptr};
}
