#include "dialogs/help_explain.h"

#include <QUrl>

// The page is stored in Shift_JIS and says so in its <meta> charset; the text
// browser decodes it by that declaration.  A missing page leaves the window
// empty.
Help_explain::Help_explain()
{
    setFixedSize(640, 480);
    setSource(QUrl(QStringLiteral("html/12-1.html")));
}
