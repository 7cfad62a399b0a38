// The help menu's two windows, each one fixed-size, modeless window built with the table and
// kept for the whole run: the rules page, decoded from Shift-JIS, and the about window with
// two pages of lines on green.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTranslator>

#include "app/translation.h"
#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

const QSize kHelpSize(640, 480); // the main window's size
const QSize kVersionSize(420, 300);

// The one top-level window of class `Window`; null when there is none or more.
template <typename Window> Window *only_window()
{
    QList<Window *> found;
    for (QWidget *widget : QApplication::topLevelWidgets())
        found << qobject_cast<Window *>(widget);
    found.removeAll(nullptr);
    return found.size() == 1 ? found.first() : nullptr;
}

// Chooses the table's menu `entry`: the one window of class `Window`, on screen, or null.
template <typename Window> Window *chosen(TableFixture &table, const char *entry)
{
    QAction *action = table.action(QLatin1String(entry));
    if (action)
        action->trigger();
    Window *window = only_window<Window>();
    return action && window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

} // namespace

class HelpWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void page_text_is_decoded();
    void fixed_windows_and_version_background();
    void reopening_keeps_scroll_and_history();
    void version_lines_data();
    void version_lines();
    void version_window_from_menu();
};

// The page on disk is Shift-JIS (and says so), not UTF-8: the window really decodes it.
void HelpWindowsTest::page_text_is_decoded()
{
    QFile page(QStringLiteral("html/12-1.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    // "遊び方" in Shift-JIS, then in UTF-8.
    QVERIFY(bytes.contains(QByteArray::fromHex("975682d195fb")) &&
            bytes.contains("charset=Shift_JIS"));
    QVERIFY(!bytes.contains(QByteArray::fromHex("e9818ae381b3e696b9")));
    Help_explain help;
    const QString text = help.toPlainText().simplified();
    // clang-format off
    for (const QString &sentence : {
             QStringLiteral("遊び方"),
             QStringLiteral("ランクの差が 6 以上なら、大きいほうの勝ちです。"),
             QStringLiteral("Q（12）と 7：差は 5。小さいほうの 7 の勝ち。"),
             QStringLiteral("ゲーム → ゲーム開始（Ctrl+B）：試合を始めます。"),
             QStringLiteral("How to play"),
             QStringLiteral("If the ranks differ by 6 or more, the higher card wins."),
             QStringLiteral("Ace (1) against king (13): they differ by 12, so the higher card, the king, wins.")})
        QVERIFY2(text.contains(sentence), qPrintable(sentence + " not in: " + text.left(200)));
    // clang-format on
}

// Neither window can be resized; both are windows of their own, not modal.  The version
// window is green cloth with a black line along its top and left edges only.
void HelpWindowsTest::fixed_windows_and_version_background()
{
    Help_explain help;
    Version version;
    const std::pair<QWidget *, QSize> windows[] = {{&help, kHelpSize}, {&version, kVersionSize}};
    for (auto [window, size] : windows) {
        QCOMPARE(window->minimumSize(), size);
        QCOMPARE(window->maximumSize(), size);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->resize(800, 600);
        QCOMPARE(window->size(), size);
        QVERIFY(window->isWindow() && !window->isModal());
    }
    const QImage image = version.grab().toImage();
    QCOMPARE(image.size(), kVersionSize);
    const QColor black(Qt::black), green(Qt::green);
    // clang-format off
    const std::pair<QPoint, QColor> pixels[] = {
        {{0, 0}, black},     // top-left corner
        {{210, 0}, black},   // top edge
        {{419, 0}, black},   // top-right corner
        {{0, 150}, black},   // left edge
        {{0, 299}, black},   // bottom-left corner
        {{1, 1}, green},     // just inside the corner
        {{419, 150}, green}, // right edge
        {{210, 299}, green}, // bottom edge
        {{419, 299}, green}, // bottom-right corner
        {{4, 100}, green},   // margin beside the lines
    };
    // clang-format on
    for (auto [pixel, colour] : pixels)
        QVERIFY2(image.pixelColor(pixel) == colour,
                 qPrintable(QStringLiteral("at %1,%2").arg(pixel.x()).arg(pixel.y())));
}

// "Explain" shows the one rules window the table built, however often
// chosen; closed and shown again, it is where it was left.
void HelpWindowsTest::reopening_keeps_scroll_and_history()
{
    TableFixture table;
    table.window()->show();
    Help_explain *help = only_window<Help_explain>();
    QVERIFY(help && !help->isVisible());
    QCOMPARE(chosen<Help_explain>(table, "Explain"), help);
    QCOMPARE(chosen<Help_explain>(table, "Explain"), help);
    QCOMPARE(help->source(), QUrl(QStringLiteral("html/12-1.html")));
    QVERIFY(!help->isBackwardAvailable());

    // Jump to the English half by its link at the top of the page, clicked where the user would.
    QTextCursor link = help->document()->find(QStringLiteral("English"));
    QVERIFY(!link.isNull());
    link.setPosition((link.selectionStart() + link.selectionEnd()) / 2);
    QTest::mouseClick(help->viewport(), Qt::LeftButton, Qt::NoModifier,
                      help->cursorRect(link).center());
    QTRY_VERIFY(help->isBackwardAvailable());
    QScrollBar *scroll = help->verticalScrollBar();
    const int english_at = scroll->value();
    QVERIFY(english_at > 0);

    help->close();
    QVERIFY(!help->isVisible());
    QCOMPARE(chosen<Help_explain>(table, "Explain"), help);
    QCOMPARE(scroll->value(), english_at);
    QVERIFY(help->isBackwardAvailable());
    QCOMPARE(help->source().fileName(), QStringLiteral("12-1.html"));
    QCOMPARE(help->source().fragment(), QStringLiteral("english"));

    // Back leads to the top of the page.
    help->backward();
    QCOMPARE(scroll->value(), 0);
}

void HelpWindowsTest::version_lines_data()
{
    QTest::addColumn<bool>("japanese"); // on a Japanese system, with the translation
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("credits");

    // clang-format off
    QTest::newRow("line 1: title, then author") << false << 1 << 10 << "<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>" << "Author:<Font color=Blue>Torvane</font>";
    QTest::newRow("line 2: version, then author's e-mail") << false << 2 << 12 << "<Font color=black>Version:</Font><Font Color=blue> Version 1.00 Free C Version</Font>" << "Author e-mail:<Font color=red>torvane@example.org</font>";
    QTest::newRow("line 3: staff with its unclosed tag, then sound") << false << 3 << 14 << "<Font color=black>staff:</Font><Font color=blue size=3>Torvane,Quellmir" << "Sound:<Font color=Blue>Quellmir</Font>";
    QTest::newRow("line 4: type, then sound e-mail") << false << 4 << 14 << "<Font color=black>Type: </Font><Font Color=red>Free Ware</Font>" << "Sound e-mail:<Font color=red>quellmir@example.org</Font>";
    QTest::newRow("Japanese line 1") << true << 1 << 10 << QStringLiteral("<Font color=black>タイトル：</Font><Font Color=red>Mirabun</Font>") << QStringLiteral("作者：<Font color=Blue>Torvane</font>");
    QTest::newRow("Japanese line 2") << true << 2 << 12 << QStringLiteral("<Font color=black>バージョン：</Font><Font Color=blue> バージョン 1.00 フリー C 版</Font>") << QStringLiteral("作者のメール：<Font color=red>torvane@example.org</font>");
    QTest::newRow("Japanese line 3") << true << 3 << 14 << QStringLiteral("<Font color=black>スタッフ：</Font><Font color=blue size=3>Torvane、Quellmir") << QStringLiteral("サウンド：<Font color=Blue>Quellmir</Font>");
    QTest::newRow("Japanese line 4") << true << 4 << 14 << QStringLiteral("<Font color=black>種類： </Font><Font Color=red>フリーウェア</Font>") << QStringLiteral("サウンドのメール：<Font color=red>quellmir@example.org</Font>");
    // clang-format on
}

// Each line of both pages, in the display font at its own size.
void HelpWindowsTest::version_lines()
{
    QFETCH(bool, japanese);
    QFETCH(int, number);
    QFETCH(int, points);
    QFETCH(QString, info);
    QFETCH(QString, credits);
    QTranslator translator; // leaves the application with it
    if (japanese)
        install_translation(*qApp, translator, QLocale::Japanese);
    QCOMPARE(translator.isEmpty(), !japanese);
    Version version;
    version.show();
    auto *label = version.findChild<QLabel *>(QStringLiteral("text_label%1").arg(number));
    QVERIFY(label);
    for (const QString &text : {info, credits}) {
        if (text == credits)
            QTest::mouseClick(version.findChild<QPushButton *>("next_button"), Qt::LeftButton);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().family(), QStringLiteral("minamoji"));
        QCOMPARE(label->font().pointSize(), points);
    }
}

// "Version" shows the one window the table built, however often chosen, with " O k " and
// "about staff" side by side.  " O k " hides it without turning the page; "about staff" turns
// it for good and leaves " O k " alone, centred; the menu shows it again as it was left.
void HelpWindowsTest::version_window_from_menu()
{
    TableFixture table;
    table.window()->show();
    Version *version = only_window<Version>();
    QVERIFY(version && !version->isVisible());
    QCOMPARE(chosen<Version>(table, "Version"), version);
    QCOMPARE(chosen<Version>(table, "Version"), version);
    QCOMPARE(version->windowTitle(), QStringLiteral("Version"));
    auto *ok = version->findChild<QPushButton *>("ok_button");
    auto *next = version->findChild<QPushButton *>("next_button");
    QCOMPARE(ok->text(), QStringLiteral(" O k "));
    QCOMPARE(next->text(), QStringLiteral("about staff"));
    QVERIFY(pressable(ok) && pressable(next));
    QVERIFY(ok->geometry().right() < next->geometry().left());
    auto *first = version->findChild<QLabel *>("text_label1");
    auto *third = version->findChild<QLabel *>("text_label3");

    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!version->isVisible());
    QCOMPARE(chosen<Version>(table, "Version"), version);
    QCOMPARE(first->text(),
             QStringLiteral("<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>"));

    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(!next->isVisible() && ok->isVisible());
    QTRY_VERIFY(qAbs(ok->geometry().center().x() - kVersionSize.width() / 2) <= 1);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!version->isVisible());
    QCOMPARE(chosen<Version>(table, "Version"), version);
    QVERIFY(!next->isVisible());
    QCOMPARE(first->text(), QStringLiteral("Author:<Font color=Blue>Torvane</font>"));
    QCOMPARE(third->text(), QStringLiteral("Sound:<Font color=Blue>Quellmir</Font>"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(HelpWindowsTest)
#include "test_help_windows.moc"
