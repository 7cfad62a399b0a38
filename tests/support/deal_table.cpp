#include "tests/support/deal_table.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

#include "table/game_state.h"

void lay_deal_table(int first, const QList<int> &cards)
{
    QList<int> rest;
    for (int card = 1; card <= 52; ++card) {
        if (!cards.contains(card))
            rest << card;
    }
    int next = 0;
    for (int i = 0; i < 52; ++i)
        buf_r[i] =
            i >= first && i < first + cards.size() ? cards.at(i - first) : rest.value(next++);
}

bool deal_table_is_a_deck()
{
    int sorted[52];
    std::copy(std::begin(buf_r), std::end(buf_r), sorted);
    std::sort(std::begin(sorted), std::end(sorted));
    for (int i = 0; i < 52; ++i) {
        if (sorted[i] != i + 1)
            return false;
    }
    return true;
}

bool deal_table_is_rows_end_to_end()
{
    for (int i = 0; i < 52; ++i) {
        if (buf_r[i] != i + 1)
            return false;
    }
    return true;
}

QString joined(const QList<int> &values)
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts.join(QLatin1Char(','));
}
