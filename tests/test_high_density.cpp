// Card pictures on high-density screens: at scale 2 every card on the table is
// drawn from its "@2x" file, one file pixel on one screen pixel; at scale 1
// from the plain file; a missing "@2x" file falls back to the plain one.
//
// The screen's scale is fixed when the application object is built, so this
// program sets QT_SCALE_FACTOR itself (2 unless the caller chose one) and runs
// itself again for the other scales.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "table/game_state.h"
#include "table/kestrano.h"
#include "table/picture.h"
#include "tests/support/child_process.h"
#include "tests/support/table_fixture.h"

namespace {

// Logical size of every card picture, in both variants.
const QSize kCardSize(59, 80);

QImage argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Opaque pixels of `expected` that differ from `actual` of the same size,
// and how many opaque pixels there are.  The cards' rounded corners are
// transparent and show the table through, so only opaque pixels compare.
struct PixelComparison
{
    int opaque = 0, different = 0;
};

PixelComparison compare_opaque(const QImage &actual, const QImage &expected)
{
    PixelComparison result;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            if (qAlpha(want) != 255)
                continue;
            ++result.opaque;
            if ((actual.pixel(x, y) & RGB_MASK) != (want & RGB_MASK))
                ++result.different;
        }
    }
    return result;
}

// A picture file written for the loader's tests: one colour all over.
bool write_picture(const QString &path, QSize size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(path);
}

} // namespace

