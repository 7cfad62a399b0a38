// Playing from the keyboard: 1 to 5 press the card buttons, D "Deal cards"
// and O "Card open".
#include "table/kestrano.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

void Kestrano::create_keys()
{
    struct Key
    {
        Qt::Key key;
        QPushButton *button;
    };
    const Key keys[] = {
        {Qt::Key_1, push_button1},    {Qt::Key_2, push_button2}, {Qt::Key_3, push_button3},
        {Qt::Key_4, push_button4},    {Qt::Key_5, push_button5}, {Qt::Key_D, deal_button},
        {Qt::Key_O, cpu_open_button},
    };
    for (const Key &key : keys) {
        auto *shortcut = new QShortcut(QKeySequence(key.key), this);
        QPushButton *button = key.button;
        // A key does exactly what a click could do at that moment, and
        // nothing on a button that is hidden or disabled.
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
    }
}
