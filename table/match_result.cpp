// The verdict at the end of a match.
#include "table/kestrano.h"

#include <QAction>
#include <QMessageBox>

#include "table/game_state.h"

namespace {

const char *const kCpuWinsMatch =
    QT_TRANSLATE_NOOP("Kestrano", "CPU=%1,User=%2,tie=%3 \n\nCPU Win,You lose");
const char *const kUserWinsMatch =
    QT_TRANSLATE_NOOP("Kestrano", "CPU=%1,User=%2,tie=%3 \n\nYou Win,CPU lose");
const char *const kDrawnMatch =
    QT_TRANSLATE_NOOP("Kestrano", "CPU=%1,User=%2,tie=%3 \n\nYou CPU,You tie");

} // namespace

void Kestrano::match_result()
{
    start_action->setEnabled(true);

    // Ties never decide the match.
    const char *verdict = cpu_score > user_score   ? kCpuWinsMatch
                          : cpu_score < user_score ? kUserWinsMatch
                                                   : kDrawnMatch;
    const QString text = tr(verdict)
                             .arg(cpu_score, 0, 10, QLatin1Char(' '))
                             .arg(user_score, 0, 10, QLatin1Char(' '))
                             .arg(tie_score, 0, 10, QLatin1Char(' '));
    QMessageBox::information(this, tr("information"), text, QMessageBox::Ok, QMessageBox::NoButton);

    cpu_score = 0;
    user_score = 0;
    tie_score = 0;
    score_refresh();
}
