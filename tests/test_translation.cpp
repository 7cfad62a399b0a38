// The Japanese edition: on a Japanese system every text of the table, its
// notices, verdicts and question, and the about window come from
// Kestrano_ja; anywhere else, or without the file, the game speaks English.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include "app/translation.h"
#include "dialogs/version.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "tests/support/child_process.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

// For the copy of this program that checks the system's locale: the language it expects.
constexpr char kChildExpects[] = "KESTRANO_CHILD_EXPECTS";

class TranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void table_texts_data();
    void table_texts();
    void message_boxes_data();
    void message_boxes();
    void card_tool_tips_data();
    void card_tool_tips();
    void system_locale_data();
    void system_locale();
    void system_locale_child();

private:
    [[nodiscard]] bool install_japanese();

    QTranslator translator;
    QTranslator qt_translator; // Qt's own texts
};

void TranslationTest::cleanup()
{
    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::removeTranslator(&qt_translator);
}

bool TranslationTest::install_japanese()
{
    install_translation(*qApp, translator, QLocale::Japanese);
    install_qt_translation(*qApp, qt_translator, QLocale::Japanese);
    return !translator.isEmpty() && !qt_translator.isEmpty();
}

void TranslationTest::table_texts_data()
{
    QTest::addColumn<QString>("slot"); // run first, when given: a start or a pair's notice
    // An object name, "menu N" (Nth menu bar entry), "about" or "about " and a widget's name.
    QTest::addColumn<QString>("where");
    QTest::addColumn<QByteArray>("what"); // the property; the status line when empty
    QTest::addColumn<QString>("text");

    // clang-format off
    QTest::newRow("title") << "" << "" << QByteArray("windowTitle") << QStringLiteral("タイトル：12-1");
    QTest::newRow("Deal cards") << "" << "deal_button" << QByteArray("text") << QStringLiteral("カードを配る");
    QTest::newRow("Deal cards tool tip") << "" << "deal_button" << QByteArray("toolTip") << QStringLiteral("カードを配ります");
    QTest::newRow("Card open") << "" << "cpu_open_button" << QByteArray("text") << QStringLiteral("カードを開く");
    QTest::newRow("score line") << "" << "score_label" << QByteArray("text") << QStringLiteral("CPU=0、ユーザー=0、引き分け=0");
    QTest::newRow("round") << "" << "round_label" << QByteArray("text") << QStringLiteral("第0ラウンド");
    QTest::newRow("card button 1") << "" << "push_button1" << QByteArray("text") << QStringLiteral("1");
    QTest::newRow("card button 5") << "" << "push_button5" << QByteArray("text") << QStringLiteral("5");
    QTest::newRow("status line") << "" << "" << QByteArray() << QStringLiteral("シャッフルが終わりました");
    QTest::newRow("Game menu") << "" << "menu 0" << QByteArray("text") << QStringLiteral("ゲーム(&G)");
    QTest::newRow("Game start") << "" << "menu 1" << QByteArray("text") << QStringLiteral("ゲーム開始");
    QTest::newRow("Game start tip") << "" << "menu 1" << QByteArray("statusTip") << QStringLiteral("ゲームを開始します");
    QTest::newRow("Game start keeps Ctrl+B") << "" << "menu 1" << QByteArray("shortcut") << QStringLiteral("Ctrl+B");
    QTest::newRow("Game start tip once started") << "Beginer_start" << "menu 1" << QByteArray("statusTip") << QStringLiteral("「カードを配る」ボタンを押してください");
    QTest::newRow("Game start off once started") << "Beginer_start" << "menu 1" << QByteArray("enabled") << QStringLiteral("false");
    QTest::newRow("close") << "" << "menu 2" << QByteArray("text") << QStringLiteral("終了");
    QTest::newRow("close tip") << "" << "menu 2" << QByteArray("statusTip") << QStringLiteral("終了");
    QTest::newRow("Help menu") << "" << "menu 3" << QByteArray("text") << QStringLiteral("ヘルプ(&H)");
    QTest::newRow("Version") << "" << "menu 4" << QByteArray("text") << QStringLiteral("バージョン情報");
    QTest::newRow("Version tip") << "" << "menu 4" << QByteArray("statusTip") << QStringLiteral("バージョン情報");
    QTest::newRow("Explain") << "" << "menu 5" << QByteArray("text") << QStringLiteral("遊び方");
    QTest::newRow("Explain tip") << "" << "menu 5" << QByteArray("statusTip") << QStringLiteral("遊び方の説明を表示します");
    QTest::newRow("about window") << "" << "about" << QByteArray("windowTitle") << QStringLiteral("バージョン情報");
    QTest::newRow("about window's O k") << "" << "about ok_button" << QByteArray("text") << QStringLiteral("OK");
    QTest::newRow("about window's about staff") << "" << "about next_button" << QByteArray("text") << QStringLiteral("スタッフ紹介");
    QTest::newRow("CPU wins the pair") << "lose_timer" << "result_label" << QByteArray("text") << QStringLiteral("ユーザーの負け");
    QTest::newRow("user wins the pair") << "win_timer" << "result_label" << QByteArray("text") << QStringLiteral("ユーザーの勝ち");
    QTest::newRow("tied pair") << "user_cpu_tie_timer" << "result_label" << QByteArray("text") << QStringLiteral("引き分けです（ノーカウント）");
    // clang-format on
}

