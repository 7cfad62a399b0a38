#include "dialogs/help_explain.h"

#include <QDesktopServices>
#include <QUrl>

#include "files/help_page.h"

// The page is stored in Shift_JIS and says so in its <meta> charset; the text
// browser decodes it by that declaration.  A missing page leaves the window
// empty.
Help_explain::Help_explain()
{
    setFixedSize(640, 480);
    setSource(QUrl(QString::fromLatin1(kHelpPage)));
}

QVariant Help_explain::loadResource(int type, const QUrl &name)
{
    const QByteArray bytes = read_help_file(name, type == QTextDocument::HtmlResource);
    if (bytes.isEmpty())
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
