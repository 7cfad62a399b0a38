#include "cards/card.h"

#include <QtGlobal>

namespace {

struct SuitWords
{
    char face_letter;
    char open_letter;
    const char *tool_tip_word;
    const char *name;
};

constexpr SuitWords kSuits[] = {
    // face  open  tool tip    name
    {'s', 'S', "Spade", QT_TRANSLATE_NOOP("Kestrano", "Spades")},
    {'c', 'C', "Kurobar", QT_TRANSLATE_NOOP("Kestrano", "Clubs")},
    {'h', 'H', "Hurt", QT_TRANSLATE_NOOP("Kestrano", "Hearts")},
    {'d', 'D', "Dia", QT_TRANSLATE_NOOP("Kestrano", "Diamonds")},
};

constexpr const char *kRankNames[] = {
    QT_TRANSLATE_NOOP("Kestrano", "Ace"),   QT_TRANSLATE_NOOP("Kestrano", "Two"),
    QT_TRANSLATE_NOOP("Kestrano", "Three"), QT_TRANSLATE_NOOP("Kestrano", "Four"),
    QT_TRANSLATE_NOOP("Kestrano", "Five"),  QT_TRANSLATE_NOOP("Kestrano", "Six"),
    QT_TRANSLATE_NOOP("Kestrano", "Seven"), QT_TRANSLATE_NOOP("Kestrano", "Eight"),
    QT_TRANSLATE_NOOP("Kestrano", "Nine"),  QT_TRANSLATE_NOOP("Kestrano", "Ten"),
    QT_TRANSLATE_NOOP("Kestrano", "Jack"),  QT_TRANSLATE_NOOP("Kestrano", "Queen"),
    QT_TRANSLATE_NOOP("Kestrano", "King"),
};

constexpr const char *kRankWords[] = {
    "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Jack", "Queen", "King",
};

// Diamonds have their own words: "dia" at positions 1 and 2, and the 4 of
// diamonds at position 5 is named with a leading zero.
constexpr const char *kLowerDiamondWord = "dia";
constexpr int kFourOfDiamonds = 43;
constexpr const char *kFourOfDiamondsAtFive = "Dia 04 draw card";

QString picture_path(int card, bool open)
{
    const Suit suit = card_suit(card);
    if (suit == Suit::None)
        return {};
    const SuitWords &words = kSuits[static_cast<int>(suit)];
    return QStringLiteral("gazo/%1%2%3.png")
        .arg(QLatin1Char(open ? words.open_letter : words.face_letter))
        .arg(card_rank(card), 2, 10, QLatin1Char('0'))
        .arg(open ? QStringLiteral("D") : QString());
}

} // namespace

Suit card_suit(int card)
{
    if (card >= 1 && card <= 13)
        return Suit::Spades;
    if (card >= 14 && card <= 26)
        return Suit::Clubs;
    if (card >= 27 && card <= 39)
        return Suit::Hearts;
    if (card >= 40 && card <= 52)
        return Suit::Diamonds;
    return Suit::None;
}

int card_rank(int card)
{
    const Suit suit = card_suit(card);
    return suit == Suit::None ? 0 : card - 13 * static_cast<int>(suit);
}

QString face_picture_path(int card)
{
    return picture_path(card, false);
}

QString open_picture_path(int card)
{
    return picture_path(card, true);
}

QString card_back_path()
{
    return QStringLiteral("gazo/UB0.png");
}

const char *card_rank_name(int card)
{
    return card_suit(card) == Suit::None ? "" : kRankNames[card_rank(card) - 1];
}

const char *card_suit_name(int card)
{
    const Suit suit = card_suit(card);
    return suit == Suit::None ? "" : kSuits[static_cast<int>(suit)].name;
}

QString draw_tool_tip(int card, int position)
{
    const Suit suit = card_suit(card);
    if (suit == Suit::None || position < 1 || position > 5)
        return {};
    if (card == kFourOfDiamonds && position == 5)
        return QString::fromLatin1(kFourOfDiamondsAtFive);
    const char *suit_word = kSuits[static_cast<int>(suit)].tool_tip_word;
    if (suit == Suit::Diamonds && position <= 2)
        suit_word = kLowerDiamondWord;
    return QStringLiteral("%1 %2 draw card")
        .arg(QLatin1String(suit_word), QLatin1String(kRankWords[card_rank(card) - 1]));
}
