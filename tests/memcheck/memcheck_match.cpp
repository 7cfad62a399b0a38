// One whole session as a person plays it, for the memory checker: the
// program's own start and end around a scripted match.  The window lives on
// the stack of main() and the event loop ends when "close" is confirmed, just
// as in the real program; in between, the script plays the five rounds
// through the real widgets with the delays shortened, answers the verdict,
// looks at both help windows and closes them.  It exits non-zero when a step
// cannot be taken, so that a broken game cannot pass the check by doing less.
#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

#include "app/translation.h"
#include "table/delays.h"
#include "table/kestrano.h"
#include "tests/support/modal_answer.h"

namespace {

// Valgrind runs the program some twenty times slower; the longest wait of a
// shortened game is well under a second.
constexpr int kStepTimeoutMs = 60000;

class Script
{
public:
    explicit Script(Kestrano &window) : window(window) {}

    // Plays the session; false (with the reason on standard error) when a
    // step could not be taken.
    bool run()
    {
        window.activateWindow();
        if (!wait_for("the window becomes active", [this] { return window.isActiveWindow(); }))
            return false;

        // Ctrl+B, the shortcut of "Game start".
        QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
        if (!wait_for("\"Deal cards\" comes alive", [this] { return deal()->isEnabled(); }))
            return false;

        for (int round = 1; round <= 5; ++round) {
            if (!play_round())
                return false;
        }

        // The sixth press of "Deal cards" shows the verdict.
        ModalAnswer *verdict = answer_next_box(QMessageBox::Ok);
        if (!press(deal()) || !verdict->answered)
            return fail("the verdict box was not shown");

        // The version window goes with its " O k " button, the help page
        // with its window's close button.
        if (!look_at(QStringLiteral("Version"), [](QWidget *shown) {
                if (auto *ok = shown->findChild<QPushButton *>(QStringLiteral("ok_button")))
                    QTest::mouseClick(ok, Qt::LeftButton);
            }))
            return false;
        if (!look_at(QStringLiteral("Explain"), [](QWidget *shown) { shown->close(); }))
            return false;

        window.activateWindow();
        ModalAnswer *question = answer_next_box(QMessageBox::Yes);
        if (!trigger(QStringLiteral("close")))
            return false;
        if (!question->answered || window.isVisible())
            return fail("\"close\" did not close the window");
        return true;
    }

private:
    bool play_round()
    {
        if (!press(deal()))
            return false;
        if (!wait_for("the round is dealt", [this] { return card(1)->isVisible(); }))
            return false;
        for (int position = 1; position <= 5; ++position) {
            if (!press(card(position)) || !press(open()))
                return false;
        }
        return true;
    }

    // Shows a secondary window from its menu command, then lets `close` close
    // it as its user would.
    template <typename Close> bool look_at(const QString &command, Close close)
    {
        if (!trigger(command))
            return false;
        const QString what = QLatin1String("the window of \"") + command + QLatin1String("\"");
        QWidget *shown = nullptr;
        if (!wait_for(qPrintable(what + QLatin1String(" opens")), [this, &shown] {
                shown = other_visible_window();
                return shown != nullptr;
            }))
            return false;
        close(shown);
        return wait_for(qPrintable(what + QLatin1String(" closes")),
                        [shown] { return !shown->isVisible(); });
    }

    QWidget *other_visible_window() const
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget != &window && widget->isVisible())
                return widget;
        }
        return nullptr;
    }

    bool trigger(const QString &command)
    {
        for (QAction *candidate : window.findChildren<QAction *>()) {
            if (candidate->text() == command) {
                candidate->trigger();
                return true;
            }
        }
        return fail(qPrintable(QLatin1String("no command \"") + command + QLatin1String("\"")));
    }

    bool press(QPushButton *button)
    {
        if (!button->isVisible() || !button->isEnabled()) {
            return fail(qPrintable(QLatin1String("\"") + button->objectName() +
                                   QLatin1String("\" cannot be pressed")));
        }
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }

    template <typename Condition> bool wait_for(const char *what, Condition condition)
    {
        return QTest::qWaitFor(condition, kStepTimeoutMs) ||
               fail(qPrintable(QLatin1String("timed out waiting until ") + QLatin1String(what)));
    }

    static bool fail(const char *reason)
    {
        std::fprintf(stderr, "memcheck_match: %s\n", reason);
        return false;
    }

    QPushButton *button(const QString &name) const { return window.findChild<QPushButton *>(name); }
    QPushButton *deal() const { return button(QStringLiteral("deal_button")); }
    QPushButton *open() const { return button(QStringLiteral("cpu_open_button")); }
    QPushButton *card(int position) const
    {
        return button(QStringLiteral("push_button%1").arg(position));
    }

    Kestrano &window;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QTranslator translator;
    install_translation(application, translator, QLocale::system().language());
    set_delay_scale_for_tests(0.01);

    Kestrano window;
    window.show();
    bool played = false;
    QTimer::singleShot(0, &window, [&] {
        played = Script(window).run();
        if (!played)
            application.exit(1);
    });
    const int result = application.exec();
    return played ? result : 1;
}
