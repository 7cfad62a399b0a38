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
#include "tests/support/kestrano_probe.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"

namespace {

// Set in the environment of the copy of this program that checks the
// system's own locale.
constexpr char kChildExpects[] = "KESTRANO_CHILD_EXPECTS";

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
    void table_texts_data();
    void table_texts();
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
    std::unique_ptr<QTranslator> qt_translator; // Qt's own texts
};

void TranslationTest::init()
{
    translator = std::make_unique<QTranslator>();
    qt_translator = std::make_unique<QTranslator>();
}

void TranslationTest::cleanup()
{
    QCoreApplication::removeTranslator(translator.get());
    QCoreApplication::removeTranslator(qt_translator.get());
    translator.reset();
    qt_translator.reset();
}

void TranslationTest::install_japanese()
{
    install_translation(*qApp, *translator, QLocale::Japanese);
    QVERIFY(!translator->isEmpty());
    install_qt_translation(*qApp, *qt_translator, QLocale::Japanese);
    QVERIFY(!qt_translator->isEmpty());
}

void TranslationTest::other_language_loads_nothing_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<bool>("with_file"); // Kestrano_ja.qm in the current folder
    QTest::newRow("English") << QLocale::English << true;
    QTest::newRow("German") << QLocale::German << true;
    QTest::newRow("Chinese, also written in kanji") << QLocale::Chinese << true;
    QTest::newRow("Japanese without the file") << QLocale::Japanese << false;
}

void TranslationTest::other_language_loads_nothing()
{
    QFETCH(QLocale::Language, language);
    QFETCH(bool, with_file);
    QTemporaryDir elsewhere;
    const QString game_dir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(with_file ? game_dir : elsewhere.path()));
    install_translation(*qApp, *translator, language);
    QVERIFY(QDir::setCurrent(game_dir));
    if (with_file) {
        install_qt_translation(*qApp, *qt_translator, language);
        QCOMPARE(qt_translator->filePath(), QString());
    }

    QVERIFY(translator->isEmpty());
    QCOMPARE(translator->filePath(), QString());
    TableFixture table(1.0);
    Kestrano *window = table.window();
    window->show();
    QCOMPARE(window->windowTitle(), QStringLiteral("Title:12-1"));
    QCOMPARE(table.button("deal_button")->text(), QStringLiteral("Deal cards"));
    QCOMPARE(table.label("score_label")->text(), QStringLiteral("CPU=0,User=0,tie=0"));
}

void TranslationTest::table_texts_data()
{
    QTest::addColumn<QString>("where");   // an object name, or "menu N": the Nth menu bar entry
    QTest::addColumn<QByteArray>("what"); // the property
    QTest::addColumn<QString>("text");

    // clang-format off
    QTest::newRow("title") << "" << QByteArray("windowTitle") << QStringLiteral("タイトル：12-1");
    QTest::newRow("Deal cards") << "deal_button" << QByteArray("text") << QStringLiteral("カードを配る");
    QTest::newRow("Deal cards tool tip") << "deal_button" << QByteArray("toolTip") << QStringLiteral("カードを配ります");
    QTest::newRow("Card open") << "cpu_open_button" << QByteArray("text") << QStringLiteral("カードを開く");
    QTest::newRow("score line") << "score_label" << QByteArray("text") << QStringLiteral("CPU=0、ユーザー=0、引き分け=0");
    QTest::newRow("round") << "round_label" << QByteArray("text") << QStringLiteral("第0ラウンド");
    QTest::newRow("card button 1") << "push_button1" << QByteArray("text") << QStringLiteral("1");
    QTest::newRow("card button 5") << "push_button5" << QByteArray("text") << QStringLiteral("5");
    QTest::newRow("status line") << "" << QByteArray() << QStringLiteral("シャッフルが終わりました");
    QTest::newRow("Game menu") << "menu 0" << QByteArray("text") << QStringLiteral("ゲーム(&G)");
    QTest::newRow("Game start") << "menu 1" << QByteArray("text") << QStringLiteral("ゲーム開始");
    QTest::newRow("Game start tip") << "menu 1" << QByteArray("statusTip") << QStringLiteral("ゲームを開始します");
    QTest::newRow("Game start keeps Ctrl+B") << "menu 1" << QByteArray("shortcut") << QStringLiteral("Ctrl+B");
    QTest::newRow("close") << "menu 2" << QByteArray("text") << QStringLiteral("終了");
    QTest::newRow("close tip") << "menu 2" << QByteArray("statusTip") << QStringLiteral("終了");
    QTest::newRow("Help menu") << "menu 3" << QByteArray("text") << QStringLiteral("ヘルプ(&H)");
    QTest::newRow("Version") << "menu 4" << QByteArray("text") << QStringLiteral("バージョン情報");
    QTest::newRow("Version tip") << "menu 4" << QByteArray("statusTip") << QStringLiteral("バージョン情報");
    QTest::newRow("Explain") << "menu 5" << QByteArray("text") << QStringLiteral("遊び方");
    QTest::newRow("Explain tip") << "menu 5" << QByteArray("statusTip") << QStringLiteral("遊び方の説明を表示します");
    // clang-format on
}

