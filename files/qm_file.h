// Compiled translations (.qm files) checked before Qt is given one: Qt reads
// the lengths inside the file as they stand, so a single damaged byte can
// send a lookup far outside the file and crash the game at start-up.
#pragma once

class QByteArray;
class QString;
class QTranslator;

// True when `file` is a whole .qm file as lrelease writes it: the magic
// number, sections that lie inside the file, a hash table whose every entry
// points at a message whose every field lies inside the messages, and a
// context table whose every chain lies inside it.  Files that load others
// (dependencies) are refused, since those would be read unchecked.
bool is_whole_qm_file(const QByteArray &file);

// Loads `name` into `translator` as QTranslator::load(name) would pick it
// (name.qm, then name, in the working directory), from a data file that is
// whole; a damaged file is treated as a missing one.
bool load_checked_translation(QTranslator &translator, const QString &name);
