// One whole session as a person plays it, for the memory checker: the
// program's own start and end around a scripted match, with the real sound
// service.  The event loop ends when "close" is confirmed, just as in the
// real program; in between, the shared driver plays the five rounds through
// the real widgets with the delays shortened, answers the verdict, looks at
// both help windows and closes them.  It exits non-zero when a step cannot be
// taken, so that a broken game cannot pass the check by doing less.
#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include "app/translation.h"
#include "table/kestrano.h"
#include "table/sound.h"
#include "tests/support/modal_answer.h"
#include "tests/support/table_fixture.h"

namespace {

// The window other than the table that is open, if any.
QWidget *other_window(const TableFixture &table)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget != table.window() && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// Shows a secondary window from its menu command, then closes it as its user
// would: with the named button, or with the window's close button.
bool look_at(TableFixture &table, const char *command, const char *button = nullptr)
{
    table.action(QLatin1String(command))->trigger();
    QWidget *shown = nullptr;
    if (!QTest::qWaitFor([&] { return (shown = other_window(table)) != nullptr; },
                         table.step_timeout_ms)) {
        qWarning("the window of \"%s\" did not open", command);
        return false;
    }
    if (!button)
        shown->close();
    else if (auto *named = shown->findChild<QPushButton *>(QLatin1String(button)))
        QTest::mouseClick(named, Qt::LeftButton);
    else
        return false;
    return QTest::qWaitFor([shown] { return !shown->isVisible(); }, table.step_timeout_ms);
}

bool play_session(TableFixture &table)
{
    if (!table.show_active() || !table.play_to(Phase::AfterMatch) ||
        !look_at(table, "Version", "ok_button") || !look_at(table, "Explain"))
        return false;
    table.window()->activateWindow();
    ModalAnswer *question = answer_next_box(QMessageBox::Yes);
    table.action(QStringLiteral("close"))->trigger();
    return question->answered && !table.window()->isVisible();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QTranslator translator;
    install_translation(application, translator, QLocale::system().language());
    TableFixture table;
    set_sound_player(nullptr); // the real one, as in the game
    // Valgrind runs the program some twenty times slower.
    table.step_timeout_ms = 60000;

    bool played = false;
    QTimer::singleShot(0, table.window(), [&] {
        played = play_session(table);
        if (!played) {
            qWarning("memcheck_match: the session could not be played to its end");
            application.exit(1);
        }
    });
    const int result = application.exec();
    return played ? result : 1;
}
