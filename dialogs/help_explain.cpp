#include "dialogs/help_explain.h"

#include <QUrl>

Help_explain::Help_explain()
{
    setFixedSize(640, 480);
    setSource(QUrl(QStringLiteral("html/12-1.html")));
}
