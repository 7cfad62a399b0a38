// Kestrano: a five-round card match against the computer.
#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include <csignal>

#include "app/command_line.h"
#include "app/quit_signals.h"
#include "app/std_streams.h"
#include "app/trace_writer.h"
#include "app/translation.h"
#include "table/kestrano.h"

int main(int argc, char **argv)
{
    // The traces go to standard output; a reader that has gone away must not
    // end a game in progress.
    std::signal(SIGPIPE, SIG_IGN);
    open_standard_streams();
    const TraceWriter trace_writer;

    if (const std::optional<int> answered = answer_help_or_version(argc, argv))
        return *answered;
    QApplication application(argc, argv);
    if (const std::optional<int> refused = refuse_unknown_options(QApplication::arguments()))
        return *refused;
    close_on_signals(application);
    QTranslator translator;
    install_translation(application, translator, QLocale::system().language());
    QTranslator qt_translator;
    install_qt_translation(application, qt_translator, QLocale::system().language());

    Kestrano window;
    window.show();
    const int result = application.exec();
    end_at_once_on_signals();
    return result;
}
