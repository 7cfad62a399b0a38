#include "tests/support/offscreen_warnings.h"

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

namespace {

QtMessageHandler test_log_handler = nullptr;

void drop_box_warning(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    test_log_handler(type, context, text);
}

} // namespace

void drop_offscreen_warnings()
{
    test_log_handler = qInstallMessageHandler(drop_box_warning);
}

void keep_offscreen_warnings()
{
    qInstallMessageHandler(test_log_handler);
}
