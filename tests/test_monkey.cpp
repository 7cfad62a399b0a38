// A monkey at the table.  From a fresh window it does thousands of random
// things a person can do -- the menu commands and Ctrl+B, clicks on every
// button whether it can be pressed or not, single and double, the play keys,
// the help and version windows, answers to the boxes or dismissing them,
// closing the table -- with waits that end inside the game's pauses, until
// it has played many whole matches.  After every action the game must still
// know where it is in the match.
//
// The input is real: clicks and keys go in where the window system hands
// them to Qt, so a click lands on whatever is really under the pointer (where
// a card button is hidden, that is the table, not the button), a blocked
// window ignores them while a box is open, and keys go to the window that has
// the keyboard.  Menu entries are chosen only while they are enabled, as in a
// menu.  The verdict and close boxes run nested event loops; the monkey acts
// and answers from inside them, like a person in front of the box.  Closing
// the table (by the menu's question or by its frame) ends that run of the
// program; the next one starts from a fresh window and fresh game state.
//
// Every run has a fixed seed, printed with any failure.  To replay one:
//     KESTRANO_MONKEY_SEED=<seed> tests/test_monkey
// and KESTRANO_MONKEY_MATCHES=<n> sets the whole matches it plays.  The game's
// pauses run on the wall clock (shortened for tests), so a replay makes the
// same choices, but the game's timers may fall between them a little
// differently.
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <random>

#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/offscreen_warnings.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

constexpr double kDelayScale = 0.01;
constexpr int kMatchesPerRun = 17; // three runs: 51 whole matches
// A run that needs more actions than this per match has stopped moving on.
constexpr int kActionsPerMatchLimit = 1500;
// Actions in front of an open box before it is answered for sure.
constexpr int kBoxActionsLimit = 25;
constexpr int kRecentActions = 14;

constexpr char kSeedVariable[] = "KESTRANO_MONKEY_SEED";
constexpr char kMatchesVariable[] = "KESTRANO_MONKEY_MATCHES";

const QString kDealSound = QStringLiteral("wave/12-1/deel.wav");
const QString kDrawSound = QStringLiteral("wave/12-1/draw_wav.wav");
// Who took a pair, as its sound tells: the CPU, the user, nobody.
const QStringList kResultSounds = {QStringLiteral("wave/12-1/lose_wav.wav"),
                                   QStringLiteral("wave/12-1/win_vic.wav"),
                                   QStringLiteral("wave/12-1/tie.wav")};

// The last step of play, as the sound it started tells.
enum class Step
{
    None,
    Deal,
    Press,
    Open
};

// What a single action may change; the game's timers never change these.
struct Snapshot
{
    int count;
    int buf_n;
    int cpu_cout;
    int judged; // sum of the three tallies

    bool operator==(const Snapshot &other) const
    {
        return count == other.count && buf_n == other.buf_n && cpu_cout == other.cpu_cout &&
               judged == other.judged;
    }
    QString text() const
    {
        return QStringLiteral("count=%1 buf_n=%2 cpu_cout=%3 tallies=%4")
            .arg(count)
            .arg(buf_n)
            .arg(cpu_cout)
            .arg(judged);
    }
};

Snapshot snapshot()
{
    return {count, buf_n, cpu_cout, cpu_score + user_score + tie_score};
}

// What an action must do to the game.
enum class Expect
{
    Anything,
    Nothing, // aimed at a button that cannot be pressed
    OneStep, // aimed at a button that can be pressed
};

// Waits `ms` on the event loop, so that timers fire on time.
void wait_ms(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

class Monkey : public QObject
{
public:
    Monkey(quint32 seed, int matches) : seed(seed), wanted_matches(matches), random(seed)
    {
        qApp->installEventFilter(this);
    }
    ~Monkey() override { qApp->removeEventFilter(this); }

    // Plays; what the game printed is kept in `trace`.
    void run();

    const quint32 seed;
    const int wanted_matches;
    int whole_matches = 0;
    QString failure; // the first rule broken, with the way there
    QByteArray trace;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A box has just been shown; it runs its own loop, where this fires.
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                QPointer<QMessageBox> shown(box);
                QTimer::singleShot(0, this, [this, shown] { in_front_of_box(shown); });
            }
        }
        return false;
    }

