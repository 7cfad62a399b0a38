#include "cards/card.h"

#include <QtGlobal>

namespace {

struct SuitWords
{
    char face_letter;
    char open_letter;
    const char *name;
};

constexpr SuitWords kSuits[] = {
    // face  open  name
    {'s', 'S', QT_TRANSLATE_NOOP("Kestrano", "Spades")},
    {'c', 'C', QT_TRANSLATE_NOOP("Kestrano", "Clubs")},
    {'h', 'H', QT_TRANSLATE_NOOP("Kestrano", "Hearts")},
    {'d', 'D', QT_TRANSLATE_NOOP("Kestrano", "Diamonds")},
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

// The tool tips of dealt cards, by suit and rank, as the translation knows
// them.  Diamonds are written "Dia" at positions 3 to 5 and "dia" at 1 and 2,
// and the 4 of diamonds at position 5 is named with a leading zero.
constexpr const char *kToolTips[4][13] = {
    {QT_TRANSLATE_NOOP("Kestrano", "Spade A draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 2 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 3 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 4 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 5 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 6 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 7 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 8 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 9 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade 10 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade Jack draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade Queen draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Spade King draw card")},
    {QT_TRANSLATE_NOOP("Kestrano", "Kurobar A draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 2 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 3 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 4 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 5 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 6 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 7 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 8 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 9 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar 10 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar Jack draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar Queen draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Kurobar King draw card")},
    {QT_TRANSLATE_NOOP("Kestrano", "Hurt A draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 2 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 3 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 4 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 5 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 6 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 7 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 8 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 9 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt 10 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt Jack draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt Queen draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Hurt King draw card")},
    {QT_TRANSLATE_NOOP("Kestrano", "Dia A draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 2 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 3 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 4 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 5 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 6 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 7 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 8 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 9 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia 10 draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia Jack draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia Queen draw card"),
     QT_TRANSLATE_NOOP("Kestrano", "Dia King draw card")},
};

constexpr const char *kLowerDiamondToolTips[13] = {
    QT_TRANSLATE_NOOP("Kestrano", "dia A draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 2 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 3 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 4 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 5 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 6 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 7 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 8 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 9 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia 10 draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia Jack draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia Queen draw card"),
    QT_TRANSLATE_NOOP("Kestrano", "dia King draw card")};

constexpr int kFourOfDiamonds = 43;
constexpr const char *kFourOfDiamondsAtFive = QT_TRANSLATE_NOOP("Kestrano", "Dia 04 draw card");

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
    const int rank = card_rank(card);
    if (suit == Suit::Diamonds && position <= 2)
        return QString::fromLatin1(kLowerDiamondToolTips[rank - 1]);
    return QString::fromLatin1(kToolTips[static_cast<int>(suit)][rank - 1]);
}
