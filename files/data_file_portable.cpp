// Qt's own file opening, where the system has no non-blocking open: a data
// folder there holds no FIFO to block on, and the same checks as on Unix
// stand before and after the open, as far as Qt can make them.
#include "files/data_file.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

namespace {

bool is_small_regular_file(const QFileInfo &info, qint64 max_bytes)
{
    return info.isFile() && info.size() <= max_bytes;
}

} // namespace

bool open_data_file(QFile &file, const QString &path, qint64 max_bytes)
{
    if (path.isEmpty() || !is_small_regular_file(QFileInfo(path), max_bytes))
        return false;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Looked at again once open, in case it was swapped meanwhile.
    if (file.isSequential() || file.size() > max_bytes) {
        file.close();
        return false;
    }
    return true;
}
