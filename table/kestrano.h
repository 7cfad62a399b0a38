// The game's main window: the green table, its widgets and every step of play.
#pragma once

#include <QMainWindow>
#include <QString>

#include "cards/rules.h"

class QAction;
class QLabel;
class QLayout;
class QMenu;
class QPaintEvent;
class QPushButton;
class Announcer;
class Help_explain;
class Version;

class Kestrano : public QMainWindow
{
    Q_OBJECT

public:
    Kestrano();
    ~Kestrano() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void card_deal();
    void push_button1_click();
    void push_button2_click();
    void push_button3_click();
    void push_button4_click();
    void push_button5_click();
    void cpu_open_button_click();
    void card_deal_timer();
    void Show_Round();
    void lose_timer();
    void win_timer();
    void user_cpu_tie_timer();
    void user_lose();
    void user_win();
    void user_cpu_tie();
    void Beginer_start();
    void Game_close();
    void Help_Version();
    void Help_Explain();
    void Beginer_start_timer();
    void Compare_cpu_user(int x, int y);

private:
    friend struct KestranoProbe; // tests reach the private state through it

    // Construction steps, in the order the constructor runs them.
    void create_widgets();
    void First_Shown();
    QLayout *build_layout();
    void create_actions();
    void create_menus();
    void connect_buttons();
    void create_keys();

    // Match shuffle.
    void card_shuffle();

    // Dealing a round.
    void Secand_Card_deal_Push_shown();
    void draw_card(int position);
    void reset_empty_hand();
    // What every end of a match does, the verdict and the next shuffle
    // included; "Deal cards" is left enabled or not.
    void end_match(bool deal_enabled);

    // The user's plays.
    void press_card(int position);
    void button_check(int position);
    void play_picture(int position);

    // The CPU's open.
    void load_cpu_hand();
    void reenable_card_buttons();
    void open_cpu_card(int card);

    // Judging.
    void score_refresh();
    void show_notice(const char *notice, const char *clearing_slot);
    void match_result();

    // The members of hand position 1..5.
    QPushButton *card_button(int position) const { return this->*kCardButtons[position - 1]; }
    QLabel *user_card_label(int position) const { return this->*kUserCardLabels[position - 1]; }
    QLabel *cpu_card_label(int position) const { return this->*kCpuCardLabels[position - 1]; }
    int hand_card(int position) const { return this->*kUserHand[position - 1]; }
    int cpu_hand_card(int position) const { return this->*kCpuHand[position - 1]; }
    // The card buttons that are hidden (played) now.
    Positions hidden_card_buttons() const;

    Version *version_dialog = nullptr;
    Help_explain *help_browser = nullptr;
    QLabel *score_label = nullptr;
    QString score_text;
    QLabel *round_label = nullptr;
    QString round_text;
    QLabel *cpu_card_label1 = nullptr;
    QLabel *cpu_card_label2 = nullptr;
    QLabel *cpu_card_label3 = nullptr;
    QLabel *cpu_card_label4 = nullptr;
    QLabel *cpu_card_label5 = nullptr;
    QLabel *user_card_label1 = nullptr;
    QLabel *user_card_label2 = nullptr;
    QLabel *user_card_label3 = nullptr;
    QLabel *user_card_label4 = nullptr;
    QLabel *user_card_label5 = nullptr;
    QLabel *cpu_play_label = nullptr;
    QLabel *user_play_label = nullptr;
    QLabel *deck_label = nullptr;
    QLabel *result_label = nullptr;
    QPushButton *deal_button = nullptr;
    QPushButton *push_button1 = nullptr;
    QPushButton *push_button2 = nullptr;
    QPushButton *push_button3 = nullptr;
    QPushButton *push_button4 = nullptr;
    QPushButton *push_button5 = nullptr;
    QPushButton *cpu_open_button = nullptr;
    Announcer *announcer = nullptr; // what a screen reader says by itself
    // Hands of the current round (card numbers, 0 before the first deal).
    int buf_deal1 = 0, buf_deal2 = 0, buf_deal3 = 0, buf_deal4 = 0, buf_deal5 = 0;
    int buf_cpu_deal1 = 0, buf_cpu_deal2 = 0, buf_cpu_deal3 = 0, buf_cpu_deal4 = 0,
        buf_cpu_deal5 = 0;
    // Scratch of the match shuffle: the row and deal-table positions last drawn.
    int n1, n2, n3, n4, n5, n6;
    int nn1, nn2, nn3, nn4, nn5, nn6, nn7, nn8, nn9, nn10, nn11, nn12;
    int nn13, nn14, nn15, nn16, nn17, nn18, nn19, nn20, nn21, nn22, nn23, nn24;
    QMenu *game_menu = nullptr;
    QMenu *help_menu = nullptr;
    QAction *start_action = nullptr;
    QAction *close_action = nullptr;
    QAction *version_action = nullptr;
    QAction *explain_action = nullptr;

    // Each family of numbered members, in number order.  Everything that
    // walks a family goes through its table; no other list of them is kept.
    static constexpr QPushButton *Kestrano::*kCardButtons[] = {
        &Kestrano::push_button1, &Kestrano::push_button2, &Kestrano::push_button3,
        &Kestrano::push_button4, &Kestrano::push_button5};
    static constexpr QLabel *Kestrano::*kUserCardLabels[] = {
        &Kestrano::user_card_label1, &Kestrano::user_card_label2, &Kestrano::user_card_label3,
        &Kestrano::user_card_label4, &Kestrano::user_card_label5};
    static constexpr QLabel *Kestrano::*kCpuCardLabels[] = {
        &Kestrano::cpu_card_label1, &Kestrano::cpu_card_label2, &Kestrano::cpu_card_label3,
        &Kestrano::cpu_card_label4, &Kestrano::cpu_card_label5};
    static constexpr int Kestrano::*kUserHand[] = {&Kestrano::buf_deal1, &Kestrano::buf_deal2,
                                                   &Kestrano::buf_deal3, &Kestrano::buf_deal4,
                                                   &Kestrano::buf_deal5};
    static constexpr int Kestrano::*kCpuHand[] = {
        &Kestrano::buf_cpu_deal1, &Kestrano::buf_cpu_deal2, &Kestrano::buf_cpu_deal3,
        &Kestrano::buf_cpu_deal4, &Kestrano::buf_cpu_deal5};
    static constexpr int Kestrano::*kRowPositions[] = {&Kestrano::n1, &Kestrano::n2, &Kestrano::n3,
                                                       &Kestrano::n4, &Kestrano::n5, &Kestrano::n6};
    static constexpr int Kestrano::*kTablePositions[] = {
        &Kestrano::nn1,  &Kestrano::nn2,  &Kestrano::nn3,  &Kestrano::nn4,  &Kestrano::nn5,
        &Kestrano::nn6,  &Kestrano::nn7,  &Kestrano::nn8,  &Kestrano::nn9,  &Kestrano::nn10,
        &Kestrano::nn11, &Kestrano::nn12, &Kestrano::nn13, &Kestrano::nn14, &Kestrano::nn15,
        &Kestrano::nn16, &Kestrano::nn17, &Kestrano::nn18, &Kestrano::nn19, &Kestrano::nn20,
        &Kestrano::nn21, &Kestrano::nn22, &Kestrano::nn23, &Kestrano::nn24};
};
