// Which sound files are handed to the audio system.  A WAV file whose header
// is cut short or claims more data than the file holds once hung the game for
// good inside Qt's sample cache; such files must be refused up front.
#include <QTest>

#include "table/wave_file.h"
#include "tests/support/wave_bytes.h"

namespace {

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

    const QByteArray good = wave(chunk("fmt ", kMono16) + chunk("data", kSamples));
    // clang-format off
    QTest::newRow("mono 16-bit PCM") << good << true;
    QTest::newRow("stereo 8-bit PCM") << wave(chunk("fmt ", format(1, 2, 22050, 8)) + chunk("data", kSamples)) << true;
    QTest::newRow("odd-sized chunk before the data") << wave(chunk("fmt ", kMono16) + chunk("LIST", "abc") + chunk("data", kSamples)) << true;
    QTest::newRow("a sound the sound test plays") << pcm_wave(300) << true;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("header cut after 30 bytes") << good.left(30) << false;
    QTest::newRow("data cut short") << wave(chunk("fmt ", kMono16) + chunk("data", kSamples, 100000)) << false;
    QTest::newRow("format chunk claims too much") << wave(chunk("fmt ", kMono16, 4000) + chunk("data", kSamples)) << false;
    QTest::newRow("floating point samples") << wave(chunk("fmt ", format(3, 1, 44100, 32)) + chunk("data", kSamples)) << false;
    QTest::newRow("data before format") << wave(chunk("data", kSamples) + chunk("fmt ", kMono16)) << false;
    QTest::newRow("no data") << wave(chunk("fmt ", kMono16)) << false;
    QTest::newRow("empty data") << wave(chunk("fmt ", kMono16) + chunk("data", {})) << false;
    QTest::newRow("text file") << QByteArray("this is not a sound\n") << false;
    QTest::newRow("RIFF but not WAVE") << QByteArray("RIFF" + le(4, 4) + "AVI " + chunk("data", kSamples)) << false;
    QTest::newRow("larger than any sound effect") << wave(chunk("fmt ", kMono16) + chunk("data", QByteArray(kMaxSoundFileBytes, '\0'))) << false;
    // clang-format on
}

void TestWaveFile::accepts()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, playable);
    QCOMPARE(is_playable_wave(file), playable);
}

QTEST_APPLESS_MAIN(TestWaveFile)
#include "test_wave_file.moc"