private:
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random); }

    void start_program();
    bool play_until_closed(int limit);
    void heard(const QString &path);
    void act();
    Expect act_usefully();
    Expect act_at_random();
    void in_front_of_box(QPointer<QMessageBox> box);
    void act_in_front_of_box(QMessageBox *box);
    void judge_verdict(QMessageBox *box);

    // Inputs.
    Expect choose(const char *command);
    Expect click(QWidget *target, bool twice);
    Expect click_somewhere(QWidget *top);
    Expect key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void pause();
    Expect wait_for_the_game();

    void note(const QString &action);
    void fail(const QString &what);
    void check_step(const Snapshot &before, Expect expect);
    void check_state(bool verdict_open);

    QPushButton *table_button(int i) const // 0 deal, 1 open, 2..6 the card buttons
    {
        return i == 0   ? table->deal_button()
               : i == 1 ? table->open_button()
                        : table->card_button(i - 1);
    }
    QPushButton *key_target(Qt::Key key) const;

    std::mt19937 random;
    std::unique_ptr<TableFixture> table;
    int actions = 0;

    // The match as the sounds tell it.
    Step last_step = Step::None;
    bool dealt_in_match = false;
    int taken[3] = {}; // pairs taken by the CPU, by the user, tied
    bool start_pending = false;

    bool box_open = false;
    std::deque<QString> recent;
};

// A fresh run of the program: a new window on fresh game state.
void Monkey::start_program()
{
    table.reset();
    table = std::make_unique<TableFixture>(kDelayScale);
    table->sound.on_play = [this](const QString &path) { heard(path); };
    if (!table->show_active())
        fail(QStringLiteral("the table never became the active window"));
    last_step = Step::None;
    dealt_in_match = false;
    std::fill(std::begin(taken), std::end(taken), 0);
    start_pending = false;
}

void Monkey::heard(const QString &path)
{
    const int result = static_cast<int>(kResultSounds.indexOf(path));
    if (path == kDealSound) {
        last_step = Step::Deal;
        dealt_in_match = true;
    } else if (path == kDrawSound) {
        last_step = Step::Press;
    } else if (result >= 0) {
        last_step = Step::Open;
        ++taken[result];
    } else {
        start_pending = true;
    }
    table->sound.played.clear();
}

void Monkey::run()
{
    const int limit = kActionsPerMatchLimit * (wanted_matches + 1);
    while (failure.isEmpty() && whole_matches < wanted_matches) {
        // The window is built outside the capture: building it captures too.
        start_program();
        trace += capture_stdout([&] {
            while (failure.isEmpty() && whole_matches < wanted_matches && play_until_closed(limit))
                ;
        });
    }
    table.reset();
}

// One action and the checks after it; false once the table has been closed
// (this run of the program is over when its pending timers have had their
// chance) or the run is to stop.
bool Monkey::play_until_closed(int limit)
{
    if (actions >= limit) {
        fail(QStringLiteral("%1 actions and only %2 whole matches: the game stopped moving on")
                 .arg(actions)
                 .arg(whole_matches));
        return false;
    }
    ++actions;
    act();
    if (!failure.isEmpty())
        return false;
    check_state(false);
    if (!table->window()->isHidden())
        return true;
    pause();
    check_state(false);
    return false;
}

void Monkey::act()
{
    const Snapshot before = snapshot();
    const Expect expect = chance(0.5) ? act_usefully() : act_at_random();
    check_step(before, expect);
}

