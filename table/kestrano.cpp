// Construction, layout, painting and the hand-position helpers of the window.
#include "table/kestrano.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include <cstdio>

#include "dialogs/help_explain.h"
#include "dialogs/look.h"
#include "dialogs/version.h"
#include "table/game_state.h"
#include "table/picture.h"
#include "table/screen_reader.h"

namespace {

template <typename Widget> Widget *named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    return named(widget, QLatin1String(name));
}

// The texts of the card buttons, by position.
constexpr const char *kCardButtonTexts[] = {
    QT_TRANSLATE_NOOP("Kestrano", "1"), QT_TRANSLATE_NOOP("Kestrano", "2"),
    QT_TRANSLATE_NOOP("Kestrano", "3"), QT_TRANSLATE_NOOP("Kestrano", "4"),
    QT_TRANSLATE_NOOP("Kestrano", "5")};

} // namespace

Kestrano::Kestrano()
{
    install_table_accessibility();
    version_dialog = new Version;
    help_browser = new Help_explain;
    setFixedSize(640, 480);
    auto *central = new QWidget(this);
    setWindowTitle(tr("Title:12-1"));
    create_widgets();
    First_Shown();
    central->setLayout(build_layout());
    setCentralWidget(central);
    create_actions();
    create_menus();
    card_shuffle();
    statusBar()->setSizeGripEnabled(false); // the table has a fixed size
    connect_buttons();
    create_keys();
}

Kestrano::~Kestrano()
{
    // The two secondary windows have no parent; they go with the table.
    delete version_dialog;
    delete help_browser;
}

void Kestrano::create_widgets()
{
    deal_button = named(new QPushButton(tr("Deal cards"), this), "deal_button");
    deal_button->setCursor(Qt::PointingHandCursor);
    deal_button->setToolTip(tr("Card deal"));
    deal_button->setEnabled(false);

    cpu_open_button = named(new QPushButton(tr("Card open"), this), "cpu_open_button");
    cpu_open_button->setCursor(Qt::PointingHandCursor);

    score_label = named(new QLabel(this), "score_label");
    set_display_font(score_label, 18);
    score_refresh();

    result_label = named(new QLabel(this), "result_label");
    set_display_font(result_label, 15);
    result_label->hide();

    round_label = named(new QLabel(this), "round_label");
    set_display_font(round_label, 24);
    round_text = tr("Round %1").arg(count, 0, 10, QLatin1Char(' '));
    round_label->setText(round_text);
    round_label->hide();

    for (int p = 1; p <= 5; ++p)
        this->*kCpuCardLabels[p - 1] =
            named(new CardPlace(this), QStringLiteral("cpu_card_label%1").arg(p));
    for (int p = 1; p <= 5; ++p)
        this->*kUserCardLabels[p - 1] =
            named(new CardPlace(this), QStringLiteral("user_card_label%1").arg(p));

    for (int p = 1; p <= 5; ++p) {
        QPushButton *button = named(new QPushButton(tr(kCardButtonTexts[p - 1]), this),
                                    QStringLiteral("push_button%1").arg(p));
        button->setCursor(Qt::PointingHandCursor);
        this->*kCardButtons[p - 1] = button;
    }

    cpu_play_label = named(new CardPlace(this), "cpu_play_label");
    user_play_label = named(new CardPlace(this), "user_play_label");
    deck_label = named(new CardPlace(this), "deck_label");
    show_card_back(deck_label);

    // Every card place keeps the size of a card while it is empty, so that
    // the cards on the table do not move when one is played.
    const QSize card_size = deck_label->pixmap().deviceIndependentSize().toSize();
    for (int p = 1; p <= 5; ++p) {
        cpu_card_label(p)->setMinimumSize(card_size);
        user_card_label(p)->setMinimumSize(card_size);
    }
    for (QLabel *label : {cpu_play_label, user_play_label, deck_label})
        label->setMinimumSize(card_size);

    announcer = named(new Announcer(this), "announcer");
}

void Kestrano::First_Shown()
{
    for (int p = 1; p <= 5; ++p)
        card_button(p)->hide();
    cpu_open_button->setEnabled(false);
    deal_button->setEnabled(false);
    std::printf("First_Shown()\n");
}

QLayout *Kestrano::build_layout()
{
    QList<QWidget *> cpu_hand;
    for (int p = 1; p <= 5; ++p)
        cpu_hand << cpu_card_label(p);

    // Six centred rows, top to bottom, the hand's grid last; nullptr stands
    // for a stretch.
    const QList<QWidget *> rows[] = {
        {score_label},
        cpu_hand,
        {result_label},
        {round_label},
        {deal_button, cpu_open_button, nullptr, cpu_play_label, user_play_label, nullptr,
         deck_label},
    };

    auto *table = new QVBoxLayout;
    for (const QList<QWidget *> &row : rows) {
        if (table->count() > 0)
            table->addStretch(0);
        table->addLayout(centred_row(row));
    }

    auto *hand = new QGridLayout;
    hand->setObjectName(QStringLiteral("hand_grid"));
    for (int p = 1; p <= 5; ++p) {
        hand->addWidget(card_button(p), 0, p - 1, Qt::AlignHCenter);
        hand->addWidget(user_card_label(p), 1, p - 1, Qt::AlignHCenter);
        // Keep a played card's column as wide as when its button showed.
        hand->setColumnMinimumWidth(p - 1, card_button(p)->sizeHint().width());
    }
    auto *last = new QHBoxLayout;
    last->addStretch(0);
    last->addLayout(hand);
    last->addStretch(0);
    table->addStretch(0);
    table->addLayout(last);
    return table;
}

void Kestrano::connect_buttons()
{
    connect(deal_button, &QPushButton::clicked, this, &Kestrano::Show_Round);
    connect(cpu_open_button, &QPushButton::clicked, this, &Kestrano::cpu_open_button_click);
    static constexpr void (Kestrano::*card_slots[])() = {
        &Kestrano::push_button1_click, &Kestrano::push_button2_click, &Kestrano::push_button3_click,
        &Kestrano::push_button4_click, &Kestrano::push_button5_click};
    for (int p = 1; p <= 5; ++p)
        connect(card_button(p), &QPushButton::clicked, this, card_slots[p - 1]);
}

void Kestrano::paintEvent(QPaintEvent *)
{
    paint_green_cloth(this);
}

Positions Kestrano::hidden_card_buttons() const
{
    Positions hidden = 0;
    for (int p = 1; p <= 5; ++p) {
        if (card_button(p)->isHidden())
            hidden |= position_bit(p);
    }
    return hidden;
}
