// Checks a sound file before it is handed to the audio system, which can hang
// for good on a WAV file whose header is cut short or lies about its size.
#pragma once

class QByteArray;

// The largest sound file played: far above any sound effect, small enough to
// hold in memory.
constexpr long long kMaxSoundFileBytes = 8 * 1024 * 1024;

// True for a complete RIFF/WAVE file of plain PCM (format tag 1, 8 or 16 bits,
// 1 or 2 channels) whose format chunk comes before a data chunk that lies
// wholly inside the file.
bool is_playable_wave(const QByteArray &file);