// One of the things that move the match on, when there is one.
Expect Monkey::act_usefully()
{
    std::vector<std::function<Expect()>> moves;
    for (int i = 0; i < 7; ++i) {
        QPushButton *button = table_button(i);
        if (!pressable(button))
            continue;
        moves.push_back([this, button] {
            note(QStringLiteral("click %1").arg(button->objectName()));
            return click(button, false);
        });
    }
    if (table->start_action()->isEnabled())
        moves.push_back([this] { return choose("Game start"); });
    if (moves.empty())
        return wait_for_the_game();
    return moves[uniform(0, static_cast<int>(moves.size()) - 1)]();
}

Expect Monkey::act_at_random()
{
    Version *version = top_level<Version>();
    Help_explain *help = top_level<Help_explain>();
    struct Choice
    {
        int weight;
        std::function<Expect()> action;
    };
    // The play keys, what else a keyboard offers on a table of buttons, and
    // the way through the menus: Alt+G or Alt+H, arrows, Return.
    static const Qt::Key play_keys[] = {Qt::Key_1,    Qt::Key_2,      Qt::Key_3,      Qt::Key_4,
                                        Qt::Key_5,    Qt::Key_D,      Qt::Key_O,      Qt::Key_Space,
                                        Qt::Key_Tab,  Qt::Key_Return, Qt::Key_Escape, Qt::Key_B,
                                        Qt::Key_Down, Qt::Key_Up,     Qt::Key_Right};
    std::vector<Choice> choices = {
        {300,
         [&] {
             QPushButton *button = table_button(uniform(0, 6));
             const bool twice = chance(0.1);
             note(QStringLiteral("%1 %2%3").arg(
                 QLatin1String(twice ? "double-click" : "click"), button->objectName(),
                 QLatin1String(pressable(button) ? "" : " (cannot be pressed)")));
             return click(button, twice);
         }},
        {150,
         [&] {
             const Qt::Key chosen = play_keys[uniform(0, int(std::size(play_keys)) - 1)];
             note(QStringLiteral("key %1").arg(QKeySequence(chosen).toString()));
             return key(chosen);
         }},
        {40,
         [&] {
             note(QStringLiteral("Ctrl+B"));
             return key(Qt::Key_B, Qt::ControlModifier);
         }},
        {20,
         [&] {
             const Qt::Key menu = chance(0.5) ? Qt::Key_G : Qt::Key_H;
             note(QStringLiteral("Alt+%1").arg(QKeySequence(menu).toString()));
             return key(menu, Qt::AltModifier);
         }},
        {30,
         [&] {
             note(QStringLiteral("click on the table"));
             return click_somewhere(table->window());
         }},
        {120,
         [&] {
             pause();
             return Expect::Anything;
         }},
        {20, [&] { return choose("Version"); }},
        {20, [&] { return choose("Explain"); }},
        {5, [&] { return choose("close"); }},
        {2,
         [&] {
             note(QStringLiteral("close the table by its frame"));
             close_by_frame(table->window());
             return Expect::Anything;
         }},
    };
    if (table->start_action()->isEnabled())
        choices.push_back({20, [&] { return choose("Game start"); }});
    if (version && version->isVisible()) {
        choices.push_back({20, [&] {
                               note(QStringLiteral("close the version window by its frame"));
                               close_by_frame(version);
                               return Expect::Anything;
                           }});
        for (const char *name : {"ok_button", "next_button"}) {
            choices.push_back(
                {10, [&, name] {
                     note(
                         QStringLiteral("click %1 of the version window").arg(QLatin1String(name)));
                     return click(version->findChild<QPushButton *>(name), chance(0.1));
                 }});
        }
    }
    if (help && help->isVisible()) {
        choices.push_back({20, [&] {
                               note(QStringLiteral("close the help window by its frame"));
                               close_by_frame(help);
                               return Expect::Anything;
                           }});
        choices.push_back({10, [&] {
                               note(QStringLiteral("click in the help window"));
                               return click_somewhere(help);
                           }});
    }

    int total = 0;
    for (const Choice &choice : choices)
        total += choice.weight;
    int pick = uniform(0, total - 1);
    for (const Choice &choice : choices) {
        if (pick < choice.weight)
            return choice.action();
        pick -= choice.weight;
    }
    return Expect::Anything;
}

