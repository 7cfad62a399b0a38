// The real program as a player starts it: its start-up output with and without
// data files, its command line, a reader of its output that goes away.  Then
// its sound service: the files handed to the audio system, paths as written,
// and a real player that neither blocks, prints, hangs nor crashes on files it
// cannot play or without an audio device, run in a child copy of this program
// (--play-sounds-then-quit) so that a hang, also at the end, fails one test.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <unistd.h>

#include "table/sound.h"
#include "files/wave_file.h"
#include "tests/support/child_process.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/wave_bytes.h"

namespace {

using Files = QMap<QString, QByteArray>; // path: contents, a null array for a folder
constexpr char kChildFlag[] = "--play-sounds-then-quit";
constexpr qint64 kHangGuardMs = 5000;   // far longer than starting a sound may take
constexpr int kRunOnMs = 500;           // a child plays on after starting its sounds
constexpr int kSoundLifetimeMs = 10000; // a sound not ended by then is dropped
// Sounds alive at once: Qt 6.4's PulseAudio backend crashes with about 40.
constexpr int kMaxSoundsAlive = 8;

const QStringList kGameSounds = {
    QStringLiteral("wave/12-1/kidou"),        QStringLiteral("wave/12-1/deel.wav"),
    QStringLiteral("wave/12-1/draw_wav.wav"), QStringLiteral("wave/12-1/lose_wav.wav"),
    QStringLiteral("wave/12-1/win_vic.wav"),  QStringLiteral("wave/12-1/tie.wav"),
};

const QByteArray kMono16 = format(1, 1, 44100, 16);
const QByteArray kSamples(200, '\x10');
const QByteArray kGood = pcm_wave(300);
const QByteArray kCutShort = pcm_wave(300).left(30); // the header breaks off
const QByteArray kGarbage = QByteArray("not a sound at all\n").repeated(50);
const QByteArray kOverGarbage =
    pcm_wave(0) + QByteArray("\xff\xfe\x00\x01 no samples here", 20).repeated(40);
const QByteArray kFolder; // a folder where the sound should be

// The time jumps past the sounds' lifetime: each pending single-shot timer of
// that length (Qt keeps them as children of the event dispatcher) fires now.
// Returns how many did.
int run_out_sound_lifetimes()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    int fired = 0;
    for (QObject *timer : QObjectList(dispatcher->children())) {
        for (const auto &info : dispatcher->registeredTimers(timer)) {
            QTimerEvent event(info.timerId);
            if (info.interval == kSoundLifetimeMs && ++fired)
                QCoreApplication::sendEvent(timer, &event);
        }
    }
    return fired;
}

