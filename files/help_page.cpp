#include "files/help_page.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QUrl>

#include "files/data_file.h"
#include "files/markup_limits.h"

const char *const kHelpPage = "html/12-1.html";

namespace {

// Far above the real page.  The text browser lays a page out in time that
// grows with the square of its longest line, so a damaged page of megabytes
// would freeze the game; such a page is left out like a missing one.  The
// same bound holds for what the page links.
constexpr qint64 kMaxPageBytes = 256 * 1024;
// The real page nests 5 levels deep and holds 75 elements, no picture and no
// style sheet.  Each limit is far above that and far below what would keep
// the table from opening: a page at every limit at once still lets it open
// in a fraction of a second (bench/help_pages.sh, on 2 cores).
constexpr MarkupLimits kPageLimits = {
    // Levels: thousands overflow the stack or take minutes to lay out.
    64,
    // Elements: the costliest repeated, <option>, take 0.3 s for 2,000 and
    // 0.7 s for 4,000, their time growing with the square of their number.
    2000,
    // Pictures in one paragraph: 1,000 take 0.4 s, 2,000 1.3 s, 4,000 9 s.
    200,
    // Style sheets, and rules in each: every rule is tried on every element.
    // On 2,000 elements 20,000 rules take a minute, 1,000 take 2 s, and two
    // sheets of 64 half a second.
    2,
    64,
};

} // namespace

QString file_in_help_folder(const QUrl &name, const QUrl &base)
{
    QString path;
    if (name.scheme() == QLatin1String("file")) {
        path = name.toLocalFile();
    } else if (name.scheme().isEmpty() && name.host().isEmpty()) {
        path = name.path();
        const QString from = base.isLocalFile() ? base.toLocalFile() : base.path();
        if (path.isEmpty())
            path = from;
        else if (QFileInfo(path).isRelative() && !from.isEmpty())
            path = QFileInfo(from).dir().filePath(path);
    }
    if (path.isEmpty())
        return {};
    const QString folder = QFileInfo(QString::fromLatin1(kHelpPage)).absolutePath();
    const QString file = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    return file.startsWith(folder + QLatin1Char('/')) ? file : QString();
}

bool is_showable_page(const QByteArray &page)
{
    return page.size() <= kMaxPageBytes && markup_within_limits(page, kPageLimits);
}

QByteArray read_help_file(const QUrl &name, HelpFile kind)
{
    const QString file = file_in_help_folder(name, QUrl());
    QByteArray bytes = file.isEmpty() ? QByteArray() : read_data_file(file, kMaxPageBytes);
    if (kind == HelpFile::Page && !is_showable_page(bytes))
        return {};
    // A linked sheet counts as one of the page's own; one that imports more
    // would bring sheets the page's check never saw.
    if (kind == HelpFile::StyleSheet &&
        (style_rules(bytes) > kPageLimits.sheet_rules || bytes.toLower().contains("@import")))
        return {};
    return bytes;
}
