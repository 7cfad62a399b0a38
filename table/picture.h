// Card pictures on labels.  A picture is loaded from its path at the moment it
// is shown; on a high-density screen the "@2x" variant is taken when there is
// one.  Each label also gets the accessible name of what a sighted player sees
// on it, so a screen reader never names a face-down card, and a blank card
// place is not shown to it at all.
#pragma once

class QLabel;
class QPixmap;
class QString;

// The picture at `path` for a screen of `device_pixel_ratio`; a null pixmap
// when neither variant can be read.
QPixmap load_picture(const QString &path, double device_pixel_ratio);

// What a screen reader calls the face of `card`, in the player's language.
QString card_name(int card);

void show_face_picture(QLabel *label, int card);
void show_open_picture(QLabel *label, int card);
void show_card_back(QLabel *label);
void clear_picture(QLabel *label);
