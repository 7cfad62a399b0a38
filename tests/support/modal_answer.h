// Answers the next modal message box that opens, as a user would, and keeps
// what the box showed.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

struct ModalAnswer
{
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
    QStringList button_texts; // as shown, in the box's order
    bool answered = false;
};

// Waits (in the event loop) for a modal QMessageBox, lets it stay open for
// `delay_ms`, runs `while_open` and clicks `button` on it; with
// QMessageBox::NoButton it dismisses the box with Escape instead.  The record
// lives as long as the test program.
ModalAnswer *answer_next_box(QMessageBox::StandardButton button, int delay_ms = 0,
                             const std::function<void()> &while_open = {});
