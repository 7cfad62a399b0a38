// Playing from the keyboard: 1 to 5 press the card buttons, D "Deal cards"
// and O "Card open".
#include "table/kestrano.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

void Kestrano::create_keys()
{
    // A key does exactly what a click could do at that moment, and nothing on
    // a button that is hidden or disabled.
    auto press_on = [this](int key, QPushButton *button) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
    };
    for (int p = 1; p <= 5; ++p)
        press_on(Qt::Key_1 + p - 1, card_button(p));
    press_on(Qt::Key_D, deal_button);
    press_on(Qt::Key_O, cpu_open_button);
}
