#include "files/help_page.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QUrl>

#include "files/data_file.h"
#include "files/markup_depth.h"

const char *const kHelpPage = "html/12-1.html";

namespace {

// Far above the real page.  The text browser lays a page out in time that
// grows with the square of its longest line, so a damaged page of megabytes
// would freeze the game; such a page is left out like a missing one.  The
// same bound holds for what the page links.
constexpr qint64 kMaxPageBytes = 256 * 1024;
// The real page nests five levels deep.
constexpr int kMaxPageDepth = 64;

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
    return page.size() <= kMaxPageBytes && markup_within_depth(page, kMaxPageDepth);
}

QByteArray read_help_file(const QUrl &name, bool is_page)
{
    const QString file = file_in_help_folder(name, QUrl());
    QByteArray bytes = file.isEmpty() ? QByteArray() : read_data_file(file, kMaxPageBytes);
    if (is_page && !is_showable_page(bytes))
        return {};
    return bytes;
}
