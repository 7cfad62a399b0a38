// The table as the player first sees it: size, texts, fonts, cursors, what is
// shown and enabled, the layout rows, the green cloth, the slots and menus.
#include <QBoxLayout>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <memory>

#include "table/kestrano.h"
#include "tests/support/table_checks.h"
#include "tests/support/table_fixture.h"

namespace {

// One entry of a layout row: a widget's object name, "~" for a stretch,
// "grid" for the hand grid.
QString describe(QLayoutItem *item)
{
    if (item->spacerItem())
        return QStringLiteral("~");
    if (item->widget())
        return item->widget()->objectName();
    if (qobject_cast<QGridLayout *>(item->layout()))
        return QStringLiteral("grid");
    return QStringLiteral("?");
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fixed_size();
    void title_and_status();
    void widgets_data();
    void widgets();
    void label_fonts_data();
    void label_fonts();
    void layout_rows();
    void hand_grid();
    void green_table();
    void slots_in_order();
    void menus();

private:
    std::unique_ptr<TableFixture> table;
    Kestrano *window = nullptr;
};

void TestWindow::initTestCase()
{
    // The window finds its pictures relative to the working directory.
    QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR)));
}

void TestWindow::init()
{
    table = std::make_unique<TableFixture>();
    window = table->window();
    QVERIFY(table->show_exposed());
}

void TestWindow::cleanup()
{
    table.reset();
}

void TestWindow::fixed_size()
{
    QCOMPARE(window->size(), QSize(640, 480));
    QCOMPARE(window->minimumSize(), QSize(640, 480));
    QCOMPARE(window->maximumSize(), QSize(640, 480));
    window->resize(800, 600);
    QCOMPARE(window->size(), QSize(640, 480));
}

void TestWindow::title_and_status()
{
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

    // clang-format off
    //                                  object name           text                    tool tip       hidden   enabled  hand     picture
    QTest::newRow("deal button")      << "deal_button"      << "Deal cards"         << "Card deal" << false << false << true  << false;
    QTest::newRow("card open button") << "cpu_open_button"  << "Card open"          << ""          << false << false << true  << false;
    for (int p = 1; p <= 5; ++p)
        QTest::addRow("card button %d", p)
                                      << QStringLiteral("push_button%1").arg(p)
                                                            << QString::number(p)   << ""          << true  << true  << true  << false;
    QTest::newRow("score line")       << "score_label"      << "CPU=0,User=0,tie=0" << ""          << false << true  << false << false;
    QTest::newRow("notice line")      << "result_label"     << ""                   << ""          << true  << true  << false << false;
    QTest::newRow("round line")       << "round_label"      << "Round 0"            << ""          << true  << true  << false << false;
    for (int p = 1; p <= 5; ++p) {
        QTest::addRow("CPU card %d", p)
                                      << QStringLiteral("cpu_card_label%1").arg(p)
                                                            << ""                   << ""          << false << true  << false << false;
        QTest::addRow("user card %d", p)
                                      << QStringLiteral("user_card_label%1").arg(p)
                                                            << ""                   << ""          << false << true  << false << false;
    }
    QTest::newRow("CPU card in play") << "cpu_play_label"   << ""                   << ""          << false << true  << false << false;
    QTest::newRow("user card in play")<< "user_play_label"  << ""                   << ""          << false << true  << false << false;
    QTest::newRow("pile")             << "deck_label"       << ""                   << ""          << false << true  << false << true;
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

    auto *widget = window->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(QStringLiteral("no widget named ") + name));
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), text);
    auto *label = qobject_cast<QLabel *>(widget);
    if (label)
        QCOMPARE(label->text(), text);
    QCOMPARE(widget->toolTip(), tool_tip);
    QCOMPARE(widget->isHidden(), hidden);
    QCOMPARE(widget->isVisible(), !hidden);
    QCOMPARE(widget->isEnabled(), enabled);
    QCOMPARE(widget->testAttribute(Qt::WA_SetCursor), pointing_hand);
    if (pointing_hand)
        QCOMPARE(widget->cursor().shape(), Qt::PointingHandCursor);

    if (!label)
        return;
    QCOMPARE(!label->pixmap().isNull(), picture);
    if (picture)
        QVERIFY_PICTURE(label, QStringLiteral("gazo/UB0.png"));
}

void TestWindow::label_fonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");

    QTest::newRow("score line") << "score_label" << 18;
    QTest::newRow("notice line") << "result_label" << 15;
    QTest::newRow("round line") << "round_label" << 24;
}

void TestWindow::label_fonts()
{
    QFETCH(QString, name);
    QFETCH(int, points);

    auto *label = table->label(name);
    QVERIFY(label);
    QCOMPARE(label->font().pointSize(), points);
    QCOMPARE(label->font().family(), QStringLiteral("minamoji"));
}

