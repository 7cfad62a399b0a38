// The sound service: paths reach the player exactly as written, and the real
// player neither blocks, nor prints, nor hangs or crashes the program on files
// it cannot play or on a machine without an audio device.
//
// The real player runs in a child copy of this program (started with
// --play-sounds-then-quit), so that a hang, also one when the program ends,
// fails a test instead of stopping the whole run, and so that standard output
// holds only what the game itself prints.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "table/delays.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "table/sound.h"
#include "tests/support/child_process.h"
#include "tests/support/game_state_reset.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/recording_sound.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/wave_bytes.h"

namespace {

constexpr char kChildFlag[] = "--play-sounds-then-quit";
// Far longer than starting a sound may take; only a guard against a hang.
constexpr qint64 kHangGuardMs = 5000;
// Time a child gets, beyond its run-on time, to start up and end.
constexpr int kChildExitGuardMs = 20000;
constexpr int kRunOnMs = 1500;
// Longer than the player keeps a sound that never ends.
constexpr int kPastLifetimeMs = 11000;
// Sounds alive at once: Qt 6.4's PulseAudio backend crashes with about 40.
constexpr int kMaxSoundsAlive = 8;

const QStringList kGameSounds = {
    QStringLiteral("wave/12-1/kidou"),        QStringLiteral("wave/12-1/deel.wav"),
    QStringLiteral("wave/12-1/draw_wav.wav"), QStringLiteral("wave/12-1/lose_wav.wav"),
    QStringLiteral("wave/12-1/win_vic.wav"),  QStringLiteral("wave/12-1/tie.wav"),
};

// What a file of the given kind holds; a null array stands for a folder.
QByteArray contents_of(const QString &kind)
{
    if (kind == QLatin1String("good"))
        return pcm_wave(300);
    if (kind == QLatin1String("empty"))
        return QByteArray("");
    if (kind == QLatin1String("garbage"))
        return QByteArray("not a sound at all\n").repeated(50);
    if (kind == QLatin1String("cut short")) // the header breaks off
        return pcm_wave(300).left(30);
    if (kind == QLatin1String("header over garbage"))
        return pcm_wave(0) + QByteArray("\xff\xfe\x00\x01 no samples here", 20).repeated(40);
    return QByteArray();
}

// The sound side of a game run: each sound is started twice in a row (a
// quick player), the event loop runs on, and the program ends.
int play_sounds_then_quit(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int run_on_ms = QByteArray(argv[2]).toInt();
    QElapsedTimer clock;
    clock.start();
    for (int i = 3; i < argc; ++i) {
        play_sound(QString::fromLocal8Bit(argv[i]));
        play_sound(QString::fromLocal8Bit(argv[i]));
    }
    if (clock.elapsed() > kHangGuardMs)
        return 3;
    if (app.findChildren<QSoundEffect *>().size() > kMaxSoundsAlive)
        return 4;
    QTimer::singleShot(run_on_ms, &app, &QCoreApplication::quit);
    return app.exec();
}

} // namespace

class SoundServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void paths_reach_the_player_unchanged_data();
    void paths_reach_the_player_unchanged();
    void real_player_is_put_back();
    void real_player_on_any_file_data();
    void real_player_on_any_file();
    void game_goes_on_without_its_sounds();

private:
    QString home;
    std::unique_ptr<QTemporaryDir> scratch;
};

void SoundServiceTest::init()
{
    home = QDir::currentPath();
    set_sound_player(nullptr);
    reset_game_state();
    scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(scratch->isValid());
}

void SoundServiceTest::cleanup()
{
    set_sound_player(nullptr);
    set_delay_scale_for_tests(1.0);
    QDir::setCurrent(home);
    scratch.reset();
}

void SoundServiceTest::paths_reach_the_player_unchanged_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : kGameSounds)
        QTest::newRow(qPrintable(path)) << path;
}

void SoundServiceTest::paths_reach_the_player_unchanged()
{
    QFETCH(QString, path);
    RecordingSoundPlayer recorder;
    play_sound(path);
    QCOMPARE(recorder.played, QStringList{path});
}

void SoundServiceTest::real_player_is_put_back()
{
    QVERIFY(QDir::setCurrent(scratch->path())); // no sound files here
    RecordingSoundPlayer recorder;
    set_sound_player(nullptr);
    const QByteArray out = capture_stdout([] { play_sound(QStringLiteral("wave/12-1/kidou")); });
    QVERIFY(recorder.played.isEmpty());
    QCOMPARE(out, QByteArray());
}

