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

QList<Version *> version_windows()
{
    QList<Version *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *version = qobject_cast<Version *>(widget))
            found.append(version);
    }
    return found;
}

} // namespace

class VersionTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { reset_game_state(); }

    void lines_data();
    void lines();
    void buttons_and_pages();
    void background_data();
    void background();
    void menu_shows_one_window();
};

void VersionTest::lines_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("credits");

    // clang-format off
    QTest::newRow("line 1: title, then author") << 1 << 10 << "<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>" << "Author:<Font color=Blue>Torvane</font>";
    QTest::newRow("line 2: version, then author's e-mail") << 2 << 12 << "<Font color=black>Version:</Font><Font Color=blue> Version 1.00 Free C Version</Font>" << "Author e-mail:<Font color=red>torvane@example.org</font>";
    QTest::newRow("line 3: staff with its unclosed tag, then sound") << 3 << 14 << "<Font color=black>staff:</Font><Font color=blue size=3>Torvane,Quellmir" << "Sound:<Font color=Blue>Quellmir</Font>";
    QTest::newRow("line 4: type, then sound e-mail") << 4 << 14 << "<Font color=black>Type: </Font><Font Color=red>Free Ware</Font>" << "Sound e-mail:<Font color=red>quellmir@example.org</Font>";
    // clang-format on
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
    for (const QString &text : {info, credits}) {
        if (text == credits)
            QTest::mouseClick(next_button(version), Qt::LeftButton);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().family(), QStringLiteral("minamoji"));
        QCOMPARE(label->font().pointSize(), points);
    }
}

// A fixed, modeless window; " O k " and "about staff" side by side in row 5;
// " O k " hides the window without turning the page, "about staff" turns it
// for good and leaves " O k " alone, centred.
void VersionTest::buttons_and_pages()
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
    QPushButton *ok = ok_button(version);
    QPushButton *next = next_button(version);
    QCOMPARE(ok->text(), QStringLiteral(" O k "));
    QCOMPARE(next->text(), QStringLiteral("about staff"));
    QVERIFY(ok->isVisible() && ok->isEnabled() && next->isVisible() && next->isEnabled());
    QVERIFY(ok->geometry().right() < next->geometry().left());

    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!version.isVisible());
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    QCOMPARE(line(version, 1)->text(),
             QStringLiteral("<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>"));

    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(!next->isVisible());
    QVERIFY(ok->isVisible());
    QTRY_VERIFY(qAbs(ok->geometry().center().x() - kVersionSize.width() / 2) <= 1);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!version.isVisible());
    version.show();
    QVERIFY(QTest::qWaitForWindowExposed(&version));
    QVERIFY(!next->isVisible());
    QCOMPARE(line(version, 1)->text(), QStringLiteral("Author:<Font color=Blue>Torvane</font>"));
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

// The Help menu's "Version" shows the one window the table built, however
// often chosen, modeless; the credits stay after " O k " and the menu.
void VersionTest::menu_shows_one_window()
{
    Kestrano window;
    window.show();
    QMenu *help = window.menuBar()->actions().value(1)->menu();
    QVERIFY(help && help->title() == QLatin1String("&Help"));
    QAction *entry = help->actions().value(0);
    QVERIFY(entry && entry->text() == QLatin1String("Version"));
    QCOMPARE(version_windows().size(), 1);
    Version *version = version_windows().first();
    QVERIFY(!version->isVisible());

    entry->trigger();
    entry->trigger();
    QCOMPARE(version_windows(), QList<Version *>{version});
    QVERIFY(version->isVisible());
    QVERIFY(next_button(*version)->isVisible());

    QTest::mouseClick(next_button(*version), Qt::LeftButton);
    QTest::mouseClick(ok_button(*version), Qt::LeftButton);
    QVERIFY(!version->isVisible());
    entry->trigger();
    QVERIFY(version->isVisible());
    QVERIFY(!next_button(*version)->isVisible());
    QCOMPARE(line(*version, 3)->text(), QStringLiteral("Sound:<Font color=Blue>Quellmir</Font>"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(VersionTest)
#include "test_version.moc"
