#include "tests/support/windows.h"

#include <QCloseEvent>
#include <QImage>
#include <QPixmap>
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

bool shows_picture(const QLabel *label, const QString &path)
{
    const QImage expected = QPixmap(path).toImage();
    return !expected.isNull() && label->pixmap().toImage() == expected;
}
