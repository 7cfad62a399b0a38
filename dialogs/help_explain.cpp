#include "dialogs/help_explain.h"

#include <QFileInfo>
#include <QUrl>

namespace {

const char *const kPage = "html/12-1.html";

// Far above the real page.  The text browser lays a page out in time that
// grows with the square of its longest line, so a damaged page of megabytes
// would freeze the game; such a page is left out like a missing one.
constexpr qint64 kMaxPageBytes = 256 * 1024;

} // namespace

// The page is stored in Shift_JIS and says so in its <meta> charset; the text
// browser decodes it by that declaration.  A missing page leaves the window
// empty.
Help_explain::Help_explain()
{
    setFixedSize(640, 480);
    const QString page = QString::fromLatin1(kPage);
    if (QFileInfo(page).size() <= kMaxPageBytes)
        setSource(QUrl(page));
}
