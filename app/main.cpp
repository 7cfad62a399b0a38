// Kestrano: a five-round card match against the computer.
#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include "app/command_line.h"
#include "app/quit_signals.h"
#include "app/std_streams.h"
#include "app/trace_writer.h"
#include "app/translation.h"
#include "table/kestrano.h"

int main(int argc, char **argv)
{
    open_standard_streams();
    if (const std::optional<int> answered = answer_help_or_version(argc, argv))
        return *answered;
    const TraceWriter trace_writer;

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
