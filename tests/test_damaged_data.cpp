// The game's data files damaged in the ways a disk, a download or a careless
// copy damages them: missing, empty, cut short, replaced by text or noise,
// with a header that lies, 50 MB where a small file belongs, a help page
// that is not Shift-JIS, a translation that is not one.  With any of them the
// game starts, plays a whole match, opens its help and version windows and
// closes without crashing or hanging; it shows what it can, and it prints
// exactly the traces it prints with intact data, nothing more.
//
// Each case copies the runnable folder's data into a temporary folder,
// damages it there and has a copy of this program play in that folder, so
// that a crash or a hang fails the case instead of ending the whole test.
// The copy plays with the real sound player: damaged sounds reach the sound
// system, or find that there is none, as on a machine without audio.  The
// match is the same in every case (a scripted shuffle, the same clicks), so
// its standard output can be compared byte for byte with that of intact data.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTranslator>
#include <QtEndian>

#include <functional>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "app/translation.h"
#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/game_state.h"
#include "table/kestrano.h"
#include "table/sound.h"
#include "tests/support/child_process.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

// Set in the environment of the copy that plays: where it writes what it saw,
// and whether the system it plays on is Japanese.
constexpr char kReportVariable[] = "KESTRANO_DAMAGED_DATA_REPORT";
constexpr char kJapaneseVariable[] = "KESTRANO_DAMAGED_DATA_JAPANESE";

// A copy that has not finished by then hangs: with intact data it is done
// in about a second.
constexpr int kHangLimitMs = 60000;
constexpr qint64 kBigFile = 50 * 1024 * 1024;

// The pictures the match below puts on the table up to its first open, all
// shown with intact data: the pile, five faces and five backs at the deal,
// the played face and the CPU's back at the first press, the open picture.
constexpr int kPicturesShown = 14;
// Of these, the card backs: the pile, the CPU's hand and its card in play.
constexpr int kCardBacksShown = 7;

const char *const kDataEntries[] = {"gazo", "wave", "html", "Kestrano_ja.qm"};

// Everything under `folder` (relative to the current one) that is a file.
QStringList files_in(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    if (QFileInfo(folder).isFile())
        files << folder;
    return files;
}

bool write_file(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool copy_tree(const QString &from, const QString &to)
{
    if (QFileInfo(from).isFile())
        return QFile::copy(from, to);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &entry :
         QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!copy_tree(entry.filePath(), to + QLatin1Char('/') + entry.fileName()))
            return false;
    }
    return true;
}

