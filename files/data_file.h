// Opening the game's data files (pictures, sounds, the help page and what it
// links, the translation).  They lie in folders anyone may have filled: a
// FIFO there would block the GUI thread in open() for good, a link to
// /dev/zero would be read until memory runs out.
#pragma once

#include <QtGlobal>

class QByteArray;
class QFile;
class QString;

// Opens `file` for reading on `path` when that is a regular file (after
// following links) of at most `max_bytes`.  Anything else (missing, a
// folder, a FIFO, a device, too big) leaves `file` closed and returns false,
// to be treated as a missing file.  Never blocks.
bool open_data_file(QFile &file, const QString &path, qint64 max_bytes);

// The whole file at `path` under the same rule; empty when it is not one.
QByteArray read_data_file(const QString &path, qint64 max_bytes);