// A menu entry, chosen as from its menu: only while it is enabled.
Expect Monkey::choose(const char *command)
{
    note(QStringLiteral("menu %1").arg(QLatin1String(command)));
    QAction *action = table->action(QLatin1String(command));
    if (action->isEnabled())
        action->trigger();
    QCoreApplication::processEvents();
    return Expect::Anything;
}

// A click anywhere in a window, which activates it.
Expect Monkey::click_somewhere(QWidget *top)
{
    if (top->isHidden())
        return Expect::Anything;
    if (!QApplication::activeModalWidget()) {
        top->activateWindow();
        QCoreApplication::processEvents();
    }
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(uniform(2, top->width() - 2), uniform(2, top->height() - 2)));
    return Expect::Anything;
}

// A click at a random point of `target`, delivered to its window as the
// window system would.  A click activates a window that is not blocked.
Expect Monkey::click(QWidget *target, bool twice)
{
    QWidget *top = target->window();
    if (top->isHidden())
        return Expect::Anything;
    if (!QApplication::activeModalWidget() && !top->isActiveWindow()) {
        top->activateWindow();
        QCoreApplication::processEvents();
    }
    // Only now: a timer may have fired while the window came to the front.
    const bool could_press = pressable(target);
    // A click while a menu is open only closes the menu.
    const bool menu_open = QApplication::activePopupWidget() != nullptr;
    const QRect area = target->rect().adjusted(1, 1, -1, -1);
    QPoint place =
        target->mapTo(top, QPoint(uniform(area.left(), std::max(area.left(), area.right())),
                                  uniform(area.top(), std::max(area.top(), area.bottom()))));
    place.setX(std::clamp(place.x(), 1, top->width() - 1));
    place.setY(std::clamp(place.y(), 1, top->height() - 1));
    if (twice)
        QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, place);
    else
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, place);
    if (top != table->window())
        return Expect::Anything;
    if (!could_press)
        return Expect::Nothing;
    return menu_open ? Expect::Anything : Expect::OneStep;
}

QPushButton *Monkey::key_target(Qt::Key key) const
{
    if (key >= Qt::Key_1 && key <= Qt::Key_5)
        return table->card_button(key - Qt::Key_0);
    if (key == Qt::Key_D)
        return table->deal_button();
    return key == Qt::Key_O ? table->open_button() : nullptr;
}

// A key press on the window that has the keyboard, if any has.
Expect Monkey::key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWindow *focus = QGuiApplication::focusWindow();
    if (!focus)
        return Expect::Anything;
    QPushButton *target = modifiers == Qt::NoModifier ? key_target(key) : nullptr;
    const bool on_table = focus == table->window()->windowHandle() &&
                          !QApplication::activeModalWidget() && !QApplication::activePopupWidget();
    const bool could_press = target && pressable(target);
    QTest::keyClick(focus, key, modifiers);
    if (!target)
        return Expect::Anything;
    if (!could_press)
        return Expect::Nothing;
    return on_table ? Expect::OneStep : Expect::Anything;
}

// A wait that ends inside one of the game's pauses, if one is running.
void Monkey::pause()
{
    const int delays[] = {game_delay(kDealDelayMs), game_delay(kNoticeDelayMs),
                          game_delay(kStartDelayMs)};
    const int ms = uniform(0, delays[uniform(0, 2)] * 6 / 5);
    note(QStringLiteral("wait %1 ms").arg(ms));
    wait_ms(ms);
    if (table->deal_button()->isEnabled())
        start_pending = false;
}

// Nothing can be pressed: one of the game's pauses is running.
Expect Monkey::wait_for_the_game()
{
    const int ms = uniform(1, game_delay(kDealDelayMs));
    note(QStringLiteral("wait %1 ms for the game").arg(ms));
    wait_ms(ms);
    if (table->deal_button()->isEnabled())
        start_pending = false;
    return Expect::Anything;
}

