#include "app/translation.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

void install_translation(QCoreApplication &application, QTranslator &translator,
                         QLocale::Language language)
{
    if (language != QLocale::Japanese)
        return;
    const QString file_name = QStringLiteral("Kestrano_") + QLatin1String("ja");
    (void)translator.load(file_name);
    application.installTranslator(&translator);
}
