// Which sound files are handed to the audio system.  A WAV file whose header
// is cut short or claims more data than the file holds once hung the game for
// good inside Qt's sample cache; such files must be refused up front.
#include <QTest>

#include "table/wave_file.h"

namespace {

QByteArray le(quint32 value, int width)
{
    QByteArray bytes;
    for (int i = 0; i < width; ++i)
        bytes.append(static_cast<char>(value >> (8 * i) & 0xff));
    return bytes;
}

QByteArray chunk(const char *id, const QByteArray &body, quint32 claimed = 0xffffffff)
{
    const quint32 size = claimed == 0xffffffff ? quint32(body.size()) : claimed;
    QByteArray bytes = QByteArray(id) + le(size, 4) + body;
    if (body.size() % 2)
        bytes.append('\0');
    return bytes;
}

QByteArray format(int tag, int channels, int rate, int bits)
{
    const int block = channels * bits / 8;
    return le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * block, 4) + le(block, 2) +
           le(bits, 2);
}

QByteArray wave(const QByteArray &chunks)
{
    return "RIFF" + le(4 + chunks.size(), 4) + "WAVE" + chunks;
}

const QByteArray kMono16 = format(1, 1, 44100, 16);
const QByteArray kSamples(200, '\x10');

} // namespace

class TestWaveFile : public QObject
{
    Q_OBJECT

private slots:
    void accepts_data();
    void accepts();
};

void TestWaveFile::accepts_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("playable");

    QTest::newRow("mono 16-bit PCM")
        << wave(chunk("fmt ", kMono16) + chunk("data", kSamples)) << true;
    QTest::newRow("stereo 8-bit PCM")
        << wave(chunk("fmt ", format(1, 2, 22050, 8)) + chunk("data", kSamples)) << true;
    QTest::newRow("odd-sized chunk before the data")
        << wave(chunk("fmt ", kMono16) + chunk("LIST", "abc") + chunk("data", kSamples)) << true;

    const QByteArray good = wave(chunk("fmt ", kMono16) + chunk("data", kSamples));
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("header cut after 30 bytes") << good.left(30) << false;
    QTest::newRow("data cut short")
        << wave(chunk("fmt ", kMono16) + chunk("data", kSamples, 100000)) << false;
    QTest::newRow("format chunk claims too much")
        << wave(chunk("fmt ", kMono16, 4000) + chunk("data", kSamples)) << false;
    QTest::newRow("floating point samples")
        << wave(chunk("fmt ", format(3, 1, 44100, 32)) + chunk("data", kSamples)) << false;
    QTest::newRow("data before format")
        << wave(chunk("data", kSamples) + chunk("fmt ", kMono16)) << false;
    QTest::newRow("no data") << wave(chunk("fmt ", kMono16)) << false;
    QTest::newRow("empty data") << wave(chunk("fmt ", kMono16) + chunk("data", {})) << false;
    QTest::newRow("text file") << QByteArray("this is not a sound\n") << false;
    QTest::newRow("RIFF but not WAVE")
        << QByteArray("RIFF" + le(4, 4) + "AVI " + chunk("data", kSamples)) << false;
    QTest::newRow("larger than any sound effect")
        << wave(chunk("fmt ", kMono16) + chunk("data", QByteArray(kMaxSoundFileBytes, '\0')))
        << false;
}

void TestWaveFile::accepts()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, playable);
    QCOMPARE(is_playable_wave(file), playable);
}

QTEST_APPLESS_MAIN(TestWaveFile)
#include "test_wave_file.moc"