void Monkey::in_front_of_box(QPointer<QMessageBox> box)
{
    // Answered in any case, also after a failure: its loop must end.
    if (!box || !box->isVisible() || box_open)
        return;
    box_open = true;
    const bool verdict = box->windowTitle() == QLatin1String("information");
    if (verdict)
        judge_verdict(box);
    check_state(verdict);

    for (int i = 0; i < kBoxActionsLimit && box && box->isVisible() && failure.isEmpty(); ++i) {
        ++actions;
        act_in_front_of_box(box);
        check_state(verdict);
    }
    if (box && box->isVisible()) {
        note(QStringLiteral("answer the box"));
        box->button(verdict ? QMessageBox::Ok : QMessageBox::No)->click();
    }
    if (verdict) {
        // The tallies go back to zero as soon as the box has returned.
        std::fill(std::begin(taken), std::end(taken), 0);
        dealt_in_match = false;
    }
    box_open = false;
}

void Monkey::act_in_front_of_box(QMessageBox *box)
{
    const Qt::Key box_keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Y,
                                Qt::Key_N,      Qt::Key_O,      Qt::Key_D,     Qt::Key_1,
                                Qt::Key_Tab,    Qt::Key_B};
    const int choice = uniform(0, 9);
    if (choice < 3) {
        pause();
    } else if (choice < 6) {
        const Qt::Key chosen = box_keys[uniform(0, int(std::size(box_keys)) - 1)];
        note(QStringLiteral("key %1 in front of the box").arg(QKeySequence(chosen).toString()));
        key(chosen, chosen == Qt::Key_B ? Qt::ControlModifier : Qt::NoModifier);
    } else if (choice < 8) {
        const QList<QAbstractButton *> buttons = box->buttons();
        QAbstractButton *button = buttons.at(uniform(0, static_cast<int>(buttons.size()) - 1));
        note(QStringLiteral("click %1 in the box").arg(button->text()));
        click(button, chance(0.1));
    } else if (choice == 8) {
        QPushButton *button = table_button(uniform(0, 6));
        const Snapshot before = snapshot();
        note(QStringLiteral("click %1 behind the box").arg(button->objectName()));
        click(button, false);
        check_step(before, Expect::Nothing);
    } else {
        note(QStringLiteral("close the box by its frame"));
        close_by_frame(box);
        QCoreApplication::processEvents();
    }
}

// The verdict box of a match: it tells the pairs the sounds told, and the
// side that took more of them.
void Monkey::judge_verdict(QMessageBox *box)
{
    const int judged = taken[0] + taken[1] + taken[2];
    const char *winner = taken[0] > taken[1]   ? "CPU Win,You lose"
                         : taken[0] < taken[1] ? "You Win,CPU lose"
                                               : "You CPU,You tie";
    const QString expected = QStringLiteral("CPU=%1,User=%2,tie=%3 \n\n%4")
                                 .arg(taken[0])
                                 .arg(taken[1])
                                 .arg(taken[2])
                                 .arg(QLatin1String(winner));
    if (box->text() != expected)
        fail(QStringLiteral("the verdict reads \"%1\" where \"%2\" was due")
                 .arg(box->text(), expected));
    if (count != 6)
        fail(QStringLiteral("a match ended at count=%1 with %2 pairs judged, not after its fifth "
                            "round")
                 .arg(count)
                 .arg(judged));
    else if (judged == 25)
        ++whole_matches;
    else
        fail(QStringLiteral("a match of five rounds judged %1 pairs").arg(judged));
}

void Monkey::note(const QString &action)
{
    recent.push_back(QStringLiteral("#%1 %2").arg(actions).arg(action));
    if (recent.size() > kRecentActions)
        recent.pop_front();
}

void Monkey::fail(const QString &what)
{
    if (!failure.isEmpty())
        return;
    QStringList way(recent.begin(), recent.end());
    failure = QStringLiteral("seed %1, action %2 (replay with %3=%1): %4\n  state: %5, "
                             "button_count=%6\n  last actions: %7")
                  .arg(seed)
                  .arg(actions)
                  .arg(QLatin1String(kSeedVariable), what, snapshot().text())
                  .arg(button_count)
                  .arg(way.join(QStringLiteral("; ")));
}

