#include "files/qm_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <QTranslator>
#include <QtEndian>

#include <cstring>

#include "files/data_file.h"

namespace {

// Far above the game's translation.
constexpr qint64 kMaxTranslationBytes = 64 * 1024 * 1024;

constexpr unsigned char kMagic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                      0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};

// Section tags.
constexpr quint8 kContexts = 0x2f;
constexpr quint8 kHashes = 0x42;
constexpr quint8 kMessages = 0x69;
constexpr quint8 kNumerusRules = 0x88;
constexpr quint8 kLanguage = 0xa7;

// Field tags inside a message.
constexpr quint8 kEnd = 1;
constexpr quint8 kTranslation = 3;
constexpr quint8 kObsolete = 5;
constexpr quint8 kSourceText = 6;
constexpr quint8 kContext = 7;
constexpr quint8 kComment = 8;

// A part of the file: where it starts and how long it is.
struct Span
{
    const uchar *data = nullptr;
    quint32 size = 0;
};

quint32 read32(const uchar *at)
{
    return qFromBigEndian<quint32>(at);
}

quint16 read16(const uchar *at)
{
    return qFromBigEndian<quint16>(at);
}

// The message at `offset` ends with its end tag, and every field before it
// lies inside the messages.  The end tag must be there: Qt reads the first
// byte of a comment even when the comment is empty, so a message whose
// comment ended the messages would be read past them.
bool is_whole_message(Span messages, quint32 offset)
{
    quint64 at = offset;
    while (at < messages.size) {
        const quint8 tag = messages.data[at++];
        if (tag == kEnd)
            return true;
        if (at + 4 > messages.size)
            return false;
        if (tag == kObsolete) {
            at += 4;
            continue;
        }
        if (tag != kTranslation && tag != kSourceText && tag != kContext && tag != kComment)
            return false;
        at += 4 + quint64(read32(messages.data + at));
        if (at > messages.size)
            return false;
    }
    return false;
}

bool are_whole_hashes(Span hashes, Span messages)
{
    if (hashes.size == 0 || hashes.size % 8 != 0)
        return false;
    for (quint32 entry = 0; entry < hashes.size; entry += 8) {
        if (!is_whole_message(messages, read32(hashes.data + entry + 4)))
            return false;
    }
    return true;
}

// A hash table of 16-bit offsets, each to a chain of names with a length
// byte before each, ended by a zero length.
bool are_whole_contexts(Span contexts)
{
    if (contexts.data == nullptr)
        return true;
    if (contexts.size < 2)
        return false;
    const quint32 buckets = read16(contexts.data);
    const quint64 table_end = 2 + 2 * quint64(buckets);
    if (buckets == 0 || table_end > contexts.size)
        return false;
    for (quint32 bucket = 0; bucket < buckets; ++bucket) {
        const quint32 offset = read16(contexts.data + 2 + 2 * bucket);
        if (offset == 0)
            continue;
        quint64 at = table_end + 2 * quint64(offset);
        for (;;) {
            if (at >= contexts.size)
                return false;
            const quint8 length = contexts.data[at++];
            if (length == 0)
                break;
            at += length;
        }
    }
    return true;
}

// The file Qt would load for `name`: the first of these that is a file.
QString translation_file(const QString &name)
{
    for (const QString &candidate : {name + QLatin1String(".qm"), name}) {
        const QFileInfo file(candidate);
        if (file.isReadable() && file.isFile())
            return candidate;
    }
    return {};
}

} // namespace

bool is_whole_qm_file(const QByteArray &file)
{
    const auto *data = reinterpret_cast<const uchar *>(file.constData());
    if (file.size() < qsizetype(sizeof kMagic) || memcmp(data, kMagic, sizeof kMagic) != 0)
        return false;
    Span contexts;
    Span hashes;
    Span messages;
    quint64 at = sizeof kMagic;
    // Read as Qt reads it: sections up to a zero tag or length.
    while (at + 5 <= quint64(file.size())) {
        const quint8 tag = data[at];
        const quint32 size = read32(data + at + 1);
        at += 5;
        if (tag == 0 || size == 0)
            break;
        if (size > file.size() - at)
            return false;
        const Span section{data + at, size};
        if (tag == kContexts)
            contexts = section;
        else if (tag == kHashes)
            hashes = section;
        else if (tag == kMessages)
            messages = section;
        else if (tag != kNumerusRules && tag != kLanguage)
            return false; // dependencies (0x96), or no section lrelease writes
        at += size;
    }
    return messages.data != nullptr && are_whole_hashes(hashes, messages) &&
           are_whole_contexts(contexts);
}

bool load_checked_translation(QTranslator &translator, const QString &name)
{
    const QString path = translation_file(name);
    if (path.isEmpty())
        return false;
    // Qt keeps reading the bytes it was given: they live as long as the
    // translator does.
    auto *bytes = new QBuffer(&translator);
    bytes->setData(read_data_file(path, kMaxTranslationBytes));
    const QByteArray &file = bytes->data();
    if (!is_whole_qm_file(file)) {
        delete bytes;
        return false;
    }
    return translator.load(reinterpret_cast<const uchar *>(file.constData()),
                           static_cast<int>(file.size()));
}
