// Construction, layout, painting and the hand-position helpers of the window.
#include "table/kestrano.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>

#include <cstdio>

#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/game_state.h"
#include "table/picture.h"

namespace {

// A label's font: its own, at `points` in the family "minamoji".
void set_label_font(QLabel *label, int points)
{
    QFont font = label->font();
    font.setPointSize(points);
    font.setFamily(QStringLiteral("minamoji"));
    label->setFont(font);
}

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

Kestrano::Kestrano()
{
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
    set_label_font(score_label, 18);
    score_refresh();

    result_label = named(new QLabel(this), "result_label");
    set_label_font(result_label, 15);
    result_label->hide();

    round_label = named(new QLabel(this), "round_label");
    set_label_font(round_label, 24);
    round_text = tr("Round %1").arg(count, 0, 10, QLatin1Char(' '));
    round_label->setText(round_text);
    round_label->hide();

    auto card_label = [this](const char *name) { return named(new QLabel(this), name); };
    cpu_card_label1 = card_label("cpu_card_label1");
    cpu_card_label2 = card_label("cpu_card_label2");
    cpu_card_label3 = card_label("cpu_card_label3");
    cpu_card_label4 = card_label("cpu_card_label4");
    cpu_card_label5 = card_label("cpu_card_label5");
    user_card_label1 = card_label("user_card_label1");
    user_card_label2 = card_label("user_card_label2");
    user_card_label3 = card_label("user_card_label3");
    user_card_label4 = card_label("user_card_label4");
    user_card_label5 = card_label("user_card_label5");

    auto numbered_button = [this](const char *text, const char *name) {
        QPushButton *button = named(new QPushButton(tr(text), this), name);
        button->setCursor(Qt::PointingHandCursor);
        return button;
    };
    push_button1 = numbered_button(QT_TR_NOOP("1"), "push_button1");
    push_button2 = numbered_button(QT_TR_NOOP("2"), "push_button2");
    push_button3 = numbered_button(QT_TR_NOOP("3"), "push_button3");
    push_button4 = numbered_button(QT_TR_NOOP("4"), "push_button4");
    push_button5 = numbered_button(QT_TR_NOOP("5"), "push_button5");

    cpu_play_label = named(new QLabel(this), "cpu_play_label");
    user_play_label = named(new QLabel(this), "user_play_label");
    deck_label = named(new QLabel(this), "deck_label");
    show_card_back(deck_label);

    // Every card place keeps the size of a card while it is empty, so that
    // the cards on the table do not move when one is played.
    const QSize card_size = deck_label->pixmap().deviceIndependentSize().toSize();
    for (QLabel *label :
         {cpu_card_label1, cpu_card_label2, cpu_card_label3, cpu_card_label4, cpu_card_label5,
          user_card_label1, user_card_label2, user_card_label3, user_card_label4, user_card_label5,
          cpu_play_label, user_play_label, deck_label})
        label->setMinimumSize(card_size);
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
    // Six centred rows, top to bottom; nullptr stands for a stretch.
    const QList<QWidget *> rows[] = {
        {nullptr, score_label, nullptr},
        {nullptr, cpu_card_label1, cpu_card_label2, cpu_card_label3, cpu_card_label4,
         cpu_card_label5, nullptr},
        {nullptr, result_label, nullptr},
        {nullptr, round_label, nullptr},
        {nullptr, deal_button, cpu_open_button, nullptr, cpu_play_label, user_play_label, nullptr,
         deck_label, nullptr},
    };

    auto *table = new QVBoxLayout;
    for (const QList<QWidget *> &row : rows) {
        if (table->count() > 0)
            table->addStretch(0);
        auto *line = new QHBoxLayout;
        for (QWidget *widget : row) {
            if (widget)
                line->addWidget(widget, 0);
            else
                line->addStretch(0);
        }
        table->addLayout(line);
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
    connect(push_button1, &QPushButton::clicked, this, &Kestrano::push_button1_click);
    connect(push_button2, &QPushButton::clicked, this, &Kestrano::push_button2_click);
    connect(push_button3, &QPushButton::clicked, this, &Kestrano::push_button3_click);
    connect(push_button4, &QPushButton::clicked, this, &Kestrano::push_button4_click);
    connect(push_button5, &QPushButton::clicked, this, &Kestrano::push_button5_click);
}

void Kestrano::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::green, Qt::SolidPattern));
    painter.drawRect(0, 0, 640, 480);
    painter.end();
}

QPushButton *Kestrano::card_button(int position) const
{
    QPushButton *const buttons[] = {push_button1, push_button2, push_button3, push_button4,
                                    push_button5};
    return buttons[position - 1];
}

QLabel *Kestrano::user_card_label(int position) const
{
    QLabel *const labels[] = {user_card_label1, user_card_label2, user_card_label3,
                              user_card_label4, user_card_label5};
    return labels[position - 1];
}

QLabel *Kestrano::cpu_card_label(int position) const
{
    QLabel *const labels[] = {cpu_card_label1, cpu_card_label2, cpu_card_label3, cpu_card_label4,
                              cpu_card_label5};
    return labels[position - 1];
}

int Kestrano::hand_card(int position) const
{
    const int cards[] = {buf_deal1, buf_deal2, buf_deal3, buf_deal4, buf_deal5};
    return cards[position - 1];
}

int Kestrano::cpu_hand_card(int position) const
{
    const int cards[] = {buf_cpu_deal1, buf_cpu_deal2, buf_cpu_deal3, buf_cpu_deal4, buf_cpu_deal5};
    return cards[position - 1];
}
