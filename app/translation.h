// The Japanese edition of the game's texts.
#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

// On a system whose language is Japanese, loads "Kestrano_ja" from the working
// directory into `translator` and installs it on `application`, found or not:
// without the file the game simply keeps its English texts.  Any other
// language leaves both untouched and opens no file.  Must run before the first
// window is built, since its constructor already translates.
void install_translation(QCoreApplication &application, QTranslator &translator,
                         QLocale::Language language);

// On a system whose language is Japanese, loads Qt's own translation of its
// standard texts (the message boxes' buttons, say), "qtbase_ja" from the
// system's Qt translations, into `translator` and installs it on
// `application`.  Without the file nothing is installed and the game is as
// it would be without this call.
void install_qt_translation(QCoreApplication &application, QTranslator &translator,
                            QLocale::Language language);