void TranslationTest::table_texts()
{
    QFETCH(QString, slot);
    QFETCH(QString, where);
    QFETCH(QByteArray, what);
    QFETCH(QString, text);
    QVERIFY(install_japanese());
    TableFixture table(1.0);
    Kestrano *window = table.window();
    if (!slot.isEmpty())
        QVERIFY(QMetaObject::invokeMethod(window, slot.toLatin1().constData()));
    // The menu bar's entries, titles first: {title, entries...} per menu.
    QList<QAction *> menus;
    for (QAction *menu : window->menuBar()->actions())
        menus << menu << (menu->menu() ? menu->menu()->actions() : QList<QAction *>());
    QCOMPARE(menus.size(), 6);
    QObject *about = top_level<Version>();
    QObject *object = where.startsWith(QLatin1String("menu ")) ? menus.value(where.mid(5).toInt())
                      : where == QLatin1String("about")        ? about
                      : where.startsWith(QLatin1String("about "))
                          ? about->findChild<QObject *>(where.mid(6))
                      : where.isEmpty() ? window
                                        : window->findChild<QObject *>(where);
    QVERIFY(object);
    if (what.isEmpty())
        QCOMPARE(window->statusBar()->currentMessage(), text);
    else
        QCOMPARE(object->property(what.constData()).toString(), text);
}

void TranslationTest::message_boxes_data()
{
    QTest::addColumn<QString>("slot");      // the verdict when empty
    QTest::addColumn<QList<int>>("scores"); // CPU, user, ties
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("buttons"); // not looked at when empty
    // clang-format off
    QTest::newRow("CPU wins the match") << "" << QList<int>{14, 6, 5} << int(QMessageBox::Ok) << QStringLiteral("お知らせ") << QStringLiteral("CPU=14、ユーザー=6、引き分け=5 \n\nCPUの勝ち、あなたの負けです") << QStringList();
    QTest::newRow("user wins the match") << "" << QList<int>{3, 12, 10} << int(QMessageBox::Ok) << QStringLiteral("お知らせ") << QStringLiteral("CPU=3、ユーザー=12、引き分け=10 \n\nあなたの勝ち、CPUの負けです") << QStringList();
    QTest::newRow("drawn match") << "" << QList<int>{9, 9, 7} << int(QMessageBox::Ok) << QStringLiteral("お知らせ") << QStringLiteral("CPU=9、ユーザー=9、引き分け=7 \n\nあなたとCPUの引き分けです") << QStringList();
    // Qt's own button texts come from the system's qtbase_ja.
    QTest::newRow("close question, answered no") << "Game_close" << QList<int>{0, 0, 0} << int(QMessageBox::No) << QStringLiteral("確認") << QStringLiteral("本当に終了しますか？") << QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")};
    // clang-format on
}