void TranslationTest::table_texts()
{
    QFETCH(QString, where);
    QFETCH(QByteArray, what);
    QFETCH(QString, text);
    install_japanese();
    TableFixture table(1.0);
    Kestrano *window = table.window();
    const QList<QAction *> menus = menu_actions(*window);
    QCOMPARE(menus.size(), 6);
    QObject *object = where.startsWith(QLatin1String("menu "))
                          ? menus.value(where.mid(5).toInt())
                          : (where.isEmpty() ? window : window->findChild<QObject *>(where));
    QVERIFY(object);
    if (what.isEmpty())
        QCOMPARE(window->statusBar()->currentMessage(), text);
    else if (what == "shortcut")
        QCOMPARE(qobject_cast<QAction *>(object)->shortcut().toString(), text);
    else
        QCOMPARE(object->property(what.constData()).toString(), text);
}

void TranslationTest::start_status_tip()
{
    install_japanese();
    TableFixture table(1.0);
    Kestrano *window = table.window();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_B, Qt::ControlModifier);
    QAction *start = menu_actions(*window)[1];
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->statusTip(), QStringLiteral("「カードを配る」ボタンを押してください"));
}

void TranslationTest::notices_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("notice");
    // clang-format off
    QTest::newRow("CPU wins the pair") << "lose_timer" << QStringLiteral("ユーザーの負け");
    QTest::newRow("user wins the pair") << "win_timer" << QStringLiteral("ユーザーの勝ち");
    QTest::newRow("tied pair") << "user_cpu_tie_timer" << QStringLiteral("引き分けです（ノーカウント）");
    // clang-format on
}

void TranslationTest::notices()
{
    QFETCH(QString, slot);
    QFETCH(QString, notice);
    install_japanese();
    TableFixture table(1.0);
    Kestrano *window = table.window();
    QVERIFY(QMetaObject::invokeMethod(window, slot.toLatin1().constData()));
    QCOMPARE(table.label("result_label")->text(), notice);
}

void TranslationTest::verdicts_data()
{
    QTest::addColumn<int>("cpu");
    QTest::addColumn<int>("user");
    QTest::addColumn<int>("tie");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("CPU wins the match") << 14 << 6 << 5 << QStringLiteral("CPU=14、ユーザー=6、引き分け=5 \n\nCPUの勝ち、あなたの負けです");
    QTest::newRow("user wins the match") << 3 << 12 << 10 << QStringLiteral("CPU=3、ユーザー=12、引き分け=10 \n\nあなたの勝ち、CPUの負けです");
    QTest::newRow("drawn match") << 9 << 9 << 7 << QStringLiteral("CPU=9、ユーザー=9、引き分け=7 \n\nあなたとCPUの引き分けです");
    // clang-format on
}