// What one action did to the game: nothing when it was aimed at a button that
// cannot be pressed, one step when at one that can, never two.
void Monkey::check_step(const Snapshot &before, Expect expect)
{
    const Snapshot after = snapshot();
    if (expect == Expect::Nothing && !(after == before))
        fail(QStringLiteral("an action on a button that could not be pressed changed the game "
                            "from %1 to %2")
                 .arg(before.text(), after.text()));
    if (expect == Expect::OneStep && after == before)
        fail(QStringLiteral("pressing a button that could be pressed did nothing"));
    const bool match_ended = after.count == 0 && before.count != 0;
    if (!match_ended && (after.count > before.count + 1 || after.buf_n > before.buf_n + 1 ||
                         after.judged > before.judged + 1))
        fail(QStringLiteral("one action made two steps: %1 became %2")
                 .arg(before.text(), after.text()));
}

void Monkey::check_state(bool verdict_open)
{
    if (!failure.isEmpty())
        return;

    if (!deal_table_is_a_deck())
        return fail(QStringLiteral("the deal table does not hold every card exactly once"));
    for (int s = 0; s < 4; ++s) {
        int row[13];
        std::copy(std::begin(buf_suit[s]), std::end(buf_suit[s]), row);
        std::sort(std::begin(row), std::end(row));
        for (int k = 0; k < 13; ++k) {
            if (row[k] != 13 * s + k + 1)
                return fail(QStringLiteral("suit row %1 does not hold card %2 exactly once")
                                .arg(s)
                                .arg(13 * s + k + 1));
        }
    }

    if (count < 0 || count > 6 || (count == 6 && !verdict_open))
        return fail(QStringLiteral("count=%1 %2")
                        .arg(count)
                        .arg(verdict_open ? "with the verdict box open" : "with no verdict box"));
    if (button_count < 0 || button_count > 5 || cpu_cout < 0 || cpu_cout > 4 || buf_n < 0 ||
        buf_n > 25)
        return fail(QStringLiteral("a counter left its range: button_count=%1 cpu_cout=%2 "
                                   "buf_n=%3")
                        .arg(button_count)
                        .arg(cpu_cout)
                        .arg(buf_n));
    const int tallies[] = {cpu_score, user_score, tie_score};
    if (!std::equal(std::begin(tallies), std::end(tallies), std::begin(taken)))
        return fail(QStringLiteral("tallies CPU=%1,User=%2,tie=%3 where the sounds told %4,%5,%6")
                        .arg(cpu_score)
                        .arg(user_score)
                        .arg(tie_score)
                        .arg(taken[0])
                        .arg(taken[1])
                        .arg(taken[2]));

    for (int p = 1; p <= 5; ++p) {
        const int cards[] = {table->probe->buf_deal(p), table->probe->buf_cpu_deal(p), buf_user[p]};
        for (int card : cards) {
            if (card < 0 || card > 52)
                return fail(QStringLiteral("card number %1 at position %2").arg(card).arg(p));
        }
    }
    for (int card : buf_cpu) {
        if (card < 0 || card > 52)
            return fail(QStringLiteral("card number %1 in the CPU's hand").arg(card));
    }

    int hidden = 0;
    int card_buttons_pressable = 0;
    for (int p = 1; p <= 5; ++p) {
        QPushButton *button = table->card_button(p);
        hidden += button->isHidden();
        card_buttons_pressable += !button->isHidden() && button->isEnabled();
    }
    if (dealt_in_match && count >= 1 && hidden != button_count)
        return fail(QStringLiteral("%1 card buttons hidden at button_count=%2")
                        .arg(hidden)
                        .arg(button_count));
    const bool open_enabled = table->open_button()->isEnabled();
    if (open_enabled != (last_step == Step::Press))
        return fail(QStringLiteral("\"Card open\" is %1 after a %2")
                        .arg(open_enabled ? "enabled" : "disabled")
                        .arg(last_step == Step::Press  ? "card press"
                             : last_step == Step::Open ? "card open"
                             : last_step == Step::Deal ? "deal"
                                                       : "start"));
    const int ways_on =
        table->deal_button()->isEnabled() + open_enabled + (card_buttons_pressable > 0);
    if (ways_on > 1)
        return fail(QStringLiteral("the table offers two steps at once: deal %1, open %2, %3 "
                                   "card buttons")
                        .arg(table->deal_button()->isEnabled())
                        .arg(open_enabled)
                        .arg(card_buttons_pressable));
}

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { drop_offscreen_warnings(); }
    void cleanupTestCase() { keep_offscreen_warnings(); }
    void random_play_data();
    void random_play();

    // Sequences the monkey found, kept as they broke the game.
    void space_on_the_hidden_last_card_button_data();
    void space_on_the_hidden_last_card_button();
};

