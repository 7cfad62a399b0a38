// The match shuffle: stirs each suit row, lays the rows end to end in the deal
// table and runs the fixed schedule of table exchanges, tracing every step on
// standard output.
#pragma once

constexpr int kSuitRows = 4;
constexpr int kRowCards = 13;
constexpr int kDeckCards = 52;
constexpr int kRowDraws = 6;
constexpr int kTableDraws = 24;

// Where the shuffle's random numbers come from.  Each batch of draws reseeds
// first.  The default is the C library: srand(time(NULL)), then rand().
class ShuffleRandom
{
public:
    virtual ~ShuffleRandom() = default;
    virtual void reseed() = 0;
    virtual int draw() = 0;
};

// The source in use; tests put in their own (nullptr restores the default).
ShuffleRandom &shuffle_random();
void set_shuffle_random(ShuffleRandom *source);

// Stirs one suit row by up to 15 exchanges among six drawn row positions
// (0..11), which are left in `n`.
void shuffle_row(int (&row)[kRowCards], int (&n)[kRowDraws]);

// Lays `rows` end to end in `table`, draws 24 table positions into `nn` and
// runs the 129-step exchange schedule; every exchange adds 1 to
// `deck_swap_count`, whose value closes the trace.
void shuffle_table(int (&table)[kDeckCards], const int (&rows)[kSuitRows][kRowCards],
                   int (&nn)[kTableDraws], int &deck_swap_count);
