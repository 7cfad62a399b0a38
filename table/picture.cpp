#include "table/picture.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QString>

#include "cards/card.h"
#include "files/data_file.h"
#include "table/screen_reader.h"

namespace {

constexpr double kHighDensity = 2.0;
// Far above any card picture.  The reader takes only what a picture needs,
// so the bound only keeps a file of another format from being read whole.
constexpr qint64 kMaxPictureBytes = 64 * 1024 * 1024;

QPixmap read_picture(const QString &path)
{
    QFile file;
    if (!open_data_file(file, path, kMaxPictureBytes))
        return {};
    QImageReader reader(&file);
    return QPixmap::fromImageReader(&reader);
}

void show(QLabel *label, const QString &path, const QString &accessible_name)
{
    const bool was_blank = label->pixmap().isNull();
    label->setPixmap(load_picture(path, label->devicePixelRatioF()));
    label->setAccessibleName(accessible_name);
    if (was_blank)
        picture_shown(label);
}

} // namespace

QString card_name(int card)
{
    return QCoreApplication::translate("Kestrano", "%1 of %2")
        .arg(QCoreApplication::translate("Kestrano", card_rank_name(card)),
             QCoreApplication::translate("Kestrano", card_suit_name(card)));
}

QPixmap load_picture(const QString &path, double device_pixel_ratio)
{
    if (device_pixel_ratio > 1.0) {
        QString sharp = path;
        sharp.insert(path.lastIndexOf(QLatin1Char('.')), QLatin1String("@2x"));
        QPixmap pixmap = read_picture(sharp);
        if (!pixmap.isNull()) {
            pixmap.setDevicePixelRatio(kHighDensity);
            return pixmap;
        }
    }
    return read_picture(path);
}

void show_face_picture(QLabel *label, int card)
{
    show(label, face_picture_path(card), card_name(card));
}

void show_open_picture(QLabel *label, int card)
{
    show(label, open_picture_path(card), card_name(card));
}

void show_card_back(QLabel *label)
{
    show(label, card_back_path(), QCoreApplication::translate("Kestrano", "face-down card"));
}

void clear_picture(QLabel *label)
{
    const bool had_picture = !label->pixmap().isNull();
    label->clear();
    label->setAccessibleName(QString());
    if (had_picture)
        picture_cleared(label);
}
