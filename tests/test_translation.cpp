// The Japanese edition: on a Japanese system every text of the table, its
// notices, verdicts and question, and the about window come from
// Kestrano_ja; anywhere else, or without the file, the game speaks English.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

#include "app/translation.h"
#include "dialogs/version.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/child_process.h"
#include "tests/support/game_state_reset.h"
#include "tests/support/kestrano_probe.h"
#include "tests/support/modal_answer.h"
#include "tests/support/recording_sound.h"
#include "tests/support/stdout_capture.h"

namespace {

// Set in the environment of the copy of this program that checks the
// system's own locale.
constexpr char kChildExpects[] = "KESTRANO_CHILD_EXPECTS";

std::unique_ptr<Kestrano> build_window()
{
    std::unique_ptr<Kestrano> window;
    capture_stdout([&] { window = std::make_unique<Kestrano>(); });
    return window;
}

template <typename Widget> Widget *child(QWidget &parent, const char *name)
{
    return parent.findChild<Widget *>(QLatin1String(name));
}

// The entries of the menu bar, titles first: {title, entries...} per menu.
QList<QAction *> menu_actions(Kestrano &window)
{
    QList<QAction *> found;
    for (QAction *menu : window.menuBar()->actions()) {
        found << menu;
        if (menu->menu())
            found << menu->menu()->actions();
    }
    return found;
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void other_language_loads_nothing_data();
    void other_language_loads_nothing();
    void japanese_without_file_keeps_english();
    void table_texts();
    void menu_texts();
    void start_status_tip();
    void notices_data();
    void notices();
    void verdicts_data();
    void verdicts();
    void close_question();
    void card_tool_tips_data();
    void card_tool_tips();
    void version_texts();
    void system_locale_data();
    void system_locale();
    void system_locale_child();

private:
    void install_japanese();

    std::unique_ptr<QTranslator> translator;
};

void TranslationTest::init()
{
    reset_game_state();
    translator = std::make_unique<QTranslator>();
}

void TranslationTest::cleanup()
{
    QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

void TranslationTest::install_japanese()
{
    install_translation(*qApp, *translator, QLocale::Japanese);
    QVERIFY(!translator->isEmpty());
}

void TranslationTest::other_language_loads_nothing_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::newRow("English") << QLocale::English;
    QTest::newRow("German") << QLocale::German;
    QTest::newRow("Chinese, also written in kanji") << QLocale::Chinese;
}

void TranslationTest::other_language_loads_nothing()
{
    QFETCH(QLocale::Language, language);
    install_translation(*qApp, *translator, language);
    QVERIFY(translator->isEmpty());
    QCOMPARE(translator->filePath(), QString());
    auto window = build_window();
    QCOMPARE(child<QPushButton>(*window, "deal_button")->text(), QStringLiteral("Deal cards"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Title:12-1"));
}

void TranslationTest::japanese_without_file_keeps_english()
{
    QTemporaryDir elsewhere;
    const QString game_dir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    install_translation(*qApp, *translator, QLocale::Japanese);
    QVERIFY(QDir::setCurrent(game_dir));

    QVERIFY(translator->isEmpty());
    auto window = build_window();
    window->show();
    QCOMPARE(window->windowTitle(), QStringLiteral("Title:12-1"));
    QCOMPARE(child<QPushButton>(*window, "deal_button")->text(), QStringLiteral("Deal cards"));
    QCOMPARE(child<QLabel>(*window, "score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
}

void TranslationTest::table_texts()
{
    install_japanese();
    auto window = build_window();
    QCOMPARE(window->windowTitle(), QStringLiteral("タイトル：12-1"));
    QPushButton *deal = child<QPushButton>(*window, "deal_button");
    QCOMPARE(deal->text(), QStringLiteral("カードを配る"));
    QCOMPARE(deal->toolTip(), QStringLiteral("カードを配ります"));
    QCOMPARE(child<QPushButton>(*window, "cpu_open_button")->text(),
             QStringLiteral("カードを開く"));
    QCOMPARE(child<QLabel>(*window, "score_label")->text(),
             QStringLiteral("CPU=0、ユーザー=0、引き分け=0"));
    QCOMPARE(child<QLabel>(*window, "round_label")->text(), QStringLiteral("第0ラウンド"));
    const char *const buttons[] = {"push_button1", "push_button2", "push_button3", "push_button4",
                                   "push_button5"};
    for (int p = 1; p <= 5; ++p)
        QCOMPARE(child<QPushButton>(*window, buttons[p - 1])->text(), QString::number(p));
    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("シャッフルが終わりました"));
}

void TranslationTest::menu_texts()
{
    install_japanese();
    auto window = build_window();
    struct Entry
    {
        QString text;
        QString status_tip;
    };
    const QList<Entry> expected = {
        {QStringLiteral("ゲーム(&G)"), QString()},
        {QStringLiteral("ゲーム開始"), QStringLiteral("ゲームを開始します")},
        {QStringLiteral("終了"), QStringLiteral("終了")},
        {QStringLiteral("ヘルプ(&H)"), QString()},
        {QStringLiteral("バージョン情報"), QStringLiteral("バージョン情報")},
        {QStringLiteral("遊び方"), QStringLiteral("遊び方の説明を表示します")},
    };
    const QList<QAction *> actions = menu_actions(*window);
    QCOMPARE(actions.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(actions[i]->text(), expected[i].text);
        if (!expected[i].status_tip.isEmpty())
            QCOMPARE(actions[i]->statusTip(), expected[i].status_tip);
    }
    // The shortcut stays Ctrl+B in the Japanese edition.
    QCOMPARE(actions[1]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
}

void TranslationTest::start_status_tip()
{
    install_japanese();
    RecordingSoundPlayer sound;
    auto window = build_window();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_B, Qt::ControlModifier);
    QAction *start = menu_actions(*window)[1];
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->statusTip(), QStringLiteral("「カードを配る」ボタンを押してください"));
}

void TranslationTest::notices_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("notice");
    QTest::newRow("CPU wins the pair") << "lose_timer" << QStringLiteral("ユーザーの負け");
    QTest::newRow("user wins the pair") << "win_timer" << QStringLiteral("ユーザーの勝ち");
    QTest::newRow("tied pair") << "user_cpu_tie_timer"
                               << QStringLiteral("引き分けです（ノーカウント）");
}

void TranslationTest::notices()
{
    QFETCH(QString, slot);
    QFETCH(QString, notice);
    install_japanese();
    auto window = build_window();
    QVERIFY(QMetaObject::invokeMethod(window.get(), slot.toLatin1().constData()));
    QCOMPARE(child<QLabel>(*window, "result_label")->text(), notice);
}

void TranslationTest::verdicts_data()
{
    QTest::addColumn<int>("cpu");
    QTest::addColumn<int>("user");
    QTest::addColumn<int>("tie");
    QTest::addColumn<QString>("text");
    QTest::newRow("CPU wins the match")
        << 14 << 6 << 5
        << QStringLiteral("CPU=14、ユーザー=6、引き分け=5 \n\nCPUの勝ち、あなたの負けです");
    QTest::newRow("user wins the match")
        << 3 << 12 << 10
        << QStringLiteral("CPU=3、ユーザー=12、引き分け=10 \n\nあなたの勝ち、CPUの負けです");
    QTest::newRow("drawn match")
        << 9 << 9 << 7
        << QStringLiteral("CPU=9、ユーザー=9、引き分け=7 \n\nあなたとCPUの引き分けです");
}

void TranslationTest::verdicts()
{
    QFETCH(int, cpu);
    QFETCH(int, user);
    QFETCH(int, tie);
    QFETCH(QString, text);
    install_japanese();
    auto window = build_window();
    window->show();
    cpu_score = cpu;
    user_score = user;
    tie_score = tie;
    ModalAnswer *box = answer_next_box(QMessageBox::Ok);
    KestranoProbe(*window).match_result();
    QVERIFY(box->answered);
    QCOMPARE(box->title, QStringLiteral("お知らせ"));
    QCOMPARE(box->text, text);
    QCOMPARE(child<QLabel>(*window, "score_label")->text(),
             QStringLiteral("CPU=0、ユーザー=0、引き分け=0"));
}

void TranslationTest::close_question()
{
    install_japanese();
    auto window = build_window();
    window->show();
    ModalAnswer *box = answer_next_box(QMessageBox::No);
    QVERIFY(QMetaObject::invokeMethod(window.get(), "Game_close"));
    QVERIFY(box->answered);
    QCOMPARE(box->title, QStringLiteral("確認"));
    QCOMPARE(box->text, QStringLiteral("本当に終了しますか？"));
    QVERIFY(window->isVisible());
}

void TranslationTest::card_tool_tips_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("card");
    QTest::addColumn<QString>("tool_tip");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("spade ace at position 1")
        << 1 << 1 << QStringLiteral("配られたカード：スペードのA")
        << QStringLiteral("スペードのエース");
    QTest::newRow("heart queen at position 2")
        << 2 << 38 << QStringLiteral("配られたカード：ハートのクイーン")
        << QStringLiteral("ハートのクイーン");
    QTest::newRow("club jack at position 4")
        << 4 << 24 << QStringLiteral("配られたカード：クラブのジャック")
        << QStringLiteral("クラブのジャック");
    QTest::newRow("club 10 at position 5")
        << 5 << 23 << QStringLiteral("配られたカード：クラブの10") << QStringLiteral("クラブの10");
    QTest::newRow("diamond ace at position 2 (lower-case word)")
        << 2 << 40 << QStringLiteral("配られたカード：ダイヤのA")
        << QStringLiteral("ダイヤのエース");
    QTest::newRow("diamond king at position 3")
        << 3 << 52 << QStringLiteral("配られたカード：ダイヤのキング")
        << QStringLiteral("ダイヤのキング");
    QTest::newRow("diamond 4 at position 1")
        << 1 << 43 << QStringLiteral("配られたカード：ダイヤの4") << QStringLiteral("ダイヤの4");
    QTest::newRow("diamond 4 at position 5")
        << 5 << 43 << QStringLiteral("配られたカード：ダイヤの4") << QStringLiteral("ダイヤの4");
}

void TranslationTest::card_tool_tips()
{
    QFETCH(int, position);
    QFETCH(int, card);
    QFETCH(QString, tool_tip);
    QFETCH(QString, spoken);
    install_japanese();
    RecordingSoundPlayer sound;
    auto window = build_window();
    KestranoProbe probe(*window);
    for (int i = 0; i < 10; ++i)
        buf_r[i] = 5 + i;
    buf_r[position - 1] = card;
    count = 1;
    capture_stdout([&] { QVERIFY(QMetaObject::invokeMethod(window.get(), "card_deal")); });
    QCOMPARE(probe.card_button(position)->toolTip(), tool_tip);
    QCOMPARE(probe.user_card_label(position)->accessibleName(), spoken);
}

void TranslationTest::version_texts()
{
    install_japanese();
    Version version;
    version.show();
    QCOMPARE(version.windowTitle(), QStringLiteral("バージョン情報"));
    const QStringList info = {
        QStringLiteral("<Font color=black>タイトル：</Font><Font Color=red>Mirabun</Font>"),
        QStringLiteral("<Font color=black>バージョン：</Font><Font Color=blue> バージョン 1.00 "
                       "フリー C 版</Font>"),
        QStringLiteral("<Font color=black>スタッフ：</Font><Font color=blue "
                       "size=3>Torvane、Quellmir"),
        QStringLiteral("<Font color=black>種類： </Font><Font Color=red>フリーウェア</Font>"),
    };
    const QStringList credits = {
        QStringLiteral("作者：<Font color=Blue>Torvane</font>"),
        QStringLiteral("作者のメール：<Font color=red>torvane@example.org</font>"),
        QStringLiteral("サウンド：<Font color=Blue>Quellmir</Font>"),
        QStringLiteral("サウンドのメール：<Font color=red>quellmir@example.org</Font>"),
    };
    auto label = [&](int number) {
        return version.findChild<QLabel *>(QStringLiteral("text_label%1").arg(number));
    };
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(label(n)->text(), info[n - 1]);
    auto *next = version.findChild<QPushButton *>(QStringLiteral("next_button"));
    QCOMPARE(next->text(), QStringLiteral("スタッフ紹介"));
    QCOMPARE(version.findChild<QPushButton *>(QStringLiteral("ok_button"))->text(),
             QStringLiteral("OK"));
    QTest::mouseClick(next, Qt::LeftButton);
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(label(n)->text(), credits[n - 1]);
}

void TranslationTest::system_locale_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<bool>("with_file");
    QTest::addColumn<QString>("expects");
    QTest::newRow("Japanese system") << "ja_JP.UTF-8" << true << "japanese";
    QTest::newRow("Japanese system without the file") << "ja_JP.UTF-8" << false << "english";
    QTest::newRow("English system") << "en_US.UTF-8" << true << "english";
    QTest::newRow("French system") << "fr_FR.UTF-8" << true << "english";
}

