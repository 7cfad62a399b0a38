// The about window: its two pages, its buttons and its green background.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "dialogs/version.h"
#include "table/kestrano.h"
#include "tests/support/game_state_reset.h"

namespace {

const QSize kVersionSize(420, 300);

QLabel *line(Version &version, int number)
{
    return version.findChild<QLabel *>(QStringLiteral("text_label%1").arg(number));
}

QPushButton *ok_button(Version &version)
{
    return version.findChild<QPushButton *>(QStringLiteral("ok_button"));
}

QPushButton *next_button(Version &version)
{
    return version.findChild<QPushButton *>(QStringLiteral("next_button"));
}

void click(QPushButton *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

QList<Version *> version_windows()
{
    QList<Version *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *version = qobject_cast<Version *>(widget))
            found.append(version);
    }
    return found;
}

QAction *version_entry(Kestrano &window)
{
    for (QAction *menu : window.menuBar()->actions()) {
        if (menu->text() != QLatin1String("&Help") || !menu->menu())
            continue;
        for (QAction *action : menu->menu()->actions()) {
            if (action->text() == QLatin1String("Version"))
                return action;
        }
    }
    return nullptr;
}

} // namespace

class VersionTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { reset_game_state(); }

    void size_and_title();
    void lines_data();
    void lines();
    void info_page_has_both_buttons();
    void ok_hides_the_window();
    void about_staff_switches_for_good();
    void background_data();
    void background();
    void menu_shows_one_window();
};

void VersionTest::size_and_title()
{
    Version version;
    QCOMPARE(version.minimumSize(), kVersionSize);
    QCOMPARE(version.maximumSize(), kVersionSize);
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    version.resize(600, 500);
    QCOMPARE(version.size(), kVersionSize);
    QCOMPARE(version.windowTitle(), QStringLiteral("Version"));
    QVERIFY(version.isWindow());
    QVERIFY(!version.isModal());
}

void VersionTest::lines_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("credits");

    QTest::newRow("line 1: title, then author")
        << 1 << 10 << "<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>"
        << "Author:<Font color=Blue>Torvane</font>";
    QTest::newRow("line 2: version, then author's e-mail")
        << 2 << 12
        << "<Font color=black>Version:</Font><Font Color=blue> Version 1.00 Free C Version</Font>"
        << "Author e-mail:<Font color=red>torvane@example.org</font>";
    QTest::newRow("line 3: staff with its unclosed tag, then sound")
        << 3 << 14 << "<Font color=black>staff:</Font><Font color=blue size=3>Torvane,Quellmir"
        << "Sound:<Font color=Blue>Quellmir</Font>";
    QTest::newRow("line 4: type, then sound e-mail")
        << 4 << 14 << "<Font color=black>Type: </Font><Font Color=red>Free Ware</Font>"
        << "Sound e-mail:<Font color=red>quellmir@example.org</Font>";
}

void VersionTest::lines()
{
    QFETCH(int, number);
    QFETCH(int, points);
    QFETCH(QString, info);
    QFETCH(QString, credits);

    Version version;
    version.show();
    QLabel *label = line(version, number);
    QVERIFY(label);
    QCOMPARE(label->text(), info);
    QCOMPARE(label->font().family(), QStringLiteral("minamoji"));
    QCOMPARE(label->font().pointSize(), points);

    click(next_button(version));
    QCOMPARE(label->text(), credits);
    QCOMPARE(label->font().family(), QStringLiteral("minamoji"));
    QCOMPARE(label->font().pointSize(), points);
}

void VersionTest::info_page_has_both_buttons()
{
    Version version;
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    QCOMPARE(ok_button(version)->text(), QStringLiteral(" O k "));
    QCOMPARE(next_button(version)->text(), QStringLiteral("about staff"));
    QVERIFY(ok_button(version)->isVisible());
    QVERIFY(next_button(version)->isVisible());
    QVERIFY(ok_button(version)->isEnabled());
    QVERIFY(next_button(version)->isEnabled());
    // Row 5, left to right.
    QVERIFY(ok_button(version)->geometry().right() < next_button(version)->geometry().left());
}

void VersionTest::ok_hides_the_window()
{
    Version version;
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    click(ok_button(version));
    QVERIFY(!version.isVisible());
    QCOMPARE(line(version, 1)->text(),
             QStringLiteral("<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>"));
}

void VersionTest::about_staff_switches_for_good()
{
    Version version;
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    click(next_button(version));
    QVERIFY(!next_button(version)->isVisible());
    QVERIFY(ok_button(version)->isVisible());
    QCOMPARE(ok_button(version)->text(), QStringLiteral(" O k "));
    // " O k " alone is centred in its row.
    QPushButton *ok = ok_button(version);
    QTRY_VERIFY(qAbs(ok->geometry().center().x() - kVersionSize.width() / 2) <= 1);

    click(ok_button(version));
    QVERIFY(!version.isVisible());
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    QVERIFY(!next_button(version)->isVisible());
    QCOMPARE(line(version, 1)->text(), QStringLiteral("Author:<Font color=Blue>Torvane</font>"));
    QCOMPARE(line(version, 4)->text(),
             QStringLiteral("Sound e-mail:<Font color=red>quellmir@example.org</Font>"));
}

void VersionTest::background_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    const QColor black(Qt::black);
    const QColor green(Qt::green);
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

void VersionTest::background()
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

void VersionTest::menu_shows_one_window()
{
    Kestrano window;
    window.show();
    QAction *entry = version_entry(window);
    QVERIFY(entry);
    QCOMPARE(version_windows().size(), 1);
    Version *version = version_windows().first();
    QVERIFY(!version->isVisible());

    entry->trigger();
    entry->trigger();
    QCOMPARE(version_windows().size(), 1);
    QCOMPARE(version_windows().first(), version);
    QVERIFY(version->isVisible());
    QVERIFY(next_button(*version)->isVisible());

    // The credits stay after " O k " and the menu.
    click(next_button(*version));
    click(ok_button(*version));
    QVERIFY(!version->isVisible());
    entry->trigger();
    QVERIFY(version->isVisible());
    QVERIFY(!next_button(*version)->isVisible());
    QCOMPARE(line(*version, 3)->text(), QStringLiteral("Sound:<Font color=Blue>Quellmir</Font>"));
    // The main window stays usable: the dialog is not modal.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(VersionTest)
#include "test_version.moc"
