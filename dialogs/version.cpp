#include "dialogs/version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

Version::Version()
{
    setFixedSize(420, 300);
    setWindowTitle(tr("Version"));
}

void Version::Push_ok_clicked()
{
    close();
}

void Version::Push_next_clicked() {}

void Version::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::green, Qt::SolidPattern));
    painter.drawRect(0, 0, 420, 300);
    painter.end();
}
