// The windows of the game as a player finds and handles them.
#pragma once

#include <QApplication>
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
