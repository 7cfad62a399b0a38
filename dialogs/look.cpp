#include "dialogs/look.h"

#include <QHBoxLayout>
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

QHBoxLayout *centred_row(const QList<QWidget *> &widgets)
{
    auto *row = new QHBoxLayout;
    row->addStretch(0);
    for (QWidget *widget : widgets) {
        if (widget)
            row->addWidget(widget, 0);
        else
            row->addStretch(0);
    }
    row->addStretch(0);
    return row;
}