void SoundServiceTest::real_player_on_any_file_data()
{
    QTest::addColumn<QStringList>("files");  // "path=kind", made before the run
    QTest::addColumn<QStringList>("played"); // in this order
    QTest::addColumn<int>("run_on_ms");
    QTest::addColumn<bool>("audio_device"); // false: no sound server at all

    // clang-format off
    QTest::newRow("missing start sound") << QStringList() << QStringList{"wave/12-1/kidou"} << kRunOnMs << false;
    QTest::newRow("missing wave file") << QStringList() << QStringList{"wave/12-1/tie.wav"} << kRunOnMs << false;
    QTest::newRow("empty file") << QStringList{"wave/12-1/deel.wav=empty"} << QStringList{"wave/12-1/deel.wav"} << kRunOnMs << false;
    QTest::newRow("garbage file") << QStringList{"wave/12-1/draw_wav.wav=garbage"} << QStringList{"wave/12-1/draw_wav.wav"} << kRunOnMs << false;
    QTest::newRow("wave header cut short") << QStringList{"wave/12-1/lose_wav.wav=cut short"} << QStringList{"wave/12-1/lose_wav.wav"} << kRunOnMs << false;
    QTest::newRow("wave header over garbage") << QStringList{"wave/12-1/win_vic.wav=header over garbage"} << QStringList{"wave/12-1/win_vic.wav"} << kRunOnMs << false;
    QTest::newRow("folder where the sound should be") << QStringList{"wave/12-1/tie.wav=folder"} << QStringList{"wave/12-1/tie.wav"} << kRunOnMs << false;
    QTest::newRow("playable sound, no audio device") << QStringList{"wave/12-1/win_vic.wav=good"} << QStringList{"wave/12-1/win_vic.wav"} << kRunOnMs << false;
    QTest::newRow("playable start sound without extension") << QStringList{"wave/12-1/kidou=good"} << QStringList{"wave/12-1/kidou"} << kRunOnMs << false;
    QTest::newRow("playable sound, the run's own audio setup") << QStringList{"wave/12-1/win_vic.wav=good"} << QStringList{"wave/12-1/win_vic.wav"} << kRunOnMs << true;
    QTest::newRow("playable sounds kept past their lifetime") << QStringList{"wave/12-1/tie.wav=good", "wave/12-1/deel.wav=good"} << QStringList{"wave/12-1/tie.wav", "wave/12-1/deel.wav"} << kPastLifetimeMs << false;
    QTest::newRow("damaged sound, then a playable one") << QStringList{"wave/12-1/lose_wav.wav=cut short", "wave/12-1/win_vic.wav=good"} << QStringList{"wave/12-1/lose_wav.wav", "wave/12-1/win_vic.wav"} << kRunOnMs << false;
    QTest::newRow("damaged sound, then a playable one, past its lifetime") << QStringList{"wave/12-1/lose_wav.wav=cut short", "wave/12-1/win_vic.wav=good"} << QStringList{"wave/12-1/lose_wav.wav", "wave/12-1/win_vic.wav"} << kPastLifetimeMs << false;
    QTest::newRow("forty plays at once") << QStringList{"wave/12-1/tie.wav=good"} << QStringList(20, "wave/12-1/tie.wav") << kRunOnMs << false;
    // Played where the game runs, on the sound files it comes with.
    QTest::newRow("the game's own sounds in turn") << QStringList{"(game folder)"} << kGameSounds << kRunOnMs << false;
    // clang-format on
}

void SoundServiceTest::real_player_on_any_file()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, played);
    QFETCH(int, run_on_ms);
    QFETCH(bool, audio_device);

    QString folder = scratch->path();
    QVERIFY(QDir(folder).mkpath(QStringLiteral("wave/12-1")));
    for (const QString &file : files) {
        if (file == QLatin1String("(game folder)")) {
            folder = QStringLiteral(KESTRANO_GAME_DIR);
            continue;
        }
        const QString path = folder + QLatin1Char('/') + file.section(QLatin1Char('='), 0, 0);
        const QByteArray contents = contents_of(file.section(QLatin1Char('='), 1));
        if (contents.isNull()) {
            QVERIFY(QDir().mkpath(path));
            continue;
        }
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(contents), qint64(contents.size()));
    }

    ChildRun run;
    run.program = QCoreApplication::applicationFilePath();
    run.arguments = QStringList{QLatin1String(kChildFlag), QString::number(run_on_ms)} + played;
    run.folder = folder;
    run.limit_ms = run_on_ms + kChildExitGuardMs;
    if (!audio_device)
        run.environment << "PULSE_SERVER=" + scratch->filePath(QStringLiteral("no-server"));
    const ChildResult child = run_child(run);
    QVERIFY2(child.exit_code != 3, "starting a sound waited for it");
    QVERIFY2(child.exit_code != 4, "more sounds alive at once than the sound system stands");
    QVERIFY2(child.passed(), child.report().constData());
    QCOMPARE(child.out, QByteArray());
}

void SoundServiceTest::game_goes_on_without_its_sounds()
{
    // With the real player and no sound files at all, a start and a judged
    // pair behave exactly as with sound.
    QVERIFY(QDir::setCurrent(scratch->path()));
    set_delay_scale_for_tests(0.01);
    std::unique_ptr<Kestrano> window;
    capture_stdout([&] { window = std::make_unique<Kestrano>(); });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    KestranoProbe probe(*window);

    const QByteArray out = capture_stdout([&] {
        probe.start_action()->trigger();
        QVERIFY(QMetaObject::invokeMethod(window.get(), "Compare_cpu_user", Qt::DirectConnection,
                                          Q_ARG(int, 13), Q_ARG(int, 7)));
        QTRY_VERIFY(window->findChild<QPushButton *>("deal_button")->isEnabled());
        QTRY_COMPARE(window->findChild<QLabel *>("result_label")->text(), QString());
    });

    QCOMPARE(out,
             QByteArray("!x==y\nPatern 1,x-y=6,cpu win:CPU=1,User=0,tie=0\n1.CPU=1,User=0,tie=0"));
    QVERIFY(!probe.start_action()->isEnabled());
    QCOMPARE(window->findChild<QLabel *>("score_label")->text(),
             QStringLiteral("CPU=1,User=0,tie=0"));
}

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], kChildFlag) == 0)
        return play_sounds_then_quit(argc, argv);

    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    SoundServiceTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_sound_service.moc"
