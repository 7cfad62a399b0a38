#include "app/command_line.h"

#include <QCommandLineParser>
#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

void describe(QCommandLineParser &parser)
{
    // -style and -platform are words, not bundles of one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("A five-round card match against the computer.\n"
                       "Qt's own options are taken too, such as -platform NAME, -style NAME\n"
                       "and -reverse; the manual page kestrano(6) lists them.\n"
                       "The game's trace lines go to standard output."));
    parser.addHelpOption();
    parser.addVersionOption();
}

void print(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

std::optional<int> answer_help_or_version(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describe(parser);
    // Qt's own options are unknown here: only the answer matters.
    (void)parser.parse(arguments);
    const bool help =
        parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"));
    if (!help && !parser.isSet(QStringLiteral("version")))
        return std::nullopt;

    // The help text's usage line names the program by its first argument:
    // its plain name, not the folder the launcher started it from.
    QByteArray name = QFileInfo(arguments.constFirst()).fileName().toLocal8Bit();
    int count = 1;
    char *first[] = {name.data(), nullptr};
    const QCoreApplication application(count, first);
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRANO_VERSION));
    print(help ? parser.helpText()
               : QCoreApplication::applicationName() + QLatin1Char(' ') +
                     QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    return 0;
}

std::optional<int> refuse_unknown_options(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    if (parser.parse(arguments))
        return std::nullopt;
    const QString name = QCoreApplication::applicationName();
    std::fprintf(
        stderr, "%s\n",
        qPrintable(QStringLiteral("%1: %2 Try '%1 --help'.").arg(name, parser.errorText())));
    return 2;
}
