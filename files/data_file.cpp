#include "files/data_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>

QByteArray read_data_file(const QString &path, qint64 max_bytes)
{
    QFile file;
    if (!open_data_file(file, path, max_bytes))
        return {};
    // A file that grows meanwhile is read no further than its size when opened.
    return file.read(file.size());
}
