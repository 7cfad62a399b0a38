// The help menu's two windows: the rules page and the about window.  Each is
// one fixed-size, modeless window built with the table and kept for the
// whole run; the rules page is decoded from Shift-JIS, the about window shows
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
#include <QTextDocument>
#include <QTranslator>

#include "app/translation.h"
#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

// The rules window's size is the main window's.
const QSize kHelpSize(640, 480);
const QSize kVersionSize(420, 300);

template <typename Window> QList<Window *> windows_of()
{
    QList<Window *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget))
            found << window;
    }
    return found;
}

QLabel *line(QWidget &version, int number)
{
    return version.findChild<QLabel *>(QStringLiteral("text_label%1").arg(number));
}

QPushButton *version_button(QWidget &version, const char *name)
{
    return version.findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class HelpWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void page_text_is_decoded_data();
    void page_text_is_decoded();
    void window_sizes_are_fixed();
    void reopening_keeps_scroll_and_history();
    void version_lines_data();
    void version_lines();
    void version_background_data();
    void version_background();
    void version_window_from_menu();
};

void HelpWindowsTest::page_text_is_decoded_data()
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

// The page on disk is Shift-JIS, not the UTF-8 it is written in, and says
// so: the window really has to decode it.
void HelpWindowsTest::page_text_is_decoded()
{
    QFETCH(QString, sentence);
    QFile page(QStringLiteral("html/12-1.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    // "遊び方" in Shift-JIS, then in UTF-8.
    QVERIFY(bytes.contains(QByteArray::fromHex("975682d195fb")) &&
            bytes.contains("charset=Shift_JIS"));
    QVERIFY(!bytes.contains(QByteArray::fromHex("e9818ae381b3e696b9")));
    Help_explain help;
    const QString text = help.toPlainText().simplified();
    QVERIFY2(text.contains(sentence), qPrintable(text.left(200)));
}

// Neither window can be resized; both are windows of their own, not modal.
void HelpWindowsTest::window_sizes_are_fixed()
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
}

void HelpWindowsTest::reopening_keeps_scroll_and_history()
{
    TableFixture table;
    table.window()->show();
    QAction *explain = table.action(QStringLiteral("Explain"));
    QVERIFY(explain);
    QCOMPARE(windows_of<Help_explain>().size(), 1);
    Help_explain *help = windows_of<Help_explain>().first();
    QVERIFY(!help->isVisible());
    explain->trigger();
    explain->trigger();
    QCOMPARE(windows_of<Help_explain>(), QList<Help_explain *>{help});
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QCOMPARE(help->source(), QUrl(QStringLiteral("html/12-1.html")));
    QVERIFY(!help->isBackwardAvailable());

    // Jump to the English half by its link at the top of the page, clicked
    // where the user would.
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
    explain->trigger();
    QCOMPARE(windows_of<Help_explain>(), QList<Help_explain *>{help});
    QVERIFY(QTest::qWaitForWindowExposed(help));
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
    if (japanese) {
        install_translation(*qApp, translator, QLocale::Japanese);
        QVERIFY(!translator.isEmpty());
    }
    Version version;
    version.show();
    QLabel *label = line(version, number);
    QVERIFY(label);
    for (const QString &text : {info, credits}) {
        if (text == credits)
            QTest::mouseClick(version_button(version, "next_button"), Qt::LeftButton);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().family(), QStringLiteral("minamoji"));
        QCOMPARE(label->font().pointSize(), points);
    }
}

void HelpWindowsTest::version_background_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    const QColor black(Qt::black), green(Qt::green);
    QTest::newRow("top-left corner") << QPoint(0, 0) << black;
    QTest::newRow("top edge") << QPoint(210, 0) << black;
    QTest::newRow("top-right corner") << QPoint(419, 0) << black;
    QTest::newRow("left edge") << QPoint(0, 150) << black;
    QTest::newRow("bottom-left corner") << QPoint(0, 299) << black;
    QTest::newRow("just inside the corner") << QPoint(1, 1) << green;
    QTest::newRow("right edge") << QPoint(419, 150) << green;
    QTest::newRow("bottom edge") << QPoint(210, 299) << green;
    QTest::newRow("bottom-right corner") << QPoint(419, 299) << green;
    QTest::newRow("margin beside the lines") << QPoint(4, 100) << green;
}

void HelpWindowsTest::version_background()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    Version version;
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    const QImage image = version.grab().toImage();
    QCOMPARE(image.size(), kVersionSize);
    QCOMPARE(image.pixelColor(pixel), colour);
}

// The Help menu's "Version" shows the one window the table built, however
// often chosen, modeless, with " O k " and "about staff" side by side.
// " O k " hides it without turning the page; "about staff" turns it for good
// and leaves " O k " alone, centred; the menu shows it again as it was left.
void HelpWindowsTest::version_window_from_menu()
{
    TableFixture table;
    table.window()->show();
    QAction *entry = table.action(QStringLiteral("Version"));
    QVERIFY(entry);
    QCOMPARE(windows_of<Version>().size(), 1);
    Version *version = windows_of<Version>().first();
    QVERIFY(!version->isVisible());
    entry->trigger();
    entry->trigger();
    QCOMPARE(windows_of<Version>(), QList<Version *>{version});
    QVERIFY(QTest::qWaitForWindowExposed(version));
    QCOMPARE(version->windowTitle(), QStringLiteral("Version"));
    QPushButton *ok = version_button(*version, "ok_button");
    QPushButton *next = version_button(*version, "next_button");
    QCOMPARE(ok->text(), QStringLiteral(" O k "));
    QCOMPARE(next->text(), QStringLiteral("about staff"));
    QVERIFY(pressable(ok) && pressable(next));
    QVERIFY(ok->geometry().right() < next->geometry().left());

    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!version->isVisible());
    entry->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(version));
    QCOMPARE(line(*version, 1)->text(),
             QStringLiteral("<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>"));

    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(!next->isVisible() && ok->isVisible());
    QTRY_VERIFY(qAbs(ok->geometry().center().x() - kVersionSize.width() / 2) <= 1);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!version->isVisible());
    entry->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(version));
    QVERIFY(!next->isVisible());
    QCOMPARE(line(*version, 1)->text(), QStringLiteral("Author:<Font color=Blue>Torvane</font>"));
    QCOMPARE(line(*version, 3)->text(), QStringLiteral("Sound:<Font color=Blue>Quellmir</Font>"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(HelpWindowsTest)
#include "test_help_windows.moc"