void TestWindow::layout_rows()
{
    auto *table = qobject_cast<QVBoxLayout *>(window->centralWidget()->layout());
    QVERIFY2(table, "the central widget has no vertical layout");

    const QStringList rows[] = {
        {"~", "score_label", "~"},
        {"~", "cpu_card_label1", "cpu_card_label2", "cpu_card_label3", "cpu_card_label4",
         "cpu_card_label5", "~"},
        {"~", "result_label", "~"},
        {"~", "round_label", "~"},
        {"~", "deal_button", "cpu_open_button", "~", "cpu_play_label", "user_play_label", "~",
         "deck_label", "~"},
        {"~", "grid", "~"},
    };
    // Rows with a stretch between each two, none before the first or after the last.
    QCOMPARE(table->count(), 11);
    for (int i = 0; i < table->count(); ++i) {
        QCOMPARE(table->stretch(i), 0);
        QLayoutItem *item = table->itemAt(i);
        if (i % 2 == 1) {
            QVERIFY2(item->spacerItem() &&
                         (item->spacerItem()->expandingDirections() & Qt::Vertical),
                     qPrintable(QStringLiteral("item %1 between rows is not a stretch").arg(i)));
            continue;
        }
        auto *row = qobject_cast<QHBoxLayout *>(item->layout());
        QVERIFY2(row,
                 qPrintable(QStringLiteral("row %1 is not a horizontal layout").arg(i / 2 + 1)));
        QStringList contents;
        for (int k = 0; k < row->count(); ++k) {
            QLayoutItem *entry = row->itemAt(k);
            contents << describe(entry);
            QCOMPARE(row->stretch(k), 0);
            QCOMPARE(entry->alignment(), Qt::Alignment());
            if (entry->spacerItem())
                QVERIFY(entry->spacerItem()->expandingDirections() & Qt::Horizontal);
        }
        QCOMPARE(contents, rows[i / 2]);
    }
}

void TestWindow::hand_grid()
{
    auto *table = qobject_cast<QVBoxLayout *>(window->centralWidget()->layout());
    QVERIFY(table && table->count() == 11);
    auto *last_row = table->itemAt(10)->layout();
    QVERIFY(last_row && last_row->count() == 3);
    auto *grid = qobject_cast<QGridLayout *>(last_row->itemAt(1)->layout());
    QVERIFY2(grid, "the last row does not hold the hand grid");

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
        // Filled column by column: each button, then the card under it.
        QCOMPARE(grid->itemAt(2 * column)->widget()->objectName(), button);
        QCOMPARE(grid->itemAt(2 * column + 1)->widget()->objectName(), label);
    }
}

void TestWindow::green_table()
{
    const QImage picture = window->grab().toImage();
    const QRect central = window->centralWidget()->geometry();
    QList<QRect> covered;
    for (QWidget *child : window->centralWidget()->findChildren<QWidget *>()) {
        if (child->isVisible())
            covered
                << QRect(child->mapTo(window, QPoint(0, 0)), child->size()).adjusted(-2, -2, 2, 2);
    }

    int sampled = 0;
    const QRgb green = QColor(Qt::green).rgb();
    for (int y = central.top() + 4; y < central.bottom() - 4; y += 12) {
        for (int x = central.left() + 4; x < central.right() - 4; x += 12) {
            const QPoint point(x, y);
            if (std::any_of(covered.begin(), covered.end(),
                            [&](const QRect &r) { return r.contains(point); }))
                continue;
            ++sampled;
            const QRgb pixel = picture.pixel(point);
            QVERIFY2(pixel == green, qPrintable(QStringLiteral("pixel at %1,%2 is %3, not #00ff00")
                                                    .arg(x)
                                                    .arg(y)
                                                    .arg(QColor(pixel).name())));
        }
    }
    QVERIFY2(sampled >= 50, qPrintable(QStringLiteral("only %1 bare pixels sampled").arg(sampled)));
}

void TestWindow::slots_in_order()
{
    const char *const signatures[] = {
        "card_deal()",
        "push_button1_click()",
        "push_button2_click()",
        "push_button3_click()",
        "push_button4_click()",
        "push_button5_click()",
        "cpu_open_button_click()",
        "card_deal_timer()",
        "Show_Round()",
        "lose_timer()",
        "win_timer()",
        "user_cpu_tie_timer()",
        "user_lose()",
        "user_win()",
        "user_cpu_tie()",
        "Beginer_start()",
        "Game_close()",
        "Help_Version()",
        "Help_Explain()",
        "Beginer_start_timer()",
        "Compare_cpu_user(int,int)",
    };
    const QMetaObject *meta = window->metaObject();
    QCOMPARE(meta->className(), "Kestrano");
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 21);
    for (int i = 0; i < 21; ++i) {
        const QMetaMethod method = meta->method(meta->methodOffset() + i);
        QCOMPARE(method.methodSignature(), QByteArray(signatures[i]));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
    }
    const QMetaMethod compare = meta->method(meta->methodOffset() + 20);
    QCOMPARE(compare.parameterNames(), QList<QByteArray>({"x", "y"}));
}

void TestWindow::menus()
{
    const QList<QAction *> entries = window->menuBar()->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0)->text(), QStringLiteral("&Game"));
    QCOMPARE(entries.at(1)->text(), QStringLiteral("&Help"));
    QVERIFY2(entries.at(0)->menu(), "\"&Game\" opens no menu");
    QVERIFY2(entries.at(1)->menu(), "\"&Help\" opens no menu");
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