// The sound side of a game run: each sound is started twice in a row (a
// quick player), "past lifetime": the sounds, still loading, outlive their
// lifetime at once, then the event loop runs on, and the program ends.
int play_sounds_then_quit(int argc, char *argv[])
{
    QApplication app(argc, argv);
    auto fail = [](const char *why) {
        std::fprintf(stderr, "%s\n", why);
        return 1;
    };
    QElapsedTimer clock;
    clock.start();
    for (int i = 3; i < argc; ++i) {
        play_sound(QString::fromLocal8Bit(argv[i]));
        play_sound(QString::fromLocal8Bit(argv[i]));
    }
    const qsizetype alive = app.findChildren<QSoundEffect *>().size();
    if (clock.elapsed() > kHangGuardMs)
        return fail("starting a sound waited for it");
    if (alive > kMaxSoundsAlive)
        return fail("more sounds alive at once than the sound system stands");
    if (qstrcmp(argv[2], "past lifetime") == 0 && run_out_sound_lifetimes() != alive)
        return fail("not every sound has its lifetime");
    QTimer::singleShot(kRunOnMs, &app, &QCoreApplication::quit);
    return app.exec();
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        set_sound_player(nullptr);
        scratch = std::make_unique<QTemporaryDir>();
        QVERIFY(scratch->isValid());
    }

    void cleanup()
    {
        set_sound_player(nullptr);
        QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR));
        scratch.reset();
    }

    void start_up_output_data()
    {
        QTest::addColumn<bool>("data_files");
        QTest::addColumn<bool>("terminal");

        // clang-format off
        QTest::newRow("in the runnable folder") << true << false;
        QTest::newRow("in an empty folder, without data files") << false << false;
        // A terminal gets each line as it is printed: while the game runs,
        // all of it is there but the deal table's count, which has no line
        // end (in 4 KB blocks, up to 4 KB would be missing).
        QTest::newRow("on a terminal, line by line") << true << true;
        // clang-format on
    }

    void start_up_output()
    {
        QFETCH(bool, data_files);
        QFETCH(bool, terminal);
        const QString folder = data_files ? QStringLiteral(KESTRANO_GAME_DIR) : scratch->path();
        // Watched 1.5 s past its start-up for anything printed after it.
        const ChildResult game = start_up_game(folder, {}, 1500, terminal);
        QVERIFY2(game.stayed_up(), game.report().constData());
        const QString problem = start_up_trace_problem(game.out);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        if (terminal) {
            const QByteArray late = game.out.mid(game.out_before_stop.size());
            QVERIFY(game.out.startsWith(game.out_before_stop));
            QVERIFY2(QRegularExpression(QStringLiteral(R"(\AMAX=15,n=\d+\z)"))
                         .match(QString::fromLatin1(late))
                         .hasMatch(),
                     ("printed only at the end: " + late.left(200)).constData());
        }
    }

    // A game whose standard output goes to a pipe that nobody reads any more
    // must keep running instead of dying of SIGPIPE at its next trace.
    void reader_of_the_traces_goes_away()
    {
        int ends[2]; // read, write
        QVERIFY(pipe2(ends, O_CLOEXEC) == 0);
        // A small pipe: the start-up trace cannot all fit, so the game is
        // still writing when the reader goes away.
        fcntl(ends[1], F_SETPIPE_SZ, 4096);
        QProcess game;
        game.setWorkingDirectory(QStringLiteral(KESTRANO_GAME_DIR));
        game.setStandardOutputFile(QProcess::nullDevice());
        game.setChildProcessModifier([write_end = ends[1]] {
            ::dup2(write_end, STDOUT_FILENO);
            ::signal(SIGPIPE, SIG_DFL); // as from a shell: the game must ignore it itself
        });
        game.start(QStringLiteral(KESTRANO_BINARY),
                   {QStringLiteral("-platform"), QStringLiteral("offscreen")});
        const bool started = game.waitForStarted(5000);
        ::close(ends[1]);
        pollfd readable{ends[0], POLLIN, 0};
        char first[16];
        const bool heard =
            started && ::poll(&readable, 1, 10000) == 1 && ::read(ends[0], first, 10) > 0;
        ::close(ends[0]);

        const bool ended = !heard || game.waitForFinished(1000);
        const QString how = QStringLiteral("%1 %2").arg(
            game.exitStatus() == QProcess::CrashExit ? "signal" : "exit code",
            QString::number(game.exitCode()));
        game.kill();
        game.waitForFinished(5000);
        QVERIFY2(started, qPrintable(game.errorString()));
        QVERIFY2(heard, "the game printed nothing on its standard output");
        QVERIFY2(!ended, qPrintable("the game ended when its output went away: " + how));
    }

    void command_line_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit_code");  // -1: still running once it printed `output`
        QTest::addColumn<QString>("output"); // a pattern for the start of standard output
        QTest::addColumn<QString>("error");  // the one line on standard error, or none

        // --help and --version need no display: without one, QApplication
        // would abort the program.
        const QString usage =
            QStringLiteral(R"(Usage: kestrano \[options\]\n(.*\n)*  -v, --version .*\n)");
        // clang-format off
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h, with Qt's own options") << QStringList{"-style", "Fusion", "-h"} << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringLiteral(R"(kestrano \d+\.\d+\.\d+\n$)") << QString();
        QTest::newRow("unknown long option") << QStringList{"-platform", "offscreen", "--colour"} << 2 << QStringLiteral("$") << QStringLiteral("kestrano: Unknown option 'colour'. Try 'kestrano --help'.");
        QTest::newRow("unknown word after one dash") << QStringList{"-platform", "offscreen", "-fullscreen"} << 2 << QStringLiteral("$") << QStringLiteral("kestrano: Unknown option 'fullscreen'. Try 'kestrano --help'.");
        QTest::newRow("Qt's own options play as before") << QStringList{"-platform", "offscreen", "-style", "Fusion", "-reverse"} << -1 << QStringLiteral(R"(First_Shown\(\)\nn1=)") << QString();
        // clang-format on
    }

    void command_line()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exit_code);
        QFETCH(QString, output);
        QFETCH(QString, error);

        ChildRun run;
        run.program = QStringLiteral(KESTRANO_BINARY);
        run.arguments = arguments;
        run.folder = QStringLiteral(KESTRANO_GAME_DIR);
        // A runtime folder keeps Qt's note about a missing one off stderr.
        run.environment = QStringList{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb",
                                      "XDG_RUNTIME_DIR=" + scratch->path()};
        run.limit_ms = 15000;
        const QRegularExpression expected(QStringLiteral("\\A") + output);
        // A game that plays is watched until it has printed what it should.
        if (exit_code < 0)
            run.up = [&](const QByteArray &out) {
                return expected.match(QString::fromLocal8Bit(out)).hasMatch();
            };
        const ChildResult game = run_child(run);
        // Still running, as it should, or ended by itself with the exit code.
        QVERIFY2(exit_code < 0 ? game.stayed_up() : game.ended && !game.crashed,
                 game.report().constData());
        QCOMPARE(game.exit_code, exit_code);
        const QString out = QString::fromLocal8Bit(game.out);
        QVERIFY2(expected.match(out).hasMatch(), qPrintable(out.left(200)));
        QCOMPARE(QString::fromLocal8Bit(game.err),
                 error.isEmpty() ? QString() : error + QLatin1Char('\n'));
    }

    // A WAV file whose header is cut short or claims more data than the file
    // holds once hung the game for good inside Qt's sample cache; such files
    // must be refused up front.
    void wave_files_handed_to_the_audio_system_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("playable");

        const QByteArray good = wave(chunk("fmt ", kMono16) + chunk("data", kSamples));
        // clang-format off
        QTest::newRow("mono 16-bit PCM") << good << true;
        QTest::newRow("stereo 8-bit PCM") << wave(chunk("fmt ", format(1, 2, 22050, 8)) + chunk("data", kSamples)) << true;
        QTest::newRow("odd-sized chunk before the data") << wave(chunk("fmt ", kMono16) + chunk("LIST", "abc") + chunk("data", kSamples)) << true;
        QTest::newRow("a sound the sound test plays") << pcm_wave(300) << true;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("header cut after 30 bytes") << good.left(30) << false;
        QTest::newRow("data exactly as long as what is left of the file, odd and unpadded") << wave(chunk("fmt ", format(1, 1, 8000, 8)) + "data" + le(201, 4) + QByteArray(201, '\x80')) << true;
        QTest::newRow("data one byte longer than what is left of the file") << wave(chunk("fmt ", kMono16) + chunk("data", kSamples, 201)) << false;
        QTest::newRow("data cut short") << wave(chunk("fmt ", kMono16) + chunk("data", kSamples, 100000)) << false;
        QTest::newRow("format chunk claims too much") << wave(chunk("fmt ", kMono16, 4000) + chunk("data", kSamples)) << false;
        QTest::newRow("floating point samples") << wave(chunk("fmt ", format(3, 1, 44100, 32)) + chunk("data", kSamples)) << false;
        QTest::newRow("data before format") << wave(chunk("data", kSamples) + chunk("fmt ", kMono16)) << false;
        QTest::newRow("no data") << wave(chunk("fmt ", kMono16)) << false;
        QTest::newRow("empty data") << wave(chunk("fmt ", kMono16) + chunk("data", {})) << false;
        QTest::newRow("text file") << QByteArray("this is not a sound\n") << false;
        QTest::newRow("RIFF but not WAVE") << QByteArray("RIFF" + le(4, 4) + "AVI " + chunk("data", kSamples)) << false;
        QTest::newRow("larger than any sound effect") << wave(chunk("fmt ", kMono16) + chunk("data", QByteArray(kMaxSoundFileBytes, '\0'))) << false;
        // clang-format on
    }

    void wave_files_handed_to_the_audio_system()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, playable);
        QCOMPARE(is_playable_wave(file), playable);
    }

    void paths_reach_the_player_unchanged()
    {
        RecordingSoundPlayer recorder;
        for (const QString &path : kGameSounds)
            play_sound(path);
        QCOMPARE(recorder.played, kGameSounds);
    }

    void real_player_on_any_file_data()
    {
        QTest::addColumn<Files>("files");        // made before the run
        QTest::addColumn<QStringList>("played"); // in this order
        QTest::addColumn<QString>("run");        // "run on", or "past lifetime"
        QTest::addColumn<bool>("audio_device");  // false: no sound server at all

        const QString on = QStringLiteral("run on");
        // clang-format off
        QTest::newRow("missing, empty, garbage, cut short, over garbage, folder") << Files{{"wave/12-1/deel.wav", ""}, {"wave/12-1/draw_wav.wav", kGarbage}, {"wave/12-1/lose_wav.wav", kCutShort}, {"wave/12-1/win_vic.wav", kOverGarbage}, {"wave/12-1/tie.wav", kFolder}} << kGameSounds << on << false;
        QTest::newRow("missing, damaged, then playable, also without extension; forty plays at once") << Files{{"wave/12-1/lose_wav.wav", kCutShort}, {"wave/12-1/win_vic.wav", kGood}, {"wave/12-1/kidou", kGood}} << QStringList{"wave/12-1/tie.wav", "wave/12-1/lose_wav.wav", "wave/12-1/win_vic.wav", "wave/12-1/kidou"} + QStringList(20, "wave/12-1/win_vic.wav") << on << false;
        QTest::newRow("playable sound, the run's own audio setup") << Files{{"wave/12-1/win_vic.wav", kGood}} << QStringList{"wave/12-1/win_vic.wav"} << on << true;
        QTest::newRow("playable sounds, and a damaged one, past their lifetime") << Files{{"wave/12-1/tie.wav", kGood}, {"wave/12-1/deel.wav", kGood}, {"wave/12-1/lose_wav.wav", kCutShort}, {"wave/12-1/win_vic.wav", kGood}} << QStringList{"wave/12-1/tie.wav", "wave/12-1/deel.wav", "wave/12-1/lose_wav.wav", "wave/12-1/win_vic.wav"} << "past lifetime" << false;
        QTest::newRow("the game's own sounds in turn, where the game runs") << Files{} << kGameSounds << on << false;
        // clang-format on
    }

    void real_player_on_any_file()
    {
        QFETCH(Files, files);
        QFETCH(QStringList, played);
        QFETCH(QString, run);
        QFETCH(bool, audio_device);
        const QString folder =
            files.isEmpty() ? QStringLiteral(KESTRANO_GAME_DIR) : scratch->path();
        QVERIFY(QDir(scratch->path()).mkpath(QStringLiteral("wave/12-1")));
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            QFile out(folder + QLatin1Char('/') + file.key());
            QVERIFY(file->isNull()
                        ? QDir().mkpath(out.fileName())
                        : out.open(QIODevice::WriteOnly) && out.write(*file) == file->size());
        }

        ChildRun child_run;
        child_run.program = QCoreApplication::applicationFilePath();
        child_run.arguments = QStringList{QLatin1String(kChildFlag), run} + played;
        child_run.folder = folder;
        child_run.limit_ms = kRunOnMs + 20000; // time enough to start up and end
        if (!audio_device)
            child_run.environment << "PULSE_SERVER=" +
                                         scratch->filePath(QStringLiteral("no-server"));
        const ChildResult child = run_child(child_run);
        QVERIFY2(child.passed(), child.report().constData());
        QCOMPARE(child.out, QByteArray());
    }

    void game_goes_on_without_its_sounds()
    {
        // With the real player put back and no sound files at all, a start and
        // a judged pair behave exactly as with sound, and print nothing more.
        QVERIFY(QDir::setCurrent(scratch->path()));
        TableFixture table(0.01);
        set_sound_player(nullptr);
        QVERIFY(table.show_exposed());

        const QByteArray out = capture_stdout([&] {
            table.start_action()->trigger();
            QVERIFY(QMetaObject::invokeMethod(table.window(), "Compare_cpu_user",
                                              Qt::DirectConnection, Q_ARG(int, 13), Q_ARG(int, 7)));
            QTRY_VERIFY(table.deal_button()->isEnabled());
            QTRY_COMPARE(table.label("result_label")->text(), QString());
        });

        QCOMPARE(
            out,
            QByteArray("!x==y\nPatern 1,x-y=6,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0"));
        QVERIFY(table.sound.played.isEmpty());
        QVERIFY(!table.start_action()->isEnabled());
        QCOMPARE(table.label("score_label")->text(), QStringLiteral("CPU=1,User=0,tie=0"));
    }

private:
    std::unique_ptr<QTemporaryDir> scratch;
};

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], kChildFlag) == 0)
        return play_sounds_then_quit(argc, argv);

    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestProgram test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_program.moc"
