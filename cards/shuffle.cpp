#include "cards/shuffle.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

class LibcRandom : public ShuffleRandom
{
public:
    void reseed() override { std::srand(static_cast<unsigned>(std::time(nullptr))); }
    int draw() override { return std::rand(); }
};

LibcRandom libc_random;
ShuffleRandom *current_random = &libc_random;

struct Pair
{
    int a;
    int b;
};

// The 15 pairs of the six row draws; a pair's place in this list is its label.
constexpr Pair kRowPairs[] = {{1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {2, 3}, {2, 4}, {2, 5},
                              {2, 6}, {3, 4}, {3, 5}, {3, 6}, {4, 5}, {4, 6}, {5, 6}};
constexpr Pair kSilentRowPair = {4, 5};
constexpr int kLabelWithoutBlank = 9;

// The deal-table schedule: each row runs pair (a, b) for b = first..last, and
// the labels run from `label` upwards in step with the pairs.
struct ScheduleRow
{
    int a;
    int first_b;
    int last_b;
    int label;
};

constexpr ScheduleRow kTableSchedule[] = {
    // a  b from  to  label     steps
    {1, 2, 24, 1},  //  1-23
    {2, 3, 24, 24}, //  24-45
    {3, 4, 24, 46}, //  46-66
    {4, 5, 5, 13},  //  67
    {4, 6, 6, 14},  //  68
    {4, 7, 24, 28}, //  69-86
    {5, 6, 6, 15},  //  87
    {3, 4, 24, 46}, //  88-108
    {4, 5, 5, 13},  //  109
    {4, 6, 6, 14},  //  110
    {4, 7, 24, 28}, //  111-128
    {5, 6, 6, 15},  //  129
};

// Steps of these pairs exchange and count as usual but print no pair line.
constexpr Pair kSilentTablePairs[] = {{1, 5},  {1, 11}, {1, 17}, {1, 23}, {2, 3},
                                      {2, 4},  {2, 5},  {2, 11}, {2, 23}, {3, 4},
                                      {3, 11}, {3, 23}, {4, 5},  {4, 11}, {4, 23}};

bool is_silent_table_pair(int a, int b)
{
    for (const Pair &pair : kSilentTablePairs) {
        if (pair.a == a && pair.b == b)
            return true;
    }
    return false;
}

template <int N> void print_array(const int (&entries)[N])
{
    for (int value : entries)
        std::printf("%d,", value);
    std::printf("\n");
}

// Both exchanges print the whole array before and after.
template <int N> void traced_exchange(int (&entries)[N], int i, int j)
{
    print_array(entries);
    std::swap(entries[i], entries[j]);
    print_array(entries);
}

} // namespace

ShuffleRandom &shuffle_random()
{
    return *current_random;
}

void set_shuffle_random(ShuffleRandom *source)
{
    current_random = source ? source : &libc_random;
}

void shuffle_row(int (&row)[kRowCards], int (&n)[kRowDraws])
{
    ShuffleRandom &random = shuffle_random();
    random.reseed();
    for (int &position : n)
        position = random.draw() % 12;
    std::printf("n1=%d,n2=%d,n3=%d,n4=%d,n5=%d,n6=%d\n", n[0], n[1], n[2], n[3], n[4], n[5]);

    int steps = 0;
    int label = 0;
    for (const Pair &pair : kRowPairs) {
        ++label;
        const int first = n[pair.a - 1];
        const int second = n[pair.b - 1];
        if (first == second)
            continue;
        if (pair.a != kSilentRowPair.a || pair.b != kSilentRowPair.b)
            std::printf("n%d=%d,n%d=%d\n", pair.a, first, pair.b, second);
        traced_exchange(row, first, second);
        ++steps;
        if (label == kLabelWithoutBlank)
            std::printf("Patern%d\n", label);
        else
            std::printf("Patern %d\n", label);
    }
    std::printf("MAX=15,n=%d", steps);
}

void shuffle_table(int (&table)[kDeckCards], const int (&rows)[kSuitRows][kRowCards],
                   int (&nn)[kTableDraws], int &deck_swap_count)
{
    for (int s = 0; s < kSuitRows; ++s) {
        for (int k = 0; k < kRowCards; ++k) {
            const int index = kRowCards * s + k;
            table[index] = rows[s][k];
            std::printf(s < kSuitRows - 1 ? "buf[%d]=%d\t" : "buf[%d]=%d\n", index, table[index]);
        }
    }
    for (int i = 0; i < kDeckCards; ++i)
        std::printf("buf_r[%d]=%d\t", i, table[i]);

    ShuffleRandom &random = shuffle_random();
    random.reseed();
    for (int &position : nn)
        position = random.draw() % kDeckCards;
    for (int line = 0; line < 4; ++line) {
        const int *six = nn + 6 * line;
        const int first = 6 * line + 1;
        std::printf("nn%d=%d,nn%d=%d,nn%d=%d,nn%d=%d,nn%d=%d,nn%d=%d\n", first, six[0], first + 1,
                    six[1], first + 2, six[2], first + 3, six[3], first + 4, six[4], first + 5,
                    six[5]);
    }

    for (const ScheduleRow &row : kTableSchedule) {
        for (int b = row.first_b; b <= row.last_b; ++b) {
            const int label = row.label + (b - row.first_b);
            const int first = nn[row.a - 1];
            const int second = nn[b - 1];
            if (first == second)
                continue;
            if (!is_silent_table_pair(row.a, b))
                std::printf("nn%d=%d,nn%d=%d\n", row.a, first, b, second);
            traced_exchange(table, first, second);
            ++deck_swap_count;
            std::printf("Patern %d\n", label);
        }
    }
    std::printf("MAX=15,n=%d", deck_swap_count);
}
