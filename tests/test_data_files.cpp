// The generated pictures and sounds, checked where the game opens them: by
// their relative paths in the runnable folder.

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QtEndian>
#include <QtTest>

#include "cards/card.h"

namespace {

// Every picture is this size; the @2x twin exactly twice it.
constexpr int card_width = 59;
constexpr int card_height = 80;

QString twice_size(const QString &path)
{
    QString twin = path;
    twin.insert(twin.size() - 4, QStringLiteral("@2x"));
    return twin;
}

// Loads like the game does, through QPixmap.
QImage load_picture(const QString &path)
{
    QPixmap pixmap(path);
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The middle of each edge, one pixel in from it: inside the frame of an open
// picture (3 px at 1x), on the card itself in a face picture.
QList<QPoint> frame_points(QSize size, int scale)
{
    const int in = scale;
    return {{in, size.height() / 2},
            {size.width() - 1 - in, size.height() / 2},
            {size.width() / 2, in},
            {size.width() / 2, size.height() - 1 - in}};
}

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR))); }

    void pictures_data();
    void pictures();
    void every_card_has_its_own_picture();
    void sounds_data();
    void sounds();
};

void TestDataFiles::pictures_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("open"); // empty for the card back

    // Where the game opens them; which card has which name is for test_cards.
    for (int card = 1; card <= 52; ++card)
        QTest::addRow("card %d", card) << face_picture_path(card) << open_picture_path(card);
    QTest::newRow("card back") << card_back_path() << QString();
}

void TestDataFiles::pictures()
{
    QFETCH(QString, face);
    QFETCH(QString, open);

    for (int scale : {1, 2}) {
        const QString face_path = scale == 1 ? face : twice_size(face);
        const QImage face_image = load_picture(face_path);
        QVERIFY2(!face_image.isNull(), qPrintable(face_path));
        QCOMPARE(face_image.size(), QSize(card_width * scale, card_height * scale));
        QCOMPARE(qAlpha(face_image.pixel(face_image.width() / 2, face_image.height() / 2)), 255);

        if (open.isEmpty())
            continue;
        const QString open_path = scale == 1 ? open : twice_size(open);
        const QImage open_image = load_picture(open_path);
        QVERIFY2(!open_image.isNull(), qPrintable(open_path));
        QCOMPARE(open_image.size(), face_image.size());
        for (const QPoint &point : frame_points(face_image.size(), scale)) {
            QVERIFY2(open_image.pixel(point) != face_image.pixel(point),
                     qPrintable(QStringLiteral("%1 looks like %2 at %3,%4")
                                    .arg(open_path, face_path)
                                    .arg(point.x())
                                    .arg(point.y())));
        }
    }
}

// Guards against every card being drawn from the same part of the deck.
void TestDataFiles::every_card_has_its_own_picture()
{
    QSet<QByteArray> faces;
    for (int card = 1; card <= 52; ++card) {
        const QImage image = load_picture(face_picture_path(card));
        faces.insert(QCryptographicHash::hash(
            QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()),
            QCryptographicHash::Sha1));
    }
    QCOMPARE(faces.size(), 52);
}

void TestDataFiles::sounds_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("longest_seconds");

    // clang-format off
    QTest::newRow("start jingle, no extension") << QStringLiteral("wave/12-1/kidou") << 3.0;
    QTest::newRow("deal riffle") << QStringLiteral("wave/12-1/deel.wav") << 1.5;
    QTest::newRow("card snap") << QStringLiteral("wave/12-1/draw_wav.wav") << 0.2;
    QTest::newRow("user wins the pair") << QStringLiteral("wave/12-1/win_vic.wav") << 1.5;
    QTest::newRow("CPU wins the pair") << QStringLiteral("wave/12-1/lose_wav.wav") << 1.5;
    QTest::newRow("tie") << QStringLiteral("wave/12-1/tie.wav") << 1.5;
    // clang-format on
}

void TestDataFiles::sounds()
{
    QFETCH(QString, path);
    QFETCH(double, longest_seconds);

    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 44);
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(qsizetype(u32(bytes, 4)), bytes.size() - 8);
    QCOMPARE(bytes.mid(8, 4), QByteArray("WAVE"));

    // Walk the chunks: each must fit, and together they must fill the file.
    qsizetype format = -1;
    qsizetype data = -1;
    quint32 data_size = 0;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(bytes, at + 4);
        QVERIFY2(at + 8 + qsizetype(size) <= bytes.size(), id.constData());
        if (id == "fmt ")
            format = at + 8;
        if (id == "data") {
            data = at + 8;
            data_size = size;
        }
        at += 8 + size + (size & 1);
    }
    QCOMPARE(at, bytes.size());
    QVERIFY(format >= 0);
    QVERIFY(data >= 0);

    QCOMPARE(u16(bytes, format), quint16(1));         // PCM
    QCOMPARE(u16(bytes, format + 2), quint16(1));     // mono
    QCOMPARE(u32(bytes, format + 4), quint32(44100)); // samples per second
    QCOMPARE(u32(bytes, format + 8), quint32(88200)); // bytes per second
    QCOMPARE(u16(bytes, format + 12), quint16(2));    // bytes per sample
    QCOMPARE(u16(bytes, format + 14), quint16(16));   // bits per sample
    QCOMPARE(data_size % 2, quint32(0));

    const double seconds = data_size / 88200.0;
    QVERIFY2(seconds > 0.05 && seconds <= longest_seconds, qPrintable(QString::number(seconds)));

    int peak = 0;
    for (quint32 i = 0; i < data_size; i += 2)
        peak = qMax(peak, qAbs(int(qint16(u16(bytes, data + i)))));
    // Audible (above -12 dBFS) and with headroom (below -1 dBFS).
    QVERIFY2(peak > 8200 && peak < 29200, qPrintable(QString::number(peak)));
}

QTEST_MAIN(TestDataFiles)
#include "test_data_files.moc"
