// The data files where the game opens them: the pictures and sounds as they are built, then
// damaged as a disk, a download or a careless copy damages them.  With any damage the game
// deals, plays a round with lost, won and tied pairs, gives its verdict, opens its help and
// version windows and closes; it shows what it can and prints exactly the traces of intact data.
//
// Each damage is done to a copy of the data in a folder of its own.  A copy of this program
// plays the cases there one after the other, with the real sound player, so that a crash or a
// hang fails the test instead of ending it.
#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTranslator>
#include <QtEndian>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "app/translation.h"
#include "cards/card.h"
#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/sound.h"
#include "tests/support/child_process.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/table_fixture.h"
#include "tests/support/windows.h"

namespace {

// Set for the copy that plays: its cases' folders, each after "ja:" or "en:" (its system).
constexpr char kCasesVariable[] = "KESTRANO_DAMAGED_DATA_CASES";
// A copy still playing then hangs: with intact data a case takes a fraction
// of a second.  A sound still loading after kSoundLimitMs hangs too.
constexpr int kHangLimitMs = 240000;
constexpr int kSoundLimitMs = 10000;
constexpr qint64 kBigFile = 50 * 1024 * 1024;
constexpr qint64 kHalf = -1;

// The pictures shown up to the round's first open with intact data: the pile, five faces
// and five backs, the played face and the CPU's back at the press, the open picture.
constexpr int kPicturesShown = 14;
// Of these, the card backs: the pile, the CPU's hand and its card in play.
constexpr int kCardBacksShown = 7;

// Loads like the game does, through QPixmap; at scale 2 the "@2x" twin.
QImage load_picture(QString path, int scale = 1)
{
    if (scale == 2)
        path.insert(path.size() - 4, QStringLiteral("@2x"));
    return QPixmap(path).toImage().convertToFormat(QImage::Format_ARGB32);
}

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

// Written anew, never in place: the copied data are hard links where they can be.
bool write_file(const QString &path, const QByteArray &bytes)
{
    QFile::remove(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray noise(qint64 size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

// Each damage works on the copied data in the current folder.
using Damage = std::function<bool()>;

// `damage` done to each file under `folder`, of which there must be some.
Damage each_file(const QString &folder, const std::function<bool(const QString &)> &damage)
{
    return [folder, damage] {
        const QStringList files = files_in(folder);
        return !files.isEmpty() && std::all_of(files.begin(), files.end(), damage);
    };
}

Damage removed(const QString &entry)
{
    return [entry] {
        return QFileInfo(entry).isDir() ? QDir(entry).removeRecursively() : QFile::remove(entry);
    };
}

Damage replaced_by(const QString &folder, const QByteArray &bytes)
{
    return each_file(folder, [bytes](const QString &file) { return write_file(file, bytes); });
}

// Each file (or each whose name ends in `only`) cut or padded with zeros to
// `size` bytes, or cut to half its size (kHalf); padding makes sparse files.
Damage resized(const QString &folder, qint64 size, const QString &only = {})
{
    return each_file(folder, [size, only](const QString &file) {
        QFile resized(file);
        return !file.endsWith(only) || (write_file(file, read_file(file)) &&
                                        resized.resize(size == kHalf ? resized.size() / 2 : size));
    });
}

// The same bytes in every file: hard links to the first, written once.
Damage all_noise(const QString &folder, const QByteArray &start, qint64 size)
{
    return [folder, start, size] {
        const QStringList files = files_in(folder);
        if (files.isEmpty() || !write_file(files.first(), start + noise(size, 5)))
            return false;
        return std::all_of(files.begin() + 1, files.end(), [&](const QString &file) {
            return QFile::remove(file) &&
                   ::link(QFile::encodeName(files.first()), QFile::encodeName(file)) == 0;
        });
    };
}

// The translation with some bytes changed past its magic number.
bool qm_bytes_flipped()
{
    QByteArray qm = read_file(QStringLiteral("Kestrano_ja.qm"));
    QRandomGenerator random(11);
    for (int i = 0; i < 200 && qm.size() > 16; ++i)
        qm[16 + random.bounded(int(qm.size()) - 16)] = char(random.generate());
    return write_file(QStringLiteral("Kestrano_ja.qm"), qm);
}

// Rewrites a number in each WAV file's header, `bytes` wide at `offset` past the start
// of `chunk` ("fmt " or "data"), and cuts the file to `keep` bytes.
Damage wav_header_says(const char *chunk, int offset, quint32 value, int bytes, qint64 keep)
{
    return each_file(QStringLiteral("wave"), [=](const QString &file) {
        QByteArray wav = read_file(file);
        const qsizetype at = wav.indexOf(chunk) + offset;
        if (at < offset)
            return false;
        bytes == 4 ? qToLittleEndian<quint32>(value, wav.data() + at)
                   : qToLittleEndian<quint16>(static_cast<quint16>(value), wav.data() + at);
        return write_file(file, wav.left(keep));
    });
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

// Each path made a FIFO that nobody ever writes: opening it blocks.
Damage made_fifo(const QStringList &paths)
{
    return [paths] {
        return std::all_of(paths.begin(), paths.end(), [](const QString &path) {
            QFile::remove(path);
            return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
        });
    };
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

// The real help page padded to `size` bytes by a comment at the end of its body.
Damage help_page_of_size(qint64 size)
{
    return [size] {
        const qsizetype padding = size - read_file("html/12-1.html").size() - 7;
        return padding >= 0 && help_page_with("<!--" + QByteArray(padding, ' ') + "-->")();
    };
}

// A translation's sections are a tag byte and a 32-bit length each.
quint32 qm_section_size(const QByteArray &qm, qsizetype section)
{
    return qFromBigEndian<quint32>(qm.constData() + section + 1);
}

// Where the first section tagged `tag` of a translation starts, or -1.
qsizetype qm_section(const QByteArray &qm, quint8 tag)
{
    for (qsizetype section = 16; section + 5 <= qm.size();
         section += 5 + qm_section_size(qm, section)) {
        if (static_cast<quint8>(qm.at(section)) == tag)
            return section;
    }
    return -1;
}

// Writes `value` at `at` bytes into the first section tagged `tag` of the translation.
Damage qm_section_says(quint8 tag, int at, quint32 value)
{
    return [=] {
        QByteArray qm = read_file(QStringLiteral("Kestrano_ja.qm"));
        const qsizetype section = qm_section(qm, tag);
        if (section < 0 || at + 4 > qsizetype(qm_section_size(qm, section)))
            return false;
        qToBigEndian<quint32>(value, qm.data() + section + 5 + at);
        return write_file(QStringLiteral("Kestrano_ja.qm"), qm);
    };
}

// The translation's messages, its last section, cut right after the last comment in them,
// which then runs to their very end.  lrelease writes an empty comment in every message.
bool qm_cut_after_last_comment()
{
    QByteArray qm = read_file(QStringLiteral("Kestrano_ja.qm"));
    const qsizetype messages = qm_section(qm, 0x69);
    const qsizetype end = qm.lastIndexOf(QByteArray("\x08\0\0\0\0", 5)) + 5;
    if (messages < 0 || messages + 5 + qm_section_size(qm, messages) != qm.size() ||
        end < messages + 5)
        return false;
    qToBigEndian<quint32>(quint32(end - messages - 5), qm.data() + messages + 1);
    return write_file(QStringLiteral("Kestrano_ja.qm"), qm.left(end));
}

Damage appended(const QString &folder, const QByteArray &bytes)
{
    return each_file(
        folder, [bytes](const QString &file) { return write_file(file, read_file(file) + bytes); });
}

Damage all_of(const QList<Damage> &damages)
{
    return [damages] {
        return std::all_of(damages.begin(), damages.end(), [](const Damage &d) { return d(); });
    };
}

struct Case
{
    const char *name;
    Damage damage;
    bool japanese;         // the system the copy plays on
    int pictures;          // pictures shown of kPicturesShown
    const char *help;      // what the help window shows: "rules" (still), "empty", or "any"
    const char *deal;      // the text of "Deal cards": the table's language; any when empty
    bool start_up = false; // the real program also starts up on a Japanese system
    bool sharp = false;    // played on a screen of twice the density
};

const QList<Case> &cases()
{
    const char *gazo = "gazo", *wave = "wave", *page = "html/12-1.html", *qm = "Kestrano_ja.qm";
    const char *rules = "rules", *empty = "empty", *any = "any";
    const char *english = "Deal cards", *japanese = "カードを配る";
    const QByteArray text = "This is not what it should be.\n";
    // A page that declares Shift_JIS but is written otherwise.
    const QString mislabelled = QStringLiteral(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=Shift_JIS\"></head><body><h2>遊び方</h2><p>カードを配る</p></body></html>");
    const QByteArray utf16 =
        QByteArray("\xff\xfe", 2) +
        QByteArray(reinterpret_cast<const char *>(mislabelled.utf16()), mislabelled.size() * 2);
    // A PNG signature and header claiming 100000 x 100000 pixels, with valid checksums.
    const QByteArray huge_png =
        QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000186a0000186a00806000000a8520bc8"
                            "0000004049444154" +
                            QByteArray(64, 'x').toHex() + "8bb94d7e0000000049454e44ae426082");
    // A .qm file's magic number, then a block of message hashes claiming nearly 2 GB.
    const QByteArray lying_qm =
        QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd427ffffff0") + QByteArray(64, '\0');
    // A table of contexts (the section lrelease adds when it compresses) of one bucket, whose
    // chain names both of the game's contexts and then runs off the table instead of ending.
    const QByteArray unended_contexts =
        QByteArray::fromHex("2f00000017000100010000") + "\x08Kestrano\x07Version";
    const int all = kPicturesShown, faces = kPicturesShown - kCardBacksShown;
    // clang-format off
    static const QList<Case> table = {
        {"pictures missing", removed(gazo), false, 0, rules, english},
        {"card back missing, faces intact", all_of({removed("gazo/UB0.png"), removed("gazo/UB0@2x.png")}), false, faces, rules, english},
        {"pictures empty", replaced_by(gazo, {}), false, 0, rules, english},
        {"pictures cut in half", resized(gazo, kHalf), false, 0, rules, english},
        {"pictures cut inside their header", resized(gazo, 20), false, 0, rules, english},
        {"pictures that are text", replaced_by(gazo, text), false, 0, rules, english},
        {"pictures whose header claims 100000 x 100000 pixels", replaced_by(gazo, huge_png), false, 0, rules, english},
        {"pictures of 50 MB: the picture, then zeros", resized(gazo, kBigFile), false, all, rules, english},
        {"on a sharp screen: sharp pictures cut in half, plain ones intact", resized(gazo, kHalf, "@2x.png"), false, all, rules, english, false, true},
        {"on a sharp screen: pictures that are text", replaced_by(gazo, text), false, 0, rules, english, false, true},
        {"pictures of 50 MB: a PNG signature, then noise", all_noise(gazo, huge_png.left(8), kBigFile), false, 0, rules, english},
        {"sounds missing", removed(wave), false, all, rules, english},
        {"sounds empty", replaced_by(wave, {}), false, all, rules, english},
        {"sounds cut inside their header", resized(wave, 30), false, all, rules, english},
        {"sounds cut in half", resized(wave, kHalf), false, all, rules, english},
        {"sounds that are text", replaced_by(wave, text), false, all, rules, english},
        {"sounds whose header claims 2 GB of samples", wav_header_says("data", 4, 0x7ffffff0u, 4, 4096), false, all, rules, english},
        {"sounds whose header claims no channels", wav_header_says("fmt ", 10, 0, 2, 4096), false, all, rules, english},
        {"sounds whose header claims 0 samples a second", wav_header_says("fmt ", 12, 0, 4, 4096), false, all, rules, english},
        {"sounds of 50 MB: the sound, then zeros", resized(wave, kBigFile), false, all, rules, english},
        {"sounds of 50 MB: a RIFF header, then noise", all_noise(wave, "RIFF\xff\xff\xff\x7fWAVEfmt ", kBigFile), false, all, rules, english},
        {"help page missing", removed(page), false, all, empty, english},
        {"help page empty", replaced_by(page, {}), false, all, empty, english},
        {"help page cut inside a double-byte character", help_cut_in_a_character, false, all, rules, english},
        {"help page in UTF-16 under a Shift_JIS label", replaced_by(page, utf16), false, all, any, english},
        {"help page in UTF-8 under a Shift_JIS label", replaced_by(page, mislabelled.toUtf8()), false, all, any, english},
        {"help page of noise", replaced_by(page, noise(64 * 1024, 3)), false, all, any, english},
        {"help page of 50 MB: the page, then zeros", resized(page, kBigFile), false, all, any, english},
        {"card back a FIFO", made_fifo({"gazo/UB0.png", "gazo/UB0@2x.png"}), false, faces, rules, english},
        {"help page a FIFO", made_fifo({page}), false, all, empty, english},
        {"help page a link to /dev/zero", [page] { return QFile::remove(page) && QFile::link("/dev/zero", page); }, false, all, empty, english},
        {"help page of 256 KB", help_page_of_size(256 * 1024), false, all, rules, english},
        {"help page of 256 KB and a byte", help_page_of_size(256 * 1024 + 1), false, all, empty, english},
        {"help page linking a picture that is a FIFO, by its path from the page and from the game's folder", all_of({made_fifo({"html/card.png"}), help_page_with("<img src=\"card.png\"><img src=\"html/card.png\">")}), false, all, rules, english},
        {"help page linking a style sheet and a picture on /dev/zero", help_page_with("<link rel=\"stylesheet\" href=\"/dev/zero\"><img src=\"/dev/zero\">"), false, all, rules, english},
        {"help page linking files outside its folder", help_page_with("<a href=\"file:///etc/passwd\">a</a><a href=\"../../../../../../../../etc/passwd\">b</a><a href=\"/etc/passwd\">c</a>"), false, all, rules, english},
        {"help page of 7,500 nested tables", replaced_by(page, "<html><body>" + QByteArray("<table><tr><td>").repeated(7500) + "deep"), false, all, empty, english},
        {"help page of 30,000 nested lists", replaced_by(page, "<html><body>" + QByteArray("<ul><li>").repeated(30000) + "deep"), false, all, empty, english},
        {"help page of 80,000 nested tags", replaced_by(page, "<html><body>" + QByteArray("<b>").repeated(80000) + "deep"), false, all, empty, english},
        {"help page and 2,000 line breaks", help_page_with(QByteArray("<br>").repeated(2000)), false, all, empty, english},
        {"help page and 200 missing pictures", help_page_with(QByteArray("<img src=\"x.png\">").repeated(200)), false, all, rules, english},
        {"help page and 201 missing pictures", help_page_with(QByteArray("<img src=\"x.png\">").repeated(201)), false, all, empty, english},
        {"help page and a style sheet of 20,000 rules", help_page_with("<style>" + QByteArray("p{color:red}").repeated(20000) + "</style>"), false, all, empty, english},
        {"translation whose message claims 2 GB of text", qm_section_says(0x69, 1, 0x7ffffff0u), true, all, rules, english},
        {"translation whose hash points past its messages", qm_section_says(0x42, 4, 0x7ffffff0u), true, all, rules, english},
        {"translation whose table of contexts runs off its end", appended(qm, unended_contexts), true, all, rules, english},
        {"translation whose last comment ends its messages", qm_cut_after_last_comment, true, all, rules, english},
        {"translation empty", replaced_by(qm, {}), true, all, rules, english},
        {"translation cut in half", resized(qm, kHalf), true, all, rules, english, true},
        {"translation that is text", replaced_by(qm, text), true, all, rules, english, true},
        {"translation whose block claims 2 GB", replaced_by(qm, lying_qm), true, all, rules, english},
        {"translation with bytes changed past its magic number", qm_bytes_flipped, true, all, rules, "", true},
        {"translation of 50 MB: the file, then zeros", resized(qm, kBigFile), true, all, rules, japanese},
        {"every data file replaced by text", all_of({replaced_by(gazo, text), replaced_by(wave, text), replaced_by("html", text), replaced_by(qm, text)}), true, 0, any, english},
    };
    // clang-format on
    return table;
}

// Every sound asked for has loaded, or failed to.
bool sounds_loaded()
{
    const QList<QSoundEffect *> sounds = qApp->findChildren<QSoundEffect *>();
    return std::all_of(sounds.begin(), sounds.end(), [](const QSoundEffect *sound) {
        return sound->status() == QSoundEffect::Ready || sound->status() == QSoundEffect::Error;
    });
}

// One case: the demonstration deal's first round (its pictures counted up to the first
// open), the verdict, the help window with each link of its page followed as a click
// would, and the version window's second page.
bool play_case(QSettings &facts)
{
    TableFixture t(0.002, kDemoDraws);
    set_sound_player(nullptr); // the real player, on whatever the sounds have become
    t.lay_demo_deal();
    const auto shows = [&t](const QString &name) { return int(!t.label(name)->pixmap().isNull()); };
    const int(&order)[5] = kDemoOrders[0];
    facts.setValue("deal", t.deal_button()->text());
    if (!t.show_active() || !t.play_to(Phase::AfterDeal))
        return false;
    int pictures = shows("deck_label");
    for (int p = 1; p <= 5; ++p)
        pictures += shows(QStringLiteral("user_card_label%1").arg(p)) +
                    shows(QStringLiteral("cpu_card_label%1").arg(p));
    if (!t.press(t.card_button(order[0])))
        return false;
    pictures += shows("user_play_label") + shows("cpu_play_label");
    if (!t.press(t.open_button()))
        return false;
    facts.setValue("pictures", pictures + shows("cpu_play_label"));
    if (!std::all_of(order + 1, order + 5, [&t](int p) { return t.play_pair(p); }) || !t.settle())
        return false;
    const ModalAnswer *verdict = answer_next_box(QMessageBox::Ok);
    t.probe->match_result();
    // The menu entries by the text they show, in whichever language.
    QAction *explain = t.action(QCoreApplication::translate("Kestrano", "Explain"));
    QAction *about = t.action(QCoreApplication::translate("Kestrano", "Version"));
    if (!verdict->answered || !explain || !about)
        return false;
    explain->trigger();
    about->trigger();
    auto *page = top_level<Help_explain>();
    auto *version = top_level<Version>();
    if (!page || !page->isVisible() || !version || !version->isVisible())
        return false;
    QStringList links;
    for (QTextBlock block = page->document()->begin(); block.isValid(); block = block.next())
        for (auto piece = block.begin(); !piece.atEnd(); ++piece)
            if (piece.fragment().charFormat().isAnchor())
                links << piece.fragment().charFormat().anchorHref();
    for (const QString &link : links)
        page->setSource(QUrl(link));
    const QString text = page->toPlainText();
    facts.setValue("help", text.contains(QStringLiteral("遊び方")) ? "rules"
                           : text.isEmpty()                        ? "empty"
                                                                   : "other");
    return t.press(version->findChild<QPushButton *>("next_button")) &&
           QTest::qWaitFor(sounds_loaded, kSoundLimitMs);
}

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictures_data();
    void pictures();
    void every_card_has_its_own_picture();
    void sounds_data();
    void sounds();
    void play_with_damaged_files_data();
    void play_with_damaged_files();
    void play_in_prepared_folders();

private:
    // The runnable folder's data copied into `folder` and damaged there.
    [[nodiscard]] static bool prepare(const QString &folder, const Damage &damage);
    QString folder_of(int index) const { return root.filePath(QString::number(index)); }

    QTemporaryDir root;       // case i plays in folder i, intact data in -1
    ChildResult plain, sharp; // the two copies that played
    QByteArray intact_trace;
};

bool TestDataFiles::prepare(const QString &folder, const Damage &damage)
{
    const QDir game(QStringLiteral(KESTRANO_GAME_DIR));
    for (const char *entry : {"gazo", "wave", "html", "Kestrano_ja.qm"}) {
        for (const QString &file : files_in(game.filePath(QLatin1String(entry)))) {
            const QString copy = folder + QLatin1Char('/') + game.relativeFilePath(file);
            const bool linked = QDir().mkpath(QFileInfo(copy).path()) &&
                                ::link(QFile::encodeName(file), QFile::encodeName(copy)) == 0;
            if (!linked && !QFile::copy(file, copy))
                return false;
        }
    }
    const QString here = QDir::currentPath();
    QDir::setCurrent(folder);
    const bool damaged = !damage || damage();
    QDir::setCurrent(here);
    return damaged;
}

// Prepares every case, intact data first, and has one copy play them on a
// plain screen and another the cases on a sharp screen.
void TestDataFiles::initTestCase()
{
    if (qEnvironmentVariableIsSet(kCasesVariable))
        return; // this is a copy that plays
    QVERIFY(QDir::setCurrent(QStringLiteral(KESTRANO_GAME_DIR)));
    QStringList plain_cases{"en:" + folder_of(-1)}, sharp_cases;
    QVERIFY(root.isValid() && prepare(folder_of(-1), {}));
    for (int i = 0; i < cases().size(); ++i) {
        const Case &damaged = cases().at(i);
        QVERIFY2(prepare(folder_of(i), damaged.damage), damaged.name);
        (damaged.sharp ? sharp_cases : plain_cases)
            << (damaged.japanese ? "ja:" : "en:") + folder_of(i);
    }
    const auto play = [](const QStringList &list, const char *scale) {
        ChildRun run = rerun_of("play_in_prepared_folders");
        run.limit_ms = kHangLimitMs;
        run.environment << QLatin1String(kCasesVariable) + QLatin1Char('=') + list.join(';')
                        << QStringLiteral("QT_SCALE_FACTOR=") + QLatin1String(scale);
        return run_child(run);
    };
    plain = play(plain_cases, "1");
    sharp = play(sharp_cases, "2");
    const QSettings facts(folder_of(-1) + "/played.ini", QSettings::IniFormat);
    QVERIFY2(facts.value("played").toBool(), plain.report().constData());
    QCOMPARE(facts.value("pictures").toInt(), kPicturesShown);
    QCOMPARE(facts.value("help").toString(), QStringLiteral("rules"));
    intact_trace = read_file(folder_of(-1) + "/played_trace");
    QVERIFY(intact_trace.startsWith("First_Shown()\n"));
    // The round loses, wins and ties, so that every sound of play is heard.
    for (const char *outcome : {"cpu win", "user win", "tie :3"})
        QVERIFY2(intact_trace.contains(outcome), outcome);
}

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

    for (int scale : {1, 2}) { // the @2x twin exactly twice the size
        const QImage face_image = load_picture(face, scale);
        QCOMPARE(face_image.size(), QSize(59 * scale, 80 * scale));
        QCOMPARE(qAlpha(face_image.pixel(face_image.width() / 2, face_image.height() / 2)), 255);
        if (open.isEmpty())
            continue;
        const QImage open_image = load_picture(open, scale);
        QCOMPARE(open_image.size(), face_image.size());
        // The middle of each edge, one pixel in from it: inside the frame of
        // an open picture (3 px at 1x), on the card itself in a face picture.
        const int w = face_image.width(), h = face_image.height();
        for (const QPoint &point : {QPoint(scale, h / 2), QPoint(w - 1 - scale, h / 2),
                                    QPoint(w / 2, scale), QPoint(w / 2, h - 1 - scale)}) {
            QVERIFY2(
                open_image.pixel(point) != face_image.pixel(point),
                qPrintable(
                    QStringLiteral("%1 looks like %2 at scale %3").arg(open, face).arg(scale)));
        }
    }
}

// Guards against every card being drawn from the same part of the deck.
void TestDataFiles::every_card_has_its_own_picture()
{
    QList<QImage> faces;
    for (int card = 1; card <= 52; ++card) {
        faces << load_picture(face_picture_path(card));
        QVERIFY2(faces.indexOf(faces.last()) == card - 1, qPrintable(face_picture_path(card)));
    }
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

    // The game plays every file under wave/, whatever its name: each is a row.
    QCOMPARE(files_in(QStringLiteral("wave")).size(), 6);
    const QByteArray bytes = read_file(path);
    QVERIFY2(bytes.size() > 44, qPrintable(path));
    QCOMPARE(bytes.left(4) + bytes.mid(8, 4), QByteArray("RIFFWAVE"));
    QCOMPARE(qsizetype(qFromLittleEndian<quint32>(bytes.constData() + 4)), bytes.size() - 8);

    // Walk the chunks: each must fit, and together they must fill the file.
    QHash<QByteArray, std::pair<qsizetype, quint32>> chunks; // each one's start and size
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        QVERIFY2(at + 8 + qsizetype(size) <= bytes.size(), id.constData());
        chunks.insert(id, {at + 8, size});
        at += 8 + size + (size & 1);
    }
    QCOMPARE(at, bytes.size());
    QVERIFY(chunks.contains("fmt ") && chunks.contains("data"));
    const auto [data, data_size] = chunks.value("data");
    // PCM, mono, 44100 samples (88200 bytes) a second, 16-bit samples, little-endian.
    QCOMPARE(bytes.mid(chunks.value("fmt ").first, 16).toHex(),
             QByteArray("0100010044ac00008858010002001000"));
    QCOMPARE(data_size % 2, quint32(0));

    const double seconds = data_size / 88200.0;
    QVERIFY2(seconds > 0.05 && seconds <= longest_seconds, qPrintable(QString::number(seconds)));

    int peak = 0;
    for (quint32 i = 0; i < data_size; i += 2)
        peak = qMax(peak, qAbs(int(qFromLittleEndian<qint16>(bytes.constData() + data + i))));
    // Audible (above -12 dBFS) and with headroom (below -1 dBFS).
    QVERIFY2(peak > 8200 && peak < 29200, qPrintable(QString::number(peak)));
}

void TestDataFiles::play_with_damaged_files_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < cases().size(); ++i)
        QTest::newRow(cases().at(i).name) << i;
}

