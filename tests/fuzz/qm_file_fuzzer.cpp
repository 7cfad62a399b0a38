// Any bytes as the translation: what the .qm check accepts is loaded into a
// QTranslator from memory, as the game loads it, and every message of the
// game is looked up in it.  Qt is built without the sanitizers, so its reads
// are caught another way: the bytes end right where readable memory ends,
// and a read past them faults.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QTranslator>
#include <QXmlStreamReader>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

#include "files/qm_file.h"

namespace {

struct Message
{
    QByteArray context, source, comment;
};

// Every message of Kestrano_ja.ts, as the game asks for it.
QList<Message> game_messages()
{
    QFile file(QStringLiteral(KESTRANO_MESSAGES));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", KESTRANO_MESSAGES);
    QList<Message> messages;
    QByteArray context;
    QXmlStreamReader ts(&file);
    while (ts.readNext() != QXmlStreamReader::Invalid && !ts.atEnd()) {
        if (!ts.isStartElement())
            continue;
        if (ts.name() == u"name") // only a <context> has one
            context = ts.readElementText().toUtf8();
        else if (ts.name() == u"message")
            messages.append({context, {}, {}});
        else if (ts.name() == u"source" && !messages.isEmpty())
            messages.last().source = ts.readElementText().toUtf8();
        else if (ts.name() == u"comment" && !messages.isEmpty())
            messages.last().comment = ts.readElementText().toUtf8();
    }
    if (ts.hasError() || messages.isEmpty())
        qFatal("no messages in %s", KESTRANO_MESSAGES);
    return messages;
}

// Once installed, the translation is also asked for Qt's own texts, whose
// contexts are not in the file: the close question's buttons, the menu's
// shortcut.
constexpr const char *kOtherContexts[] = {"QPlatformTheme", "QShortcut", "QMessageBox"};

// A copy of the input whose last byte is the last readable one: the page
// after it is mapped unreadable.
class FencedBytes
{
public:
    FencedBytes(const uint8_t *data, size_t size)
    {
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        const size_t readable = (size + page - 1) / page * page;
        length = readable + page;
        void *map =
            mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED || mprotect(static_cast<char *>(map) + readable, page, PROT_NONE))
            qFatal("cannot map %zu bytes", length);
        start = static_cast<char *>(map);
        bytes = start + readable - size;
        if (size > 0)
            memcpy(bytes, data, size);
        file = QByteArray::fromRawData(bytes, qsizetype(size));
    }
    ~FencedBytes() { munmap(start, length); }
    FencedBytes(const FencedBytes &) = delete;
    FencedBytes &operator=(const FencedBytes &) = delete;

    QByteArray file; // the bytes, not copied

private:
    char *start = nullptr;
    char *bytes = nullptr;
    size_t length = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QList<Message> messages = game_messages();
    const FencedBytes fenced(data, size);
    if (!is_whole_qm_file(fenced.file))
        return 0;
    QTranslator translator;
    if (!translator.load(reinterpret_cast<const uchar *>(fenced.file.constData()),
                         int(fenced.file.size())))
        return 0;
    for (const Message &message : messages) {
        const char *comment = message.comment.isEmpty() ? nullptr : message.comment.constData();
        (void)translator.translate(message.context.constData(), message.source.constData(),
                                   comment);
        for (const char *other : kOtherContexts)
            (void)translator.translate(other, message.source.constData(), comment);
    }
    (void)translator.language();
    return 0;
}
