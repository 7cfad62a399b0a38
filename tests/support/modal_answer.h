// Answers the next modal message box that opens, as a user would.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

// Waits (in the event loop) for a modal QMessageBox and presses `button` on
// it; with QMessageBox::NoButton it dismisses the box with Escape instead.
// The box's title, text and button texts are kept in the returned record once
// answered.
struct ModalAnswer
{
    QString title;
    QString text;
    QStringList buttons; // their texts
    bool answered = false;
};

ModalAnswer *answer_next_box(QMessageBox::StandardButton button);
