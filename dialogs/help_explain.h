// The rules page, shown from "Explain" in the help menu.
#pragma once

#include <QTextBrowser>

class Help_explain : public QTextBrowser
{
    Q_OBJECT

public:
    Help_explain();

protected:
    // The page and what it links (pictures, style sheets, other pages) are
    // read only from inside the html folder, as data files, and a page or
    // style sheet that would take the browser long to lay out is left out
    // like a missing one.  Each is looked up once for the page shown.
    QVariant loadResource(int type, const QUrl &name) override;
    // Links lead only to pages inside the html folder; a web link is handed
    // to the desktop's browser; anything else is not followed.
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
};
