#include "files/data_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool is_small_regular_file(const struct stat &status, qint64 max_bytes)
{
    return S_ISREG(status.st_mode) && status.st_size <= max_bytes;
}

} // namespace

bool open_data_file(QFile &file, const QString &path, qint64 max_bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    // Looked at before it is opened: opening a FIFO or a device can block or
    // do something.  And again once open, in case it was swapped meanwhile.
    if (name.isEmpty() || stat(name.constData(), &status) != 0 ||
        !is_small_regular_file(status, max_bytes))
        return false;
    const int descriptor = open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor == -1)
        return false;
    if (fstat(descriptor, &status) != 0 || !is_small_regular_file(status, max_bytes) ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(descriptor);
        return false;
    }
    return true;
}
