// The rules window: its page, its size, and that it is one window kept for
// the whole run.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

#include "dialogs/help_explain.h"
#include "table/kestrano.h"
#include "tests/support/game_state_reset.h"
#include "tests/support/stdout_capture.h"

namespace {

// The window's own size; the main window has the same.
const QSize kHelpSize(640, 480);

QList<Help_explain *> help_windows()
{
    QList<Help_explain *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *help = qobject_cast<Help_explain *>(widget))
            found.append(help);
    }
    return found;
}

QAction *menu_entry(Kestrano &window, const QString &menu_title, const QString &entry)
{
    for (QAction *menu : window.menuBar()->actions()) {
        if (menu->text() != menu_title || !menu->menu())
            continue;
        for (QAction *action : menu->menu()->actions()) {
            if (action->text() == entry)
                return action;
        }
    }
    return nullptr;
}

// Clicks the link whose visible text is `text`, where the user would.
void click_link(QTextBrowser &browser, const QString &text)
{
    const QTextCursor found = browser.document()->find(text);
    QVERIFY2(!found.isNull(), qPrintable(text));
    QTextCursor middle = found;
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    const QRect place = browser.cursorRect(middle);
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

} // namespace

class HelpExplainTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { reset_game_state(); }

    void page_is_built_as_shift_jis();
    void page_text_is_decoded_data();
    void page_text_is_decoded();
    void size_is_fixed();
    void reopening_keeps_scroll_and_history();
    void missing_page_leaves_window_empty();
};

// The page on disk is Shift-JIS, not the UTF-8 it is written in, so the
// window really has to decode it.
void HelpExplainTest::page_is_built_as_shift_jis()
{
    QFile page(QStringLiteral("html/12-1.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    // "遊び方" in Shift-JIS, then in UTF-8.
    QVERIFY(bytes.contains(QByteArray::fromHex("975682d195fb")));
    QVERIFY(!bytes.contains(QByteArray::fromHex("e9818ae381b3e696b9")));
    QVERIFY(bytes.contains("charset=Shift_JIS"));
}

void HelpExplainTest::page_text_is_decoded_data()
{
    QTest::addColumn<QString>("sentence");
    // clang-format off
    QTest::newRow("Japanese heading") << QStringLiteral("遊び方");
    QTest::newRow("Japanese judging rule") << QStringLiteral("ランクの差が 6 以上なら、大きいほうの勝ちです。");
    QTest::newRow("Japanese worked example") << QStringLiteral("Q（12）と 7：差は 5。小さいほうの 7 の勝ち。");
    QTest::newRow("Japanese menu entry") << QStringLiteral("ゲーム → ゲーム開始（Ctrl+B）：試合を始めます。");
    QTest::newRow("English heading") << QStringLiteral("How to play");
    QTest::newRow("English judging rule") << QStringLiteral("If the ranks differ by 6 or more, the higher card wins.");
    QTest::newRow("English worked example") << QStringLiteral("Ace (1) against king (13): they differ by 12, so the higher card, the king, wins.");
    // clang-format on
}

void HelpExplainTest::page_text_is_decoded()
{
    QFETCH(QString, sentence);
    Help_explain help;
    const QString text = help.toPlainText().simplified();
    QVERIFY2(text.contains(sentence), qPrintable(text.left(200)));
}

void HelpExplainTest::size_is_fixed()
{
    Help_explain help;
    QCOMPARE(help.minimumSize(), kHelpSize);
    QCOMPARE(help.maximumSize(), kHelpSize);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    help.resize(800, 600);
    QCOMPARE(help.size(), kHelpSize);
    QVERIFY(help.isWindow());
}

void HelpExplainTest::reopening_keeps_scroll_and_history()
{
    Kestrano window;
    window.show();
    QAction *explain = menu_entry(window, QStringLiteral("&Help"), QStringLiteral("Explain"));
    QVERIFY(explain);
    QCOMPARE(help_windows().size(), 1);
    Help_explain *help = help_windows().first();
    QVERIFY(!help->isVisible());
    explain->trigger();
    explain->trigger();
    QCOMPARE(help_windows(), QList<Help_explain *>{help});
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(help->source(), QUrl(QStringLiteral("html/12-1.html")));
    QVERIFY(!help->isBackwardAvailable());

    // Jump to the English half by its link at the top of the page.
    click_link(*help, QStringLiteral("English"));
    QTRY_VERIFY(help->isBackwardAvailable());
    QScrollBar *scroll = help->verticalScrollBar();
    const int english_at = scroll->value();
    QVERIFY(english_at > 0);

    help->close();
    QVERIFY(!help->isVisible());
    explain->trigger();
    QCOMPARE(help_windows(), QList<Help_explain *>{help});
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(scroll->value(), english_at);
    QVERIFY(help->isBackwardAvailable());
    QCOMPARE(help->source().fileName(), QStringLiteral("12-1.html"));
    QCOMPARE(help->source().fragment(), QStringLiteral("english"));

    // Back leads to the top of the page.
    help->backward();
    QCOMPARE(scroll->value(), 0);
}

void HelpExplainTest::missing_page_leaves_window_empty()
{
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString game_dir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));

    // Qt's own warning goes to the message handler (standard error in the
    // game), never to standard output.
    QTest::ignoreMessage(QtWarningMsg, "QTextBrowser: No document for html/12-1.html");
    std::unique_ptr<Help_explain> help;
    const QByteArray printed = capture_stdout([&] { help = std::make_unique<Help_explain>(); });
    QVERIFY(QDir::setCurrent(game_dir));

    QCOMPARE(printed, QByteArray());
    QCOMPARE(help->toPlainText(), QString());
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help.get()));
    QCOMPARE(help->size(), kHelpSize);
}

QTEST_MAIN(HelpExplainTest)
#include "test_help_explain.moc"
