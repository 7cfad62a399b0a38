// WAV files written byte by byte, well-formed or not, for the tests of the
// sound side.
#pragma once

#include <QByteArray>

// `value` in `width` bytes, little-endian.
inline QByteArray le(quint32 value, int width)
{
    QByteArray bytes;
    for (int i = 0; i < width; ++i)
        bytes.append(static_cast<char>(value >> (8 * i) & 0xff));
    return bytes;
}

// A chunk whose size field says `claimed` (the body's size unless given).
inline QByteArray chunk(const char *id, const QByteArray &body, quint32 claimed = 0xffffffff)
{
    const quint32 size = claimed == 0xffffffff ? quint32(body.size()) : claimed;
    QByteArray bytes = QByteArray(id) + le(size, 4) + body;
    if (body.size() % 2)
        bytes.append('\0');
    return bytes;
}

// The body of a "fmt " chunk: tag 1 is PCM, 3 floating point.
inline QByteArray format(int tag, int channels, int rate, int bits)
{
    const int block = channels * bits / 8;
    return le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * block, 4) + le(block, 2) +
           le(bits, 2);
}

inline QByteArray wave(const QByteArray &chunks)
{
    return "RIFF" + le(4 + chunks.size(), 4) + "WAVE" + chunks;
}

// A playable sound: 16-bit mono PCM at 8 kHz, a 500 Hz square `ms` long.
inline QByteArray pcm_wave(int ms)
{
    QByteArray samples;
    for (int i = 0; i < 8 * ms; ++i)
        samples += le((i / 8) % 2 ? 3000 : quint16(-3000), 2);
    return wave(chunk("fmt ", format(1, 1, 8000, 16)) + chunk("data", samples));
}
