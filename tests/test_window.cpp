// The table as the player first sees it: size, title, texts, fonts, cursors,
// what is shown and enabled, the layout rows, the green cloth and the slots.
#include <QBoxLayout>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <memory>

#include "table/kestrano.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    // The window finds its pictures relative to the working directory.
    void initTestCase() { QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR))); }
    void init()
    {
        table = std::make_unique<TableFixture>();
        window = table->window();
        QVERIFY(table->show_exposed());
    }
    void cleanup() { table.reset(); }

    void size_title_and_status();
    void widgets_data();
    void widgets();
    void layout();
    void green_table();
    void slots_in_order();

private:
    std::unique_ptr<TableFixture> table;
    Kestrano *window = nullptr;
};

void TestWindow::size_title_and_status()
{
    QCOMPARE(window->size(), QSize(640, 480));
    QCOMPARE(window->minimumSize(), QSize(640, 480));
    QCOMPARE(window->maximumSize(), QSize(640, 480));
    window->resize(800, 600);
    QCOMPARE(window->size(), QSize(640, 480));
    QCOMPARE(window->windowTitle(), QStringLiteral("Title:12-1"));
    // The first shuffle made the status bar and left its closing message.
    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("It has shuffuled Ok"));
}

void TestWindow::widgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tool_tip");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("pointing_hand");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<int>("points"); // of the "minamoji" font; 0: the default font

    // clang-format off
    //                                  object name           text                    tool tip       hidden   enabled  hand     picture  points
    QTest::newRow("deal button")      << "deal_button"      << "Deal cards"         << "Card deal" << false << false << true  << false << 0;
    QTest::newRow("card open button") << "cpu_open_button"  << "Card open"          << ""          << false << false << true  << false << 0;
    QTest::newRow("score line")       << "score_label"      << "CPU=0,User=0,tie=0" << ""          << false << true  << false << false << 18;
    QTest::newRow("notice line")      << "result_label"     << ""                   << ""          << true  << true  << false << false << 15;
    QTest::newRow("round line")       << "round_label"      << "Round 0"            << ""          << true  << true  << false << false << 24;
    for (int p = 1; p <= 5; ++p) {
        const QString n = QString::number(p);
        QTest::addRow("card button %d", p)  << "push_button" + n     << n                    << ""          << true  << true  << true  << false << 0;
        QTest::addRow("CPU card %d", p)     << "cpu_card_label" + n  << ""                   << ""          << false << true  << false << false << 0;
        QTest::addRow("user card %d", p)    << "user_card_label" + n << ""                   << ""          << false << true  << false << false << 0;
    }
    QTest::newRow("CPU card in play") << "cpu_play_label"   << ""                   << ""          << false << true  << false << false << 0;
    QTest::newRow("user card in play")<< "user_play_label"  << ""                   << ""          << false << true  << false << false << 0;
    QTest::newRow("pile")             << "deck_label"       << ""                   << ""          << false << true  << false << true  << 0;
    // clang-format on
}

void TestWindow::widgets()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, tool_tip);
    QFETCH(bool, hidden);
    QFETCH(bool, enabled);
    QFETCH(bool, pointing_hand);
    QFETCH(bool, picture);
    QFETCH(int, points);

    auto *widget = window->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(QStringLiteral("no widget named ") + name));
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), text);
    QCOMPARE(widget->toolTip(), tool_tip);
    QCOMPARE(widget->isHidden(), hidden);
    QCOMPARE(widget->isVisible(), !hidden);
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(widget->testAttribute(Qt::WA_SetCursor), pointing_hand);
    if (pointing_hand)
        QCOMPARE(widget->cursor().shape(), Qt::PointingHandCursor);
    if (points) {
        QCOMPARE(widget->font().pointSize(), points);
        QCOMPARE(widget->font().family(), QStringLiteral("minamoji"));
    }
    auto *label = qobject_cast<QLabel *>(widget);
    if (!label)
        return;
    QCOMPARE(label->text(), text);
    QCOMPARE(!label->pixmap().isNull(), picture);
    if (picture)
        QVERIFY_PICTURE(label, QStringLiteral("gazo/UB0.png"));
}