// The system's locale is read once per process, so each case runs in a fresh
// copy of this program (system_locale_child) with its own environment.
void TranslationTest::system_locale()
{
    QFETCH(QString, lang);
    QFETCH(bool, with_file);
    QFETCH(QString, expects);

    QTemporaryDir elsewhere;
    ChildRun run = rerun_of("system_locale_child");
    run.folder = with_file ? QDir::currentPath() : elsewhere.path();
    run.environment = QStringList{
        "LC_ALL",   "LC_MESSAGES",  "LC_NUMERIC",
        "LANGUAGE", "LANG=" + lang, QLatin1String(kChildExpects) + QLatin1Char('=') + expects};
    const ChildResult copy = run_child(run);
    QVERIFY2(copy.passed("system_locale_child"), copy.report().constData());
}

void TranslationTest::system_locale_child()
{
    const QByteArray expects = qgetenv(kChildExpects);
    if (expects.isEmpty())
        QSKIP("runs only in the copy started by system_locale");

    // What main does before it builds the window.
    install_translation(*qApp, *translator, QLocale::system().language());
    auto window = build_window();
    const bool japanese = expects == "japanese";
    QCOMPARE(child<QPushButton>(*window, "deal_button")->text(),
             japanese ? QStringLiteral("カードを配る") : QStringLiteral("Deal cards"));
    QCOMPARE(window->windowTitle(),
             japanese ? QStringLiteral("タイトル：12-1") : QStringLiteral("Title:12-1"));
}

QTEST_MAIN(TranslationTest)
#include "test_translation.moc"