void TranslationTest::verdicts()
{
    QFETCH(int, cpu);
    QFETCH(int, user);
    QFETCH(int, tie);
    QFETCH(QString, text);
    install_japanese();
    TableFixture table(1.0);
    Kestrano *window = table.window();
    window->show();
    cpu_score = cpu;
    user_score = user;
    tie_score = tie;
    ModalAnswer *box = answer_next_box(QMessageBox::Ok);
    table.probe->match_result();
    QVERIFY(box->answered);
    QCOMPARE(box->title, QStringLiteral("お知らせ"));
    QCOMPARE(box->text, text);
    QCOMPARE(table.label("score_label")->text(), QStringLiteral("CPU=0、ユーザー=0、引き分け=0"));
}

void TranslationTest::close_question()
{
    install_japanese();
    TableFixture table(1.0);
    Kestrano *window = table.window();
    window->show();
    ModalAnswer *box = answer_next_box(QMessageBox::No);
    QVERIFY(QMetaObject::invokeMethod(window, "Game_close"));
    QVERIFY(box->answered);
    QCOMPARE(box->title, QStringLiteral("確認"));
    QCOMPARE(box->text, QStringLiteral("本当に終了しますか？"));
    // Qt's own texts come from the system's qtbase_ja.
    QCOMPARE(box->button_texts,
             QStringList({QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
    QVERIFY(window->isVisible());
}

void TranslationTest::card_tool_tips_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("card");
    QTest::addColumn<QString>("tool_tip");
    QTest::addColumn<QString>("spoken");
    // clang-format off
    QTest::newRow("spade ace at position 1") << 1 << 1 << QStringLiteral("配られたカード：スペードのA") << QStringLiteral("スペードのエース");
    QTest::newRow("heart queen at position 2") << 2 << 38 << QStringLiteral("配られたカード：ハートのクイーン") << QStringLiteral("ハートのクイーン");
    QTest::newRow("club jack at position 4") << 4 << 24 << QStringLiteral("配られたカード：クラブのジャック") << QStringLiteral("クラブのジャック");
    QTest::newRow("club 10 at position 5") << 5 << 23 << QStringLiteral("配られたカード：クラブの10") << QStringLiteral("クラブの10");
    QTest::newRow("diamond ace at position 2 (lower-case word)") << 2 << 40 << QStringLiteral("配られたカード：ダイヤのA") << QStringLiteral("ダイヤのエース");
    QTest::newRow("diamond king at position 3") << 3 << 52 << QStringLiteral("配られたカード：ダイヤのキング") << QStringLiteral("ダイヤのキング");
    QTest::newRow("diamond 4 at position 1") << 1 << 43 << QStringLiteral("配られたカード：ダイヤの4") << QStringLiteral("ダイヤの4");
    QTest::newRow("diamond 4 at position 5") << 5 << 43 << QStringLiteral("配られたカード：ダイヤの4") << QStringLiteral("ダイヤの4");
    // clang-format on
}

void TranslationTest::card_tool_tips()
{
    QFETCH(int, position);
    QFETCH(int, card);
    QFETCH(QString, tool_tip);
    QFETCH(QString, spoken);
    install_japanese();
    TableFixture table(1.0);
    Kestrano *window = table.window();
    for (int i = 0; i < 10; ++i)
        buf_r[i] = 5 + i;
    buf_r[position - 1] = card;
    count = 1;
    capture_stdout([&] { QVERIFY(QMetaObject::invokeMethod(window, "card_deal")); });
    QCOMPARE(table.card_button(position)->toolTip(), tool_tip);
    QCOMPARE(table.user_card_label(position)->accessibleName(), spoken);
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
    TableFixture table(1.0);
    Kestrano *window = table.window();
    const bool japanese = expects == "japanese";
    QCOMPARE(table.button("deal_button")->text(),
             japanese ? QStringLiteral("カードを配る") : QStringLiteral("Deal cards"));
    QCOMPARE(window->windowTitle(),
             japanese ? QStringLiteral("タイトル：12-1") : QStringLiteral("Title:12-1"));
}

QTEST_MAIN(TranslationTest)
#include "test_translation.moc"
