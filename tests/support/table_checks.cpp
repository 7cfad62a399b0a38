#include "tests/support/table_checks.h"

#include <QImage>
#include <QPixmap>

bool shows_picture(const QLabel *label, const QString &path)
{
    const QImage expected = QPixmap(path).toImage();
    return !expected.isNull() && label->pixmap().toImage() == expected;
}