// Six rows, a stretch between each two (none before the first or after the
// last); each row centred between stretches, the last one the hand grid:
// the card buttons over the user's cards, filled column by column.
void TestWindow::layout()
{
    auto *rows = qobject_cast<QVBoxLayout *>(window->centralWidget()->layout());
    QVERIFY2(rows, "the central widget has no vertical layout");
    const QStringList expected[] = {
        {"~", "score_label", "~"},
        {"~", "cpu_card_label1", "cpu_card_label2", "cpu_card_label3", "cpu_card_label4",
         "cpu_card_label5", "~"},
        {"~", "result_label", "~"},
        {"~", "round_label", "~"},
        {"~", "deal_button", "cpu_open_button", "~", "cpu_play_label", "user_play_label", "~",
         "deck_label", "~"},
        {"~", "grid", "~"},
    };
    QCOMPARE(rows->count(), 11);
    QGridLayout *grid = nullptr;
    for (int i = 0; i < rows->count(); ++i) {
        QCOMPARE(rows->stretch(i), 0);
        QLayoutItem *item = rows->itemAt(i);
        if (i % 2 == 1) {
            QVERIFY2(item->spacerItem() &&
                         (item->spacerItem()->expandingDirections() & Qt::Vertical),
                     qPrintable(QStringLiteral("item %1 between rows is not a stretch").arg(i)));
            continue;
        }
        auto *row = qobject_cast<QHBoxLayout *>(item->layout());
        QVERIFY2(row, qPrintable(QStringLiteral("row %1 is not horizontal").arg(i / 2 + 1)));
        QStringList contents;
        for (int k = 0; k < row->count(); ++k) {
            QLayoutItem *entry = row->itemAt(k);
            QCOMPARE(row->stretch(k), 0);
            QCOMPARE(entry->alignment(), Qt::Alignment());
            if (entry->spacerItem())
                QVERIFY(entry->spacerItem()->expandingDirections() & Qt::Horizontal);
            auto *hands = qobject_cast<QGridLayout *>(entry->layout());
            grid = hands ? hands : grid;
            contents << (entry->spacerItem() ? QStringLiteral("~")
                         : entry->widget()   ? entry->widget()->objectName()
                         : hands             ? QStringLiteral("grid")
                                             : QStringLiteral("?"));
        }
        QCOMPARE(contents, expected[i / 2]);
    }

    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->columnCount(), 5);
    QCOMPARE(grid->count(), 10);
    for (int column = 0; column < 5; ++column) {
        const QString button = QStringLiteral("push_button%1").arg(column + 1);
        const QString label = QStringLiteral("user_card_label%1").arg(column + 1);
        QCOMPARE(grid->itemAtPosition(0, column)->widget()->objectName(), button);
        QCOMPARE(grid->itemAtPosition(1, column)->widget()->objectName(), label);
        QCOMPARE(grid->itemAtPosition(0, column)->alignment(), Qt::AlignHCenter);
        QCOMPARE(grid->itemAtPosition(1, column)->alignment(), Qt::AlignHCenter);
        QCOMPARE(grid->itemAt(2 * column)->widget()->objectName(), button);
        QCOMPARE(grid->itemAt(2 * column + 1)->widget()->objectName(), label);
    }
}

// The cloth between the widgets is plain green.
void TestWindow::green_table()
{
    const QImage picture = window->grab().toImage();
    QList<QRect> covered;
    for (QWidget *child : window->centralWidget()->findChildren<QWidget *>()) {
        if (child->isVisible())
            covered
                << QRect(child->mapTo(window, QPoint(0, 0)), child->size()).adjusted(-2, -2, 2, 2);
    }
    const QRect cloth = window->centralWidget()->geometry().adjusted(4, 4, -4, -4);
    int sampled = 0;
    for (int y = cloth.top(); y < cloth.bottom(); y += 12) {
        for (int x = cloth.left(); x < cloth.right(); x += 12) {
            if (std::none_of(covered.begin(), covered.end(),
                             [&](const QRect &r) { return r.contains(x, y); })) {
                ++sampled;
                QCOMPARE(QColor(picture.pixel(x, y)).name(QColor::HexArgb), "#ff00ff00");
            }
        }
    }
    QVERIFY2(sampled >= 50, qPrintable(QStringLiteral("only %1 bare pixels sampled").arg(sampled)));
}

void TestWindow::slots_in_order()
{
    // clang-format off
    const QByteArrayList signatures = {
        "card_deal()", "push_button1_click()", "push_button2_click()", "push_button3_click()",
        "push_button4_click()", "push_button5_click()", "cpu_open_button_click()",
        "card_deal_timer()", "Show_Round()", "lose_timer()", "win_timer()", "user_cpu_tie_timer()",
        "user_lose()", "user_win()", "user_cpu_tie()", "Beginer_start()", "Game_close()",
        "Help_Version()", "Help_Explain()", "Beginer_start_timer()", "Compare_cpu_user(int,int)",
    };
    // clang-format on
    const QMetaObject *meta = window->metaObject();
    QCOMPARE(meta->className(), "Kestrano");
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 21);
    for (int i = 0; i < 21; ++i) {
        const QMetaMethod method = meta->method(meta->methodOffset() + i);
        QCOMPARE(method.methodSignature(), signatures.at(i));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
    }
    QCOMPARE(meta->method(meta->methodOffset() + 20).parameterNames(),
             QList<QByteArray>({"x", "y"}));
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