void TestDataFiles::play_with_damaged_files()
{
    QFETCH(int, index);
    const Case &damaged = cases().at(index);
    QVERIFY2(!intact_trace.isEmpty(), "no play with intact data to compare with");
    const QSettings facts(folder_of(index) + "/played.ini", QSettings::IniFormat);
    QVERIFY2(facts.value("played").toBool(), (damaged.sharp ? sharp : plain).report().constData());
    // Standard output from its first difference from intact data's on.
    const QByteArray trace = read_file(folder_of(index) + "/played_trace");
    const qsizetype at =
        std::mismatch(trace.begin(), trace.end(), intact_trace.begin(), intact_trace.end()).first -
        trace.begin();
    QCOMPARE(trace.mid(at, 60), intact_trace.mid(at, 60));
    QCOMPARE(facts.value("pictures").toInt(), damaged.pictures);
    QCOMPARE(facts.value("unanswered").toInt(), 0);
    if (qstrcmp(damaged.help, "any") != 0)
        QCOMPARE(facts.value("help").toString(), QString::fromUtf8(damaged.help));
    if (*damaged.deal)
        QCOMPARE(facts.value("deal").toString(), QString::fromUtf8(damaged.deal));
    if (damaged.start_up) {
        // The real program on a Japanese system comes up and prints its start-up traces only.
        const ChildResult game = start_up_game(
            folder_of(index), {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "LANG=ja_JP.UTF-8"});
        QVERIFY2(game.stayed_up(), game.report().constData());
        const QString problem = start_up_trace_problem(game.out);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void TestDataFiles::play_in_prepared_folders()
{
    const QString list = qEnvironmentVariable(kCasesVariable);
    if (list.isEmpty())
        QSKIP("runs only in the copies started by initTestCase");
    for (const QString &entry : list.split(QLatin1Char(';'))) {
        QVERIFY(QDir::setCurrent(entry.mid(3)));
        QTranslator translator;
        if (entry.startsWith(QLatin1String("ja:")))
            install_translation(*qApp, translator, QLocale::Japanese);
        // A case that cannot be played is reported, and the next one played.
        QSettings facts(QDir::current().filePath("played.ini"), QSettings::IniFormat);
        bool played = false;
        // What the help window leaves unanswered, the document looks up itself by the page's
        // bare name, past the window's checks, as often as it lays out or paints it.
        int unanswered = 0;
        QTextDocument::setDefaultResourceProvider([&unanswered](const QUrl &) {
            ++unanswered;
            return QVariant();
        });
        const QByteArray trace = capture_stdout([&] { played = play_case(facts); });
        QTextDocument::setDefaultResourceProvider({});
        facts.setValue("unanswered", unanswered);
        QCoreApplication::removeTranslator(&translator);
        facts.setValue("played", played);
        facts.sync();
        QVERIFY(facts.status() == QSettings::NoError && write_file("played_trace", trace));
    }
}

QTEST_MAIN(TestDataFiles)
#include "test_data_files.moc"