// The box shows the translated texts; then the scores are back at zero, the table open.
void TranslationTest::message_boxes()
{
    QFETCH(QString, slot);
    QFETCH(QList<int>, scores);
    QFETCH(int, answer);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QStringList, buttons);
    QVERIFY(install_japanese());
    TableFixture table(1.0);
    table.window()->show();
    cpu_score = scores[0];
    user_score = scores[1];
    tie_score = scores[2];
    ModalAnswer *box = answer_next_box(QMessageBox::StandardButton(answer));
    if (slot.isEmpty())
        table.probe->match_result();
    else
        QVERIFY(QMetaObject::invokeMethod(table.window(), slot.toLatin1().constData()));
    QVERIFY(box->answered);
    QCOMPARE(box->title, title);
    QCOMPARE(box->text, text);
    if (!buttons.isEmpty())
        QCOMPARE(box->button_texts, buttons);
    QCOMPARE(table.label("score_label")->text(), QStringLiteral("CPU=0、ユーザー=0、引き分け=0"));
    QVERIFY(table.window()->isVisible());
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
    QVERIFY(install_japanese());
    TableFixture table(1.0);
    for (int i = 0; i < 10; ++i)
        buf_r[i] = 5 + i;
    buf_r[position - 1] = card;
    count = 1;
    capture_stdout([&] { QVERIFY(QMetaObject::invokeMethod(table.window(), "card_deal")); });
    QCOMPARE(table.card_button(position)->toolTip(), tool_tip);
    QCOMPARE(table.user_card_label(position)->accessibleName(), spoken);
}

void TranslationTest::system_locale_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<bool>("with_file");  // Kestrano_ja.qm in the current folder
    QTest::addColumn<QString>("expects"); // the table's language, then "/qt" for Qt's own texts
    QTest::newRow("Japanese system") << "ja_JP.UTF-8" << true << "japanese/qt";
    QTest::newRow("Japanese system without the file") << "ja_JP.UTF-8" << false << "english/qt";
    QTest::newRow("English system") << "en_US.UTF-8" << true << "english/";
    QTest::newRow("German system") << "de_DE.UTF-8" << true << "english/";
    QTest::newRow("Chinese system, also written in kanji") << "zh_CN.UTF-8" << true << "english/";
    QTest::newRow("French system") << "fr_FR.UTF-8" << true << "english/";
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

// What main does before it builds the window; in English no file is opened.
void TranslationTest::system_locale_child()
{
    const QList<QByteArray> expects = qgetenv(kChildExpects).split('/');
    if (expects.size() != 2)
        QSKIP("runs only in the copy started by system_locale");
    install_translation(*qApp, translator, QLocale::system().language());
    install_qt_translation(*qApp, qt_translator, QLocale::system().language());
    const bool japanese = expects[0] == "japanese";
    QCOMPARE(translator.isEmpty(), !japanese);
    if (!japanese)
        QCOMPARE(translator.filePath(), QString());
    QCOMPARE(qt_translator.filePath().isEmpty(), expects[1] != "qt");
    TableFixture table(1.0);
    table.window()->show();
    const QStringList shown = {table.button("deal_button")->text(), table.window()->windowTitle(),
                               table.label("score_label")->text()};
    const QStringList english = {"Deal cards", "Title:12-1", "CPU=0,User=0,tie=0"};
    const QStringList ja = {"カードを配る", "タイトル：12-1", "CPU=0、ユーザー=0、引き分け=0"};
    QCOMPARE(shown, japanese ? ja : english);
}

QTEST_MAIN(TranslationTest)
#include "test_translation.moc"
