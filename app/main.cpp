// Kestrano: a five-round card match against the computer.
#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include <csignal>

#include "app/command_line.h"
#include "app/translation.h"
#include "table/kestrano.h"

int main(int argc, char **argv)
{
    // The traces go to standard output; a reader that has gone away must not
    // end a game in progress.
    std::signal(SIGPIPE, SIG_IGN);

    if (const std::optional<int> answered = answer_help_or_version(argc, argv))
        return *answered;
    QApplication application(argc, argv);
    if (const std::optional<int> refused = refuse_unknown_options(QApplication::arguments()))
        return *refused;
    QTranslator translator;
    install_translation(application, translator, QLocale::system().language());
    QTranslator qt_translator;
    install_qt_translation(application, qt_translator, QLocale::system().language());

    Kestrano window;
    window.show();
    const int result = application.exec();
    return result;
}
