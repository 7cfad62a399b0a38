#include "tests/support/windows.h"

#include <QCloseEvent>
#include <QWindow>

bool pressable(const QWidget *widget)
{
    return widget->isVisible() && widget->isEnabled();
}

void close_by_frame(QWidget *top)
{
    if (QWindow *handle = top->windowHandle()) {
        QCloseEvent close;
        QCoreApplication::sendEvent(handle, &close);
    }
}
