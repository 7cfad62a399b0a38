// Any bytes as the help page: what the page check accepts is laid out and its
// first screen drawn as the help window shows it, within libFuzzer's time
// limit (-timeout, which run.sh sets).  Run from a folder holding html/, the
// help folder that what the page links is read from.
//
// The document lives in a QApplication, as the window does: Qt Widgets brings
// the picture that stands for a missing image, and without it Qt 6.4 takes
// minutes to lay out a page of 1 KB with a few missing wide images.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QStringDecoder>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>

#include <cstddef>
#include <cstdint>

#include "files/help_page.h"

namespace {

// What the help window's 640 x 480 leave of the page beside its frame and
// scroll bar, on the offscreen platform.
constexpr int kPageWidth = 624;
constexpr int kPageHeight = 478;

// What the text browser is to its document: the one it asks for what the page
// links (pictures, style sheets), answered as the help window answers.  Past
// it the document goes on as it does in the window (data: addresses, files).
class HelpWindowStandIn : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE QVariant loadResource(int type, const QUrl &name) const
    {
        const QByteArray bytes = read_help_file(name, type == QTextDocument::HtmlResource);
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    }
};

} // namespace

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
    // The text browser decodes a page by the charset it declares (Shift_JIS
    // for the real one), and as UTF-8 when it declares none it knows.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(page);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    HelpWindowStandIn window;
    auto *document = new QTextDocument(&window);
    // What the page names is looked up beside it, as the text browser has it.
    const QUrl source(QString::fromLatin1(kHelpPage));
    document->setBaseUrl(source.adjusted(QUrl::RemoveFilename));
    document->setHtml(decoder.decode(page));
    document->setMetaInformation(QTextDocument::DocumentUrl, source.toString());
    document->setTextWidth(kPageWidth);
    (void)document->documentLayout()->documentSize();
    QImage screen(kPageWidth, kPageHeight, QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    document->drawContents(&painter, QRectF(0, 0, kPageWidth, kPageHeight));
    return 0;
}

#include "help_page_fuzzer.moc"
