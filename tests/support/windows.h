// The windows of the game as a player finds and handles them, and checks on
// what the table shows with a failure message naming the widget.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QLatin1String>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>

// A button the player could press: shown and enabled.
bool pressable(const QWidget *widget);
// Closes a top-level window the way its frame's close button does.
void close_by_frame(QWidget *top);

// The first top-level window of class `Window`, if one is open.
template <typename Window> Window *top_level()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<Window *>(widget))
            return found;
    }
    return nullptr;
}

// Whether `label` shows exactly the picture in the file at `path`.
bool shows_picture(const QLabel *label, const QString &path);

#define QVERIFY_PICTURE(label, path)                                                               \
    QVERIFY2(shows_picture((label), (path)),                                                       \
             qPrintable((label)->objectName() + QLatin1String(" does not show ") + (path)))

#define QVERIFY_NO_PICTURE(label)                                                                  \
    QVERIFY2((label)->pixmap().isNull(),                                                           \
             qPrintable((label)->objectName() + QLatin1String(" shows a picture")))

// Only a button the player could press is pressed.
#define QVERIFY_PRESSABLE(button)                                                                  \
    QVERIFY2(pressable(button),                                                                    \
             qPrintable((button)->objectName() + QLatin1String(" cannot be pressed")))