// The same bytes at every path: hard links to the first.
bool link_all(const QStringList &files, const QByteArray &bytes)
{
    if (files.isEmpty() || !write_file(files.first(), bytes))
        return false;
    for (const QString &file : files.mid(1)) {
        if (!QFile::remove(file) ||
            ::link(QFile::encodeName(files.first()).constData(), QFile::encodeName(file)) != 0)
            return false;
    }
    return true;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

QByteArray png_chunk(const char *type, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return chunk + body + crc;
}

// A well-formed PNG start whose header claims a picture of 100000 x 100000.
QByteArray png_of_impossible_size()
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(100000, header.data());
    qToBigEndian<quint32>(100000, header.data() + 4);
    header[8] = 8; // bits per sample
    header[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + png_chunk("IHDR", header) +
           png_chunk("IDAT", QByteArray(64, 'x')) + png_chunk("IEND", {});
}

QByteArray noise(qint64 size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

// Each damage works on the copied data in the current folder.
using Damage = std::function<bool()>;

bool for_each_file(const QString &folder, const std::function<bool(const QString &)> &damage)
{
    const QStringList files = files_in(folder);
    if (files.isEmpty())
        return false;
    for (const QString &file : files) {
        if (!damage(file))
            return false;
    }
    return true;
}

Damage removed(const QString &entry)
{
    return [entry] {
        return QFileInfo(entry).isDir() ? QDir(entry).removeRecursively() : QFile::remove(entry);
    };
}

Damage replaced_by(const QString &folder, const QByteArray &bytes)
{
    return [folder, bytes] {
        return for_each_file(folder, [&](const QString &file) { return write_file(file, bytes); });
    };
}

constexpr qint64 kHalf = -1;

// Each file (or each whose name ends in `only`) cut or padded with zeros to
// `size` bytes, or cut to half its size (kHalf); padding makes sparse files.
Damage resized(const QString &folder, qint64 size, const QString &only = {})
{
    return [folder, size, only] {
        return for_each_file(folder, [&](const QString &file) {
            QFile resized(file);
            return !file.endsWith(only) ||
                   resized.resize(size == kHalf ? resized.size() / 2 : size);
        });
    };
}

Damage all_noise(const QString &folder, const QByteArray &start, qint64 size)
{
    return [folder, start, size] { return link_all(files_in(folder), start + noise(size, 5)); };
}

// Changes some bytes of each file past its first `kept`.
Damage bytes_flipped(const QString &folder, int kept)
{
    return [folder, kept] {
        std::mt19937 random(11);
        return for_each_file(folder, [&](const QString &file) {
            QByteArray bytes = read_file(file);
            for (int i = 0; i < 200 && bytes.size() > kept; ++i)
                bytes[kept + static_cast<int>(random() % (bytes.size() - kept))] =
                    static_cast<char>(random());
            return write_file(file, bytes);
        });
    };
}

// Rewrites the numbers of each WAV file's header at `offset` bytes past the
// start of `chunk` ("fmt " or "data"); the body is cut to `keep` bytes.
Damage wav_header_says(const char *chunk, int offset, quint32 value, int bytes, qint64 keep)
{
    return [=] {
        return for_each_file(QStringLiteral("wave"), [=](const QString &file) {
            QByteArray wav = read_file(file);
            const qsizetype at = wav.indexOf(chunk);
            if (at < 0)
                return false;
            if (bytes == 4)
                qToLittleEndian<quint32>(value, wav.data() + at + offset);
            else
                qToLittleEndian<quint16>(static_cast<quint16>(value), wav.data() + at + offset);
            return write_file(file, wav.left(keep));
        });
    };
}

// The help page cut right after the lead byte of a double-byte character.
bool help_cut_in_a_character()
{
    const QString page = QStringLiteral("html/12-1.html");
    QByteArray bytes = read_file(page);
    for (qsizetype i = bytes.size() / 2; i < bytes.size(); ++i) {
        const quint8 byte = static_cast<quint8>(bytes.at(i));
        if ((byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc))
            return write_file(page, bytes.left(i + 1));
    }
    return false;
}

// A page that declares Shift_JIS but is written otherwise.
QByteArray mislabelled_page(const char *encoding)
{
    const QString page = QStringLiteral(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
        "</head><body><h2>遊び方</h2><p>カードを配る</p></body></html>");
    if (qstrcmp(encoding, "UTF-16") == 0) {
        QByteArray bytes("\xff\xfe", 2);
        bytes.append(reinterpret_cast<const char *>(page.utf16()), page.size() * 2);
        return bytes;
    }
    return page.toUtf8();
}

// A .qm file's magic number, then a block whose length claims nearly 2 GB.
QByteArray qm_with_lying_block()
{
    QByteArray bytes = read_file(QStringLiteral("Kestrano_ja.qm")).left(16);
    QByteArray block(5, '\0');
    block[0] = 0x42; // the block of message hashes
    qToBigEndian<quint32>(0x7ffffff0u, block.data() + 1);
    return bytes + block + QByteArray(64, '\0');
}

// Each path made a FIFO that nobody ever writes: opening it blocks.
Damage made_fifo(const QStringList &paths)
{
    return [paths] {
        for (const QString &path : paths) {
            QFile::remove(path);
            if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
                return false;
        }
        return true;
    };
}

Damage linked_to(const QString &path, const QString &target)
{
    return [path, target] { return QFile::remove(path) && QFile::link(target, path); };
}

// The real help page with `markup` added at the end of its body.
Damage help_page_with(const QByteArray &markup)
{
    return [markup] {
        const QString page = QStringLiteral("html/12-1.html");
        QByteArray bytes = read_file(page);
        const qsizetype body_end = bytes.lastIndexOf("</body>");
        return body_end > 0 && write_file(page, bytes.insert(body_end, markup));
    };
}

// A help page whose body is `open` nested `times` deep, then some text.
QByteArray nested_page(const QByteArray &open, int times)
{
    return "<html><body>" + open.repeated(times) + "deep";
}

// Writes `value` at `at` bytes into the first section tagged `tag` of the
// translation, sections being a tag byte and a 32-bit length each.
Damage qm_section_says(quint8 tag, int at, quint32 value)
{
    return [=] {
        QByteArray qm = read_file(QStringLiteral("Kestrano_ja.qm"));
        for (qsizetype section = 16; section + 5 <= qm.size();) {
            const quint32 size = qFromBigEndian<quint32>(qm.constData() + section + 1);
            if (static_cast<quint8>(qm.at(section)) == tag && at + 4 <= qsizetype(size)) {
                qToBigEndian<quint32>(value, qm.data() + section + 5 + at);
                return write_file(QStringLiteral("Kestrano_ja.qm"), qm);
            }
            section += 5 + size;
        }
        return false;
    };
}

Damage both(Damage first, Damage second)
{
    return [first, second] { return first() && second(); };
}

// What the copy that played saw, one "name=value" a line.
QMap<QString, QString> read_report(const QString &path)
{
    QMap<QString, QString> facts;
    for (const QByteArray &line : read_file(path).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            facts.insert(QString::fromUtf8(line.left(equals)),
                         QString::fromUtf8(line.mid(equals + 1)));
    }
    return facts;
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestDamagedData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void play_with_damaged_files_data();
    void play_with_damaged_files();
    void start_up_with_damaged_translation_data();
    void start_up_with_damaged_translation();

    // Runs only in the copies started above.
    void play_in_prepared_folder();

private:
    // Copies the runnable folder's data into `folder` and damages it there.
    bool prepare(const QTemporaryDir &folder, const Damage &damage);
    // Plays in `folder` in a copy of this program; the report lands in `report`.
    // `sharp` puts it on a screen of twice the density.
    [[nodiscard]] ChildResult play_in(const QTemporaryDir &folder, const QTemporaryDir &report,
                                      bool japanese, bool sharp = false);

    // The match in the copy that plays; what it saw goes into `facts`.
    [[nodiscard]] bool play_match(QMap<QString, QString> &facts);

    QByteArray intact_trace;
    std::unique_ptr<TableFixture> table;
};

bool TestDamagedData::prepare(const QTemporaryDir &folder, const Damage &damage)
{
    const QString game = QStringLiteral(KESTRANO_GAME_DIR);
    for (const char *entry : kDataEntries) {
        if (!copy_tree(game + QLatin1Char('/') + QLatin1String(entry), folder.filePath(entry)))
            return false;
    }
    const QString here = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const bool damaged = !damage || damage();
    QDir::setCurrent(here);
    return damaged;
}

ChildResult TestDamagedData::play_in(const QTemporaryDir &folder, const QTemporaryDir &report,
                                     bool japanese, bool sharp)
{
    ChildRun run = rerun_of("play_in_prepared_folder");
    run.folder = folder.path();
    run.limit_ms = kHangLimitMs;
    run.environment << QLatin1String(kReportVariable) + QLatin1Char('=') + report.path();
    if (japanese)
        run.environment << QLatin1String(kJapaneseVariable) + QStringLiteral("=1");
    if (sharp)
        run.environment << QStringLiteral("QT_SCALE_FACTOR=2");
    return run_child(run);
}

void TestDamagedData::initTestCase()
{
    if (qEnvironmentVariableIsSet(kReportVariable))
        return; // this is a copy that plays
    QTemporaryDir folder;
    QTemporaryDir report;
    QVERIFY(folder.isValid() && report.isValid());
    QVERIFY(prepare(folder, {}));
    const ChildResult played = play_in(folder, report, false);
    QVERIFY2(played.passed("play_in_prepared_folder"), played.report().constData());
    intact_trace = read_file(report.filePath(QStringLiteral("trace")));
    QVERIFY(intact_trace.startsWith("First_Shown()\n"));
    const QMap<QString, QString> facts = read_report(report.filePath(QStringLiteral("facts")));
    QCOMPARE(facts.value("pictures").toInt(), kPicturesShown);
    QCOMPARE(facts.value("help_rules"), QStringLiteral("1"));
}

void TestDamagedData::play_with_damaged_files_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<bool>("japanese");
    QTest::addColumn<int>("pictures");      // pictures shown of kPicturesShown
    QTest::addColumn<QString>("help");      // "rules", "empty" or "any"
    QTest::addColumn<QString>("deal_text"); // the language the table speaks

    const QString gazo = QStringLiteral("gazo");
    const QString wave = QStringLiteral("wave");
    const QString page = QStringLiteral("html/12-1.html");
    const QString qm = QStringLiteral("Kestrano_ja.qm");
    const QString english = QStringLiteral("Deal cards");
    const QString japanese = QStringLiteral("カードを配る");
    const QByteArray text = "This is not what it should be.\n";
    const int all = kPicturesShown;
    const int faces = kPicturesShown - kCardBacksShown;

    // clang-format off
    QTest::newRow("pictures missing") << removed(gazo) << false << 0 << "rules" << english;
    QTest::newRow("card back missing, faces intact") << both(removed("gazo/UB0.png"), removed("gazo/UB0@2x.png")) << false << faces << "rules" << english;
    QTest::newRow("pictures empty") << replaced_by(gazo, {}) << false << 0 << "rules" << english;
    QTest::newRow("pictures cut in half") << resized(gazo, kHalf) << false << 0 << "rules" << english;
    QTest::newRow("pictures cut inside their header") << resized(gazo, 20) << false << 0 << "rules" << english;
    QTest::newRow("pictures that are text") << replaced_by(gazo, text) << false << 0 << "rules" << english;
    QTest::newRow("pictures whose header claims 100000 x 100000 pixels") << replaced_by(gazo, png_of_impossible_size()) << false << 0 << "rules" << english;
    QTest::newRow("pictures of 50 MB: the picture, then zeros") << resized(gazo, kBigFile) << false << all << "rules" << english;
    QTest::newRow("on a sharp screen: sharp pictures cut in half, plain ones intact") << resized(gazo, kHalf, "@2x.png") << false << all << "rules" << english;
    QTest::newRow("on a sharp screen: pictures that are text") << replaced_by(gazo, text) << false << 0 << "rules" << english;
    QTest::newRow("pictures of 50 MB: a PNG signature, then noise") << all_noise(gazo, QByteArray("\x89PNG\r\n\x1a\n", 8), kBigFile) << false << 0 << "rules" << english;
    QTest::newRow("sounds missing") << removed(wave) << false << all << "rules" << english;
    QTest::newRow("sounds empty") << replaced_by(wave, {}) << false << all << "rules" << english;
    QTest::newRow("sounds cut inside their header") << resized(wave, 30) << false << all << "rules" << english;
    QTest::newRow("sounds cut in half") << resized(wave, kHalf) << false << all << "rules" << english;
    QTest::newRow("sounds that are text") << replaced_by(wave, text) << false << all << "rules" << english;
    QTest::newRow("sounds whose header claims 2 GB of samples") << wav_header_says("data", 4, 0x7ffffff0u, 4, 4096) << false << all << "rules" << english;
    QTest::newRow("sounds whose header claims no channels") << wav_header_says("fmt ", 10, 0, 2, 4096) << false << all << "rules" << english;
    QTest::newRow("sounds whose header claims 0 samples a second") << wav_header_says("fmt ", 12, 0, 4, 4096) << false << all << "rules" << english;
    QTest::newRow("sounds of 50 MB: the sound, then zeros") << resized(wave, kBigFile) << false << all << "rules" << english;
    QTest::newRow("sounds of 50 MB: a RIFF header, then noise") << all_noise(wave, "RIFF\xff\xff\xff\x7fWAVEfmt ", kBigFile) << false << all << "rules" << english;
    QTest::newRow("help page missing") << removed(page) << false << all << "empty" << english;
    QTest::newRow("help page empty") << replaced_by(page, {}) << false << all << "empty" << english;
    QTest::newRow("help page cut inside a double-byte character") << Damage(help_cut_in_a_character) << false << all << "rules" << english;
    QTest::newRow("help page in UTF-16 under a Shift_JIS label") << replaced_by(page, mislabelled_page("UTF-16")) << false << all << "any" << english;
    QTest::newRow("help page in UTF-8 under a Shift_JIS label") << replaced_by(page, mislabelled_page("UTF-8")) << false << all << "any" << english;
    QTest::newRow("help page of noise") << replaced_by(page, noise(64 * 1024, 3)) << false << all << "any" << english;
    QTest::newRow("help page of 50 MB: the page, then zeros") << resized(page, kBigFile) << false << all << "any" << english;
    QTest::newRow("card back a FIFO") << made_fifo({"gazo/UB0.png", "gazo/UB0@2x.png"}) << false << faces << "rules" << english;
    QTest::newRow("help page a FIFO") << made_fifo({page}) << false << all << "empty" << english;
    QTest::newRow("help page a link to /dev/zero") << linked_to(page, "/dev/zero") << false << all << "empty" << english;
    QTest::newRow("help page linking a picture that is a FIFO") << both(made_fifo({"html/card.png"}), help_page_with("<img src=\"card.png\">")) << false << all << "rules" << english;
    QTest::newRow("help page linking a style sheet and a picture on /dev/zero") << help_page_with("<link rel=\"stylesheet\" href=\"/dev/zero\"><img src=\"/dev/zero\">") << false << all << "rules" << english;
    QTest::newRow("help page linking files outside its folder") << help_page_with("<a href=\"file:///etc/passwd\">a</a><a href=\"../../../../../../../../etc/passwd\">b</a><a href=\"/etc/passwd\">c</a>") << false << all << "rules" << english;
    QTest::newRow("help page of 7,500 nested tables") << replaced_by(page, nested_page("<table><tr><td>", 7500)) << false << all << "empty" << english;
    QTest::newRow("help page of 30,000 nested lists") << replaced_by(page, nested_page("<ul><li>", 30000)) << false << all << "empty" << english;
    QTest::newRow("help page of 80,000 nested tags") << replaced_by(page, nested_page("<b>", 80000)) << false << all << "empty" << english;
    QTest::newRow("translation whose message claims 2 GB of text") << qm_section_says(0x69, 1, 0x7ffffff0u) << true << all << "rules" << english;
    QTest::newRow("translation whose hash points past its messages") << qm_section_says(0x42, 4, 0x7ffffff0u) << true << all << "rules" << english;
    QTest::newRow("translation empty") << replaced_by(qm, {}) << true << all << "rules" << english;
    QTest::newRow("translation cut in half") << resized(qm, kHalf) << true << all << "rules" << english;
    QTest::newRow("translation that is text") << replaced_by(qm, text) << true << all << "rules" << english;
    QTest::newRow("translation whose block claims 2 GB") << Damage([] { return write_file("Kestrano_ja.qm", qm_with_lying_block()); }) << true << all << "rules" << english;
    QTest::newRow("translation with bytes changed past its magic number") << bytes_flipped(qm, 16) << true << all << "rules" << QString();
    QTest::newRow("translation of 50 MB: the file, then zeros") << resized(qm, kBigFile) << true << all << "rules" << japanese;
    QTest::newRow("every data file replaced by text") << Damage([text] { return replaced_by("gazo", text)() && replaced_by("wave", text)() && replaced_by("html", text)() && replaced_by("Kestrano_ja.qm", text)();
    }) << true << 0 << "any" << english;
    // clang-format on
}

void TestDamagedData::play_with_damaged_files()
{
    QFETCH(Damage, damage);
    QFETCH(bool, japanese);
    QFETCH(int, pictures);
    QFETCH(QString, help);
    QFETCH(QString, deal_text);
    QVERIFY2(!intact_trace.isEmpty(), "no play with intact data to compare with");

    QTemporaryDir folder;
    QTemporaryDir report;
    QVERIFY(folder.isValid() && report.isValid());
    QVERIFY2(prepare(folder, damage), "the damage could not be done");
    const bool sharp = QByteArray(QTest::currentDataTag()).startsWith("on a sharp screen");
    const ChildResult played = play_in(folder, report, japanese, sharp);
    QVERIFY2(played.passed("play_in_prepared_folder"), played.report().constData());

    const QByteArray trace = read_file(report.filePath(QStringLiteral("trace")));
    if (trace != intact_trace) {
        qsizetype at = 0;
        while (at < trace.size() && at < intact_trace.size() && trace[at] == intact_trace[at])
            ++at;
        QFAIL(qPrintable(QStringLiteral("standard output differs from intact data's at byte %1: "
                                        "\"%2\" where \"%3\" was printed")
                             .arg(at)
                             .arg(QString::fromLatin1(trace.mid(at, 60)),
                                  QString::fromLatin1(intact_trace.mid(at, 60)))));
    }
    const QMap<QString, QString> facts = read_report(report.filePath(QStringLiteral("facts")));
    QCOMPARE(facts.value("pictures").toInt(), pictures);
    if (help == QLatin1String("rules"))
        QCOMPARE(facts.value("help_rules"), QStringLiteral("1"));
    else if (help == QLatin1String("empty"))
        QCOMPARE(facts.value("help_length"), QStringLiteral("0"));
    if (!deal_text.isEmpty())
        QCOMPARE(facts.value("deal_text"), deal_text);
}

// The match every copy plays: game start, five rounds of five cards in
// turning orders, the verdict, and the help and version windows; the
// pictures on the table are counted up to the first open.
bool TestDamagedData::play_match(QMap<QString, QString> &facts)
{
    // The real player, on whatever the sounds have become.
    set_sound_player(nullptr);
    TableFixture &t = *table;
    auto shows = [](const QLabel *label) { return int(!label->pixmap().isNull()); };
    int pictures = 0;
    facts["deal_text"] = t.deal_button()->text();
    if (!t.show_active() || !t.start_game() || !t.deal())
        return false;
    pictures += shows(t.label("deck_label"));
    for (int p = 1; p <= 5; ++p)
        pictures += shows(t.user_card_label(p)) + shows(t.cpu_card_label(p));
    if (!t.press(t.card_button(1)))
        return false;
    pictures += shows(t.label("user_play_label")) + shows(t.label("cpu_play_label"));
    if (!t.press(t.open_button()))
        return false;
    pictures += shows(t.label("cpu_play_label"));
    facts["pictures"] = QString::number(pictures);
    if (!t.play_pair(2) || !t.play_pair(3) || !t.play_pair(4) || !t.play_pair(5))
        return false;
    for (int round = 2; round <= 5; ++round) {
        const int order[5] = {round, round % 5 + 1, (round + 1) % 5 + 1, (round + 2) % 5 + 1,
                              (round + 3) % 5 + 1};
        if (!t.deal() || !t.play_round(order))
            return false;
    }
    if (!t.finish_match() || count != 0)
        return false;

    t.probe->explain_action()->trigger();
    t.probe->version_action()->trigger();
    QCoreApplication::processEvents();
    auto *page = top_level<Help_explain>();
    auto *version = top_level<Version>();
    if (!page || !page->isVisible() || !version || !version->isVisible())
        return false;
    // Each link of the page followed, as a click on it would.
    QStringList links;
    for (QTextBlock block = page->document()->begin(); block.isValid(); block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            if (piece.fragment().charFormat().isAnchor())
                links << piece.fragment().charFormat().anchorHref();
        }
    }
    for (const QString &link : links)
        page->setSource(QUrl(link));
    const QString text = page->toPlainText();
    facts["help_length"] = QString::number(text.size());
    facts["help_rules"] = text.contains(QStringLiteral("遊び方")) ? "1" : "0";
    QTest::mouseClick(version->findChild<QPushButton *>("next_button"), Qt::LeftButton);
    // The sounds of the match load and play (or fail) meanwhile.
    QTest::qWait(100);
    table.reset();
    QTest::qWait(20);
    return true;
}

