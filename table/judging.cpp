// Judging one pair of opened cards: tallies, score line, sound and notice.
#include "table/kestrano.h"

#include <QLabel>
#include <QTimer>

#include <cstdio>

#include "table/delays.h"
#include "table/game_state.h"
#include "table/sound.h"

namespace {

constexpr const char *kLoseSound = "wave/12-1/lose_wav.wav";
constexpr const char *kWinSound = "wave/12-1/win_vic.wav";
constexpr const char *kTieSound = "wave/12-1/tie.wav";

// The four outcomes of two different ranks x (CPU) and y (user), d = |x - y|.
struct Pattern
{
    bool cpu_higher; // x > y
    bool far_apart;  // d >= 6
    int *tally;
    const char *trace; // filled with d and the three tallies
    const char *sound;
    void (Kestrano::*notice)();
    const char *closing; // filled with the three tallies, no line end
};

} // namespace

void Kestrano::Compare_cpu_user(int x, int y)
{
    if (x == y) {
        ++tie_score;
        score_refresh();
        std::printf("tie :3.CPU=%d,User=%d,tie=%d", cpu_score, user_score, tie_score);
        user_cpu_tie_timer();
        play_sound(QLatin1String(kTieSound));
        return;
    }

    const Pattern patterns[] = {
        // x>y   d>=6   tally         trace
        {true, true, &cpu_score, "Patern 1,x-y=%d,cpu win:CPU=%d,User=%d,tie=%d\n", kLoseSound,
         &Kestrano::lose_timer, "1.CPU=%d,User=%d,tie=%d"},
        {true, false, &user_score, "Patern2,x-y=%d,user win:CPU=%d,User=%d,tie=%d\n", kWinSound,
         &Kestrano::win_timer, "1.CPU=%d,User=%d,tie=%d"},
        {false, true, &user_score, "Patern 3,y-x=%d,user win:CPU=%d,User=%d,tie=%d\n", kWinSound,
         &Kestrano::win_timer, "2.CPU=%d,User=%d,tie=%d"},
        {false, false, &cpu_score, "Patern 4,y-x=%d,cpu win:CPU=%d,User=%d,tie=%d\n", kLoseSound,
         &Kestrano::lose_timer, "2.CPU=%d,User=%d,tie=%d"},
    };

    std::printf("!x==y\n");
    const bool cpu_higher = x > y;
    const int d = cpu_higher ? x - y : y - x;
    for (const Pattern &pattern : patterns) {
        if (pattern.cpu_higher != cpu_higher || pattern.far_apart != (d >= 6))
            continue;
        ++*pattern.tally;
        score_refresh();
        std::printf(pattern.trace, d, cpu_score, user_score, tie_score);
        play_sound(QLatin1String(pattern.sound));
        (this->*pattern.notice)();
        std::printf(pattern.closing, cpu_score, user_score, tie_score);
        return;
    }
}

void Kestrano::score_refresh()
{
    score_text = tr("CPU=%1,User=%2,tie=%3")
                     .arg(cpu_score, 0, 10, QLatin1Char(' '))
                     .arg(user_score, 0, 10, QLatin1Char(' '))
                     .arg(tie_score, 0, 10, QLatin1Char(' '));
    score_label->setText(score_text);
}

void Kestrano::show_notice(const char *notice, const char *clearing_slot)
{
    result_label->show();
    result_label->setText(tr(notice));
    QTimer::singleShot(game_delay(kNoticeDelayMs), this, clearing_slot);
}

void Kestrano::lose_timer()
{
    show_notice(QT_TR_NOOP("User lose"), SLOT(user_lose()));
}

void Kestrano::win_timer()
{
    show_notice(QT_TR_NOOP("User win"), SLOT(user_win()));
}

void Kestrano::user_cpu_tie_timer()
{
    show_notice(QT_TR_NOOP("This is tie It's no count"), SLOT(user_cpu_tie()));
}

void Kestrano::user_lose()
{
    result_label->clear();
}

void Kestrano::user_win()
{
    result_label->clear();
}

void Kestrano::user_cpu_tie()
{
    result_label->clear();
}
