// What a screen reader learns of the table beyond Qt's own interfaces.  A card
// place is exposed as showing only while it shows a card; the announcer is a
// notification, which Orca speaks when it appears (Qt 6.4 has no announcement
// event); and a widget that appears reaches a client that caches what it was
// told, such as Orca through libatspi.
#pragma once

#include <QLabel>
#include <QWidget>

// A place for a card picture: a hand slot, a card in play or the pile.
class CardPlace : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;
};

// Says `announce`'s text to a screen reader without moving the keyboard focus.
// It draws nothing and takes no input.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);
    void announce(const QString &text);
};

// Installs the interfaces of the two classes above; once is enough.
void install_table_accessibility();

// Shows `widget`, and a client that caches states sees it showing.
void show_to_screen_readers(QWidget *widget);

// `label` has started or stopped showing a picture; only a card place tells it.
void picture_shown(QLabel *label);
void picture_cleared(QLabel *label);