void TestMonkey::random_play_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("matches");

    bool given = false;
    const int matches = qEnvironmentVariableIntValue(kMatchesVariable, &given);
    const int per_run = given && matches > 0 ? matches : kMatchesPerRun;
    const QByteArray replay = qgetenv(kSeedVariable);
    if (!replay.isEmpty()) {
        QTest::newRow(("seed " + replay).constData()) << replay.toUInt() << per_run;
        return;
    }
    for (quint32 seed : {20240611u, 7u, 1234567891u})
        QTest::addRow("seed %u", seed) << seed << per_run;
}

void TestMonkey::random_play()
{
    QFETCH(quint32, seed);
    QFETCH(int, matches);

    Monkey monkey(seed, matches);
    monkey.run();

    QVERIFY2(monkey.failure.isEmpty(), qPrintable(monkey.failure));
    QCOMPARE(monkey.whole_matches, matches);
    // The exception branches print "Reigai"; none can be reached by play.
    const qsizetype reigai = monkey.trace.indexOf("Reigai");
    QVERIFY2(reigai < 0, qPrintable(QStringLiteral("seed %1: the game printed \"%2\"")
                                        .arg(seed)
                                        .arg(QString::fromLatin1(monkey.trace.mid(reigai, 60)))));
}

void TestMonkey::space_on_the_hidden_last_card_button_data()
{
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("opened");

    for (int last = 1; last <= 5; ++last) {
        QTest::addRow("last card at position %d, before the open", last) << last << false;
        QTest::addRow("last card at position %d, after the open by the O key", last)
            << last << true;
    }
}

// The round's last card button, clicked, is hidden while nothing else on the
// table can take the keyboard focus, so it keeps it; Space then played that
// card a second time (button_count=6, "Card open" enabled after the round).
void TestMonkey::space_on_the_hidden_last_card_button()
{
    QFETCH(int, last);
    QFETCH(bool, opened);

    TableFixture table;
    QVERIFY(table.show_active());
    QVERIFY(table.start_game());
    QVERIFY(table.deal());
    for (int p = 1; p <= 4; ++p)
        QVERIFY(table.play_pair(p == last ? 5 : p));
    QVERIFY(table.press(table.card_button(last)));
    if (opened)
        QVERIFY(table.press_key(Qt::Key_O));
    QCOMPARE(button_count, 5);
    QCOMPARE(buf_n, 5);
    const int last_card = table.probe->buf_deal(last);
    QCOMPARE(buf_user[1], last_card);
    table.sound.played.clear();

    QVERIFY(table.press_key(Qt::Key_Space));

    QVERIFY2(table.sound.played.isEmpty(), qPrintable(table.sound.played.join(' ')));
    QCOMPARE(button_count, 5);
    QCOMPARE(buf_n, 5);
    QCOMPARE(buf_user[1], last_card);
    QCOMPARE(table.open_button()->isEnabled(), !opened);
    QCOMPARE(table.deal_button()->isEnabled(), opened);
}

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