void TestDamagedData::play_in_prepared_folder()
{
    const QString report = qEnvironmentVariable(kReportVariable);
    if (report.isEmpty())
        QSKIP("runs only in the copies started by the other tests");

    QTranslator translator;
    if (qEnvironmentVariableIsSet(kJapaneseVariable))
        install_translation(*qApp, translator, QLocale::Japanese);
    QMap<QString, QString> facts;
    bool played = false;
    const QByteArray trace = capture_stdout([&] {
        table = std::make_unique<TableFixture>(
            0.005, QList<int>{5, 11, 2, 8, 0, 7, 3, 10, 1, 9, 4, 6, 40, 17, 29, 51, 23, 36});
        played = play_match(facts);
    });
    QVERIFY(played);

    QByteArray lines;
    for (auto fact = facts.cbegin(); fact != facts.cend(); ++fact)
        lines += (fact.key() + QLatin1Char('=') + fact.value()).toUtf8() + '\n';
    QVERIFY(write_file(report + QStringLiteral("/facts"), lines));
    QVERIFY(write_file(report + QStringLiteral("/trace"), trace));
}

void TestDamagedData::start_up_with_damaged_translation_data()
{
    QTest::addColumn<Damage>("damage");

    // clang-format off
    QTest::newRow("translation that is text") << replaced_by("Kestrano_ja.qm", "This is not a translation.\n");
    QTest::newRow("translation cut in half") << resized("Kestrano_ja.qm", kHalf);
    QTest::newRow("translation with bytes changed past its magic number") << bytes_flipped("Kestrano_ja.qm", 16);
    // clang-format on
}

// The real program on a Japanese system, as a player starts it: with a
// damaged translation it comes up and prints its start-up traces, no more.
void TestDamagedData::start_up_with_damaged_translation()
{
    QFETCH(Damage, damage);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(prepare(folder, damage));
    const ChildResult game =
        start_up_game(folder.path(), {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "LANG=ja_JP.UTF-8"});
    QVERIFY2(game.stayed_up(), game.report().constData());
    const QString problem = start_up_trace_problem(game.out);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(TestDamagedData)
#include "test_damaged_data.moc"
