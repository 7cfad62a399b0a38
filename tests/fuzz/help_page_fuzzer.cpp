// Any bytes as the help page: what the page check accepts is opened by the
// help window itself, as the game opens it, laid out to its end and its first
// screen drawn, within libFuzzer's time limit (-timeout, which run.sh sets).
// Run from a folder holding html/: the page is written there, and what it
// links is read from there.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dialogs/help_explain.h"
#include "files/help_page.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray page(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!is_showable_page(page))
        return 0;
    QFile file(QString::fromLatin1(kHelpPage));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(page) != page.size())
        std::abort(); // not run from a folder holding html/
    file.close();
    Help_explain window;
    QImage screen(window.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&screen);
    // Rendering a window that is not shown first gives it its size, so the
    // page is laid out at the window's width.
    window.render(&painter);
    (void)window.document()->documentLayout()->documentSize();
    return 0;
}
