#include "table/screen_reader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPixmap>

namespace {

// A card place is a picture, and it is not showing while it is blank.
class CardPlaceAccessible : public QAccessibleWidget
{
public:
    explicit CardPlaceAccessible(QLabel *place) : QAccessibleWidget(place, QAccessible::Graphic) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (static_cast<QLabel *>(widget())->pixmap().isNull())
            state.invisible = true;
        return state;
    }
};

QAccessibleInterface *table_accessible(const QString &key, QObject *object)
{
    if (key == QLatin1String("CardPlace"))
        return new CardPlaceAccessible(static_cast<QLabel *>(object));
    if (key == QLatin1String("Announcer"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

// Qt 6.4 tells AT-SPI that a widget which was not showing now is "showing",
// but never that it is "visible", and a client that caches states keeps what
// it was told first.  A client knows an object by its path, which Qt makes of
// the interface's id, so a new interface is an object the client asks anew.
void renew_interface(QWidget *widget)
{
    if (!QAccessible::isActive())
        return; // no client, nothing cached
    QAccessibleInterface *old = QAccessible::queryAccessibleInterface(widget);
    if (!old)
        return;
    // Qt hands out again the id it freed last when that was its newest one;
    // a stand-in takes the next id first, so the new interface's is unused.
    QWidget stand_in;
    QAccessible::queryAccessibleInterface(&stand_in);
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
    QAccessible::queryAccessibleInterface(widget);
}

void tell(QWidget *widget, QAccessible::Event shown_or_hidden)
{
    QAccessibleEvent event(widget, shown_or_hidden);
    QAccessible::updateAccessibility(&event);
}

} // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString &text)
{
    hide();
    setAccessibleName(text);
    show();
    hide();
}

void install_table_accessibility()
{
    static const bool installed = (QAccessible::installFactory(table_accessible), true);
    Q_UNUSED(installed);
}

void show_to_screen_readers(QWidget *widget)
{
    if (widget->isHidden())
        renew_interface(widget);
    widget->show();
}

void picture_shown(QLabel *label)
{
    if (qobject_cast<CardPlace *>(label)) {
        renew_interface(label);
        tell(label, QAccessible::ObjectShow);
    }
}

void picture_cleared(QLabel *label)
{
    if (qobject_cast<CardPlace *>(label))
        tell(label, QAccessible::ObjectHide);
}
