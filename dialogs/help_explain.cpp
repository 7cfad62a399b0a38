#include "dialogs/help_explain.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "dialogs/markup_depth.h"
#include "table/data_file.h"

namespace {

const char *const kPage = "html/12-1.html";

// Far above the real page.  The text browser lays a page out in time that
// grows with the square of its longest line, so a damaged page of megabytes
// would freeze the game; such a page is left out like a missing one.  The
// same bound holds for what the page links.
constexpr qint64 kMaxPageBytes = 256 * 1024;
// The real page nests five levels deep.
constexpr int kMaxPageDepth = 64;

// The file that `name` stands for, seen from the page at `base` (empty for
// the working directory), as an absolute path; empty when that lies outside
// the folder of the help page or is no local file at all.
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
    const QString folder = QFileInfo(QString::fromLatin1(kPage)).absolutePath();
    const QString file = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    return file.startsWith(folder + QLatin1Char('/')) ? file : QString();
}

} // namespace

// The page is stored in Shift_JIS and says so in its <meta> charset; the text
// browser decodes it by that declaration.  A missing page leaves the window
// empty.
Help_explain::Help_explain()
{
    setFixedSize(640, 480);
    setSource(QUrl(QString::fromLatin1(kPage)));
}

QVariant Help_explain::loadResource(int type, const QUrl &name)
{
    const QString file = file_in_help_folder(name, QUrl());
    const QByteArray bytes = file.isEmpty() ? QByteArray() : read_data_file(file, kMaxPageBytes);
    if (bytes.isEmpty() ||
        (type == QTextDocument::HtmlResource && !markup_within_depth(bytes, kMaxPageDepth)))
        return {};
    return bytes;
}

void Help_explain::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    if (name.scheme() == QLatin1String("http") || name.scheme() == QLatin1String("https")) {
        QDesktopServices::openUrl(name);
        return;
    }
    if (!file_in_help_folder(name, source()).isEmpty())
        QTextBrowser::doSetSource(name, type);
}
