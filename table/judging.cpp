// Judging one pair of opened cards: tallies, score line, sound and notice.
#include "table/kestrano.h"

#include <QLabel>
#include <QTimer>

#include <cstdio>

#include "cards/rules.h"
#include "table/delays.h"
#include "table/game_state.h"
#include "table/screen_reader.h"
#include "table/sound.h"
#include "table/sound_files.h"

namespace {

// What the four patterns do; the tie has steps of its own.
struct Pattern
{
    int *tally;
    const char *trace; // filled with the distance and the three tallies
    const char *sound;
    void (Kestrano::*notice)();
    const char *closing; // filled with the three tallies, no line end
};

} // namespace

void Kestrano::Compare_cpu_user(int x, int y)
{
    const Judgement judgement = judge_pair(x, y);
    if (judgement.outcome == Outcome::Tie) {
        ++tie_score;
        score_refresh();
        std::printf("tie :3.CPU=%d,User=%d,tie=%d", cpu_score, user_score, tie_score);
        user_cpu_tie_timer();
        play_sound(QLatin1String(kTieSound));
        return;
    }

    // By pattern 1..4.
    static constexpr Pattern patterns[] = {
        {&cpu_score, "Patern 1,x-y=%d,cpu win:CPU=%d,User=%d,tie=%d\n", kLoseSound,
         &Kestrano::lose_timer, "1.CPU=%d,User=%d,tie=%d"},
        {&user_score, "Patern2,x-y=%d,user win:CPU=%d,User=%d,tie=%d\n", kWinSound,
         &Kestrano::win_timer, "1.CPU=%d,User=%d,tie=%d"},
        {&user_score, "Patern 3,y-x=%d,user win:CPU=%d,User=%d,tie=%d\n", kWinSound,
         &Kestrano::win_timer, "2.CPU=%d,User=%d,tie=%d"},
        {&cpu_score, "Patern 4,y-x=%d,cpu win:CPU=%d,User=%d,tie=%d\n", kLoseSound,
         &Kestrano::lose_timer, "2.CPU=%d,User=%d,tie=%d"},
    };
    const Pattern &pattern =
        patterns[static_cast<int>(judgement.outcome) - static_cast<int>(Outcome::Pattern1)];

    std::printf("!x==y\n");
    ++*pattern.tally;
    score_refresh();
    std::printf(pattern.trace, judgement.distance, cpu_score, user_score, tie_score);
    play_sound(QLatin1String(pattern.sound));
    (this->*pattern.notice)();
    std::printf(pattern.closing, cpu_score, user_score, tie_score);
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
    show_to_screen_readers(result_label);
    result_label->setText(tr(notice));
    QTimer::singleShot(game_delay(kNoticeDelayMs), Qt::PreciseTimer, this, clearing_slot);
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
