#include "dialogs/help_explain.h"

#include <QDesktopServices>
#include <QPixmap>
#include <QUrl>

#include "files/help_page.h"

namespace {

// What the text browser shows for a picture it cannot load (Qt's own sign),
// or a blank of its size should Qt ever lack it.
QPixmap missing_picture()
{
    QPixmap sign(QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
    if (sign.isNull()) {
        sign = QPixmap(16, 16);
        sign.fill(Qt::transparent);
    }
    return sign;
}

} // namespace

// The page is stored in Shift_JIS and says so in its <meta> charset; the text
// browser decodes it by that declaration.  A missing page leaves the window
// empty.
Help_explain::Help_explain()
{
    setFixedSize(640, 480);
    setSource(QUrl(QString::fromLatin1(kHelpPage)));
}

// Every answer is a value, for a refused or missing file too: the document
// keeps each value it is given until another page is set, but where it gets
// none it looks for the file itself, by the bare name the page gives and past
// these checks, every time it lays the picture out or paints it (some seventy
// failed opens a picture).
QVariant Help_explain::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::ImageResource) {
        QPixmap picture;
        if (!picture.loadFromData(read_help_file(name, HelpFile::Other)))
            picture = missing_picture();
        return picture;
    }
    return read_help_file(name, type == QTextDocument::HtmlResource         ? HelpFile::Page
                                : type == QTextDocument::StyleSheetResource ? HelpFile::StyleSheet
                                                                            : HelpFile::Other);
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
