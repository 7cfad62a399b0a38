// Any bytes as a sound file: the WAV check reads only inside them.  The
// bytes are libFuzzer's own buffer, exactly as long as the input, so that the
// address sanitizer sees a read even one byte past its end.
#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "files/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    (void)is_playable_wave(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
