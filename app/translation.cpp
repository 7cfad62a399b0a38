#include "app/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

#include "files/qm_file.h"

void install_translation(QCoreApplication &application, QTranslator &translator,
                         QLocale::Language language)
{
    if (language != QLocale::Japanese)
        return;
    const QString file_name = QStringLiteral("Kestrano_") + QLatin1String("ja");
    (void)load_checked_translation(translator, file_name);
    application.installTranslator(&translator);
}

void install_qt_translation(QCoreApplication &application, QTranslator &translator,
                            QLocale::Language language)
{
    if (language != QLocale::Japanese)
        return;
    if (translator.load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&translator);
}
