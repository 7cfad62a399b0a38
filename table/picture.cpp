#include "table/picture.h"

#include <QLabel>
#include <QPixmap>
#include <QString>

void show_picture(QLabel *label, const QString &path)
{
    label->setPixmap(QPixmap(path));
}
