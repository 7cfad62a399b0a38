#include "dialogs/look.h"

#include <QPainter>
#include <QWidget>

void paint_green_cloth(QWidget *window)
{
    QPainter painter(window);
    painter.setBrush(QBrush(Qt::green, Qt::SolidPattern));
    painter.drawRect(0, 0, window->width(), window->height());
    painter.end();
}

void set_display_font(QWidget *widget, int points)
{
    QFont font = widget->font();
    font.setPointSize(points);
    font.setFamily(QStringLiteral("minamoji"));
    widget->setFont(font);
}
