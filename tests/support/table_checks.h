// Checks on what the table shows, with a failure message naming the widget.
#pragma once

#include <QLabel>
#include <QLatin1String>
#include <QPushButton>
#include <QString>
#include <QTest>

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
    QVERIFY2((button)->isVisible() && (button)->isEnabled(),                                       \
             qPrintable((button)->objectName() + QLatin1String(" cannot be pressed")))
