// Puts a card picture on a label, loading it from its path at that moment.
#pragma once

class QLabel;
class QString;

// A missing or unreadable file leaves the label without a picture.
void show_picture(QLabel *label, const QString &path);
