// What a card number means: suit, rank, its pictures and the tool tip that
// names it when it is dealt.  A card number is a plain int: 1..52, 0 for none.
#pragma once

#include <QString>

enum class Suit
{
    None = -1,
    Spades = 0,
    Clubs = 1,
    Hearts = 2,
    Diamonds = 3
};

// The suit by range, tested spades, clubs, hearts, diamonds; None outside 1..52.
Suit card_suit(int card);

// 1 (ace) .. 13 (king); 0 for a number that is not a card.
int card_rank(int card);

// "gazo/s01.png" .. "gazo/d13.png"; empty for a number that is not a card.
QString face_picture_path(int card);

// "gazo/S01D.png" .. "gazo/D13D.png"; empty for a number that is not a card.
QString open_picture_path(int card);

// The picture of the pile, of the CPU's hand and of its card before the open.
QString card_back_path();

// The card's spoken name, untranslated: the rank ("Queen") and the suit
// ("Hearts") for the pattern "%1 of %2"; empty for a number that is not a card.
const char *card_rank_name(int card);
const char *card_suit_name(int card);

// The untranslated tool tip of a card dealt to hand position 1..5, for
// example "Spade A draw card"; empty for a number that is not a card.
QString draw_tool_tip(int card, int position);
