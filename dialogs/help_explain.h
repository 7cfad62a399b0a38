// The rules page, shown from "Explain" in the help menu.
#pragma once

#include <QTextBrowser>

class Help_explain : public QTextBrowser
{
    Q_OBJECT

public:
    Help_explain();
};