class TestHighDensity : public QObject
{
    Q_OBJECT

private slots:
    // The demonstration match's first open puts every kind of picture on the
    // table; every row looks at the same table once its notice has gone.
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR)));
        table = std::make_unique<TableFixture>();
        table->lay_demo_deal();
        QVERIFY(table->show_active());
        // The table keeps its logical size at every scale.
        QCOMPARE(table->window()->size(), QSize(640, 480));
        QCOMPARE(table->window()->devicePixelRatioF(), qgetenv("QT_SCALE_FACTOR").toDouble());
        QLabel *pile = table->label(QStringLiteral("deck_label"));
        QCOMPARE(pile->pixmap().deviceIndependentSize(), QSizeF(kCardSize));
        QVERIFY(pile->width() >= kCardSize.width() && pile->height() >= kCardSize.height());
        QVERIFY(table->play_to(Phase::AfterOpen));
        QVERIFY(table->settle());
    }

    void cards_on_this_screen_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("plain"); // the sharp one has "@2x" before ".png"

        // clang-format off
        QTest::newRow("pile")                           << "deck_label"       << "gazo/UB0.png";
        QTest::newRow("CPU's hand at position 1")       << "cpu_card_label1"  << "gazo/UB0.png";
        QTest::newRow("CPU's hand at position 5")       << "cpu_card_label5"  << "gazo/UB0.png";
        QTest::newRow("ace of spades at position 1")    << "user_card_label1" << "gazo/s01.png";
        QTest::newRow("jack of clubs at position 2")    << "user_card_label2" << "gazo/c11.png";
        QTest::newRow("four of diamonds at position 4") << "user_card_label4" << "gazo/d04.png";
        QTest::newRow("ten of spades at position 5")    << "user_card_label5" << "gazo/s10.png";
        QTest::newRow("user's queen of hearts in play") << "user_play_label"  << "gazo/h12.png";
        QTest::newRow("CPU's king of diamonds opened")  << "cpu_play_label"   << "gazo/D13D.png";
        // clang-format on
    }

    void cards_on_this_screen()
    {
        QFETCH(QString, label);
        QFETCH(QString, plain);
        const QString sharp = QString(plain).replace(".png", "@2x.png");

        QLabel *card = table->label(label);
        QVERIFY(card);
        QCOMPARE(card->pixmap().deviceIndependentSize(), QSizeF(kCardSize));

        const qreal ratio = table->window()->devicePixelRatioF();
        if (ratio != 1.0 && ratio != 2.0) {
            // Between the two variants the sharp one is drawn scaled down.
            QCOMPARE(card->pixmap().devicePixelRatio(), 2.0);
            QCOMPARE(argb(card->pixmap().toImage()), argb(QImage(sharp)));
            return;
        }

        const QImage expected = argb(QImage(ratio == 2.0 ? sharp : plain));
        QCOMPARE(expected.size(), kCardSize * ratio);
        if (ratio == 2.0) {
            // Guards the comparison itself: a plain picture blown up to twice its
            // size must not pass for the sharp one.
            const QImage blown_up =
                argb(QImage(plain))
                    .scaled(expected.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
            QVERIFY(compare_opaque(blown_up, expected).different > 0);
        }

        const QImage grab = argb(table->window()->grab().toImage());
        QCOMPARE(grab.size(), table->window()->size() * ratio);
        // Where the label draws its picture, in window pixels, then screen pixels.
        const QRect inside =
            QStyle::alignedRect(card->layoutDirection(),
                                QStyle::visualAlignment(card->layoutDirection(), card->alignment()),
                                kCardSize, card->contentsRect());
        const QRect on_window = inside.translated(card->mapTo(table->window(), QPoint(0, 0)));
        const QRect on_screen(on_window.topLeft() * ratio, on_window.size() * ratio);
        const PixelComparison seen = compare_opaque(grab.copy(on_screen), expected);
        QVERIFY2(seen.opaque > expected.width() * expected.height() * 9 / 10,
                 "the picture is mostly transparent; the comparison would prove little");
        QCOMPARE(seen.different, 0); // picture pixels that differ on screen
    }

    void cards_at_other_scales_data()
    {
        QTest::addColumn<QByteArray>("scale");

        QTest::newRow("scale 1: plain pictures") << QByteArray("1");
        QTest::newRow("scale 1.5: sharp pictures drawn smaller") << QByteArray("1.5");
    }

    void cards_at_other_scales()
    {
        QFETCH(QByteArray, scale);
        if (qgetenv("QT_SCALE_FACTOR") != "2")
            QSKIP("runs from the program at scale 2 only");

        ChildRun other = rerun_of("cards_on_this_screen");
        other.environment << QStringLiteral("QT_SCALE_FACTOR=") + QString::fromLatin1(scale);
        const ChildResult result = run_child(other);
        QVERIFY2(result.passed(), result.report().constData());
        // Every row really compared pictures at that scale.
        QVERIFY2(result.out.contains(" passed, 0 failed, 0 skipped"), result.report().constData());
    }

    void loader_picks_the_variant_data()
    {
        QTest::addColumn<bool>("with_plain");
        QTest::addColumn<bool>("with_sharp");
        QTest::addColumn<double>("screen_ratio");
        QTest::addColumn<QSize>("loaded_size");
        QTest::addColumn<double>("loaded_ratio");
        QTest::addColumn<int>("loaded_colour");

        // The plain file is red and 59 x 80, the sharp one blue and 118 x 160.
        // clang-format off
        QTest::newRow("sharp file at ratio 2")         << true  << true  << 2.0 << QSize(118, 160) << 2.0 << int(Qt::blue);
        QTest::newRow("sharp file at ratio 1.5")       << true  << true  << 1.5 << QSize(118, 160) << 2.0 << int(Qt::blue);
        QTest::newRow("plain file at ratio 1")         << true  << true  << 1.0 << QSize(59, 80)   << 1.0 << int(Qt::red);
        QTest::newRow("no sharp file at ratio 2")      << true  << false << 2.0 << QSize(59, 80)   << 1.0 << int(Qt::red);
        QTest::newRow("only a sharp file at ratio 1")  << false << true  << 1.0 << QSize(0, 0)     << 1.0 << int(Qt::transparent);
        QTest::newRow("no file at all")                << false << false << 2.0 << QSize(0, 0)     << 1.0 << int(Qt::transparent);
        // clang-format on
    }

    void loader_picks_the_variant()
    {
        QFETCH(bool, with_plain);
        QFETCH(bool, with_sharp);
        QFETCH(double, screen_ratio);
        QFETCH(QSize, loaded_size);
        QFETCH(double, loaded_ratio);
        QFETCH(int, loaded_colour);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString plain = folder.filePath(QStringLiteral("h12.png"));
        if (with_plain)
            QVERIFY(write_picture(plain, QSize(59, 80), Qt::red));
        if (with_sharp)
            QVERIFY(write_picture(folder.filePath(QStringLiteral("h12@2x.png")), QSize(118, 160),
                                  Qt::blue));

        const QPixmap loaded = load_picture(plain, screen_ratio);
        QCOMPARE(loaded.size(), loaded_size);
        if (loaded_size.isEmpty()) {
            QVERIFY(loaded.isNull());
            return;
        }
        QCOMPARE(loaded.devicePixelRatio(), loaded_ratio);
        QCOMPARE(loaded.deviceIndependentSize(), QSizeF(59, 80));
        QCOMPARE(loaded.toImage().pixelColor(10, 10), QColor(Qt::GlobalColor(loaded_colour)));
    }

private:
    std::unique_ptr<TableFixture> table;
};

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestHighDensity test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_high_density.moc"
