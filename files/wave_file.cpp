#include "files/wave_file.h"

#include <QByteArray>
#include <QtEndian>

namespace {

constexpr int kChunkHeaderBytes = 8;
constexpr int kPcmFormatTag = 1;
constexpr int kFormatChunkBytes = 16;

// The caller has made sure that the bytes lie inside the file.
template <typename Number> Number little_endian(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<Number>(bytes.constData() + at);
}

bool plain_pcm_format(const QByteArray &file, qsizetype body, quint32 size)
{
    if (size < kFormatChunkBytes)
        return false;
    const quint32 format_tag = little_endian<quint16>(file, body);
    const quint32 channels = little_endian<quint16>(file, body + 2);
    const quint32 sample_rate = little_endian<quint32>(file, body + 4);
    const quint32 bits = little_endian<quint16>(file, body + 14);
    return format_tag == kPcmFormatTag && (channels == 1 || channels == 2) && sample_rate >= 8000 &&
           sample_rate <= 192000 && (bits == 8 || bits == 16);
}

} // namespace

bool is_playable_wave(const QByteArray &file)
{
    if (file.size() < 12 || file.size() > kMaxSoundFileBytes || !file.startsWith("RIFF") ||
        file.mid(8, 4) != "WAVE")
        return false;

    bool format_seen = false;
    qsizetype at = 12;
    while (at + kChunkHeaderBytes <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const quint32 size = little_endian<quint32>(file, at + 4);
        const qsizetype body = at + kChunkHeaderBytes;
        if (size > static_cast<quint64>(file.size() - body))
            return false; // the chunk claims more than the file holds
        if (id == "fmt ") {
            if (!plain_pcm_format(file, body, size))
                return false;
            format_seen = true;
        } else if (id == "data") {
            return format_seen && size > 0;
        }
        at = body + size + (size & 1); // chunks are padded to even sizes
    }
    return false;
}
