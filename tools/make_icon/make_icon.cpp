// Draws the game's desktop icon from an SVG card deck at build time.
//
//   make_icon DECK.svgz OUTPUT_FOLDER NAME
//
// Writes the icon in the layout of a freedesktop icon theme:
// OUTPUT_FOLDER/scalable/apps/NAME.svg and OUTPUT_FOLDER/SIZExSIZE/apps/NAME.png
// for each pixel size below.  The picture is the green table with two cards
// on it, the deck's back and its ace of spades, fanned like a hand.  The SVG
// keeps the deck's vector drawing; the pictures are drawn from it at each size.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

namespace {

// The icon is drawn on a square of this many units; both outputs scale it.
constexpr double unit = 256.0;

constexpr int pixel_sizes[] = {48, 128, 256};

// Drawn at this multiple of the pixel size, then scaled down smoothly: small
// sizes keep the cards' outlines crisp without the painter's hinting.
constexpr int supersample = 4;

struct Placement
{
    const char *element;
    double centre_x;
    double centre_y;
    double degrees;
};

// Back first, so the ace lies on top of it.
constexpr Placement cards[] = {
    {"back", 104.0, 132.0, -14.0},
    {"1_spade", 152.0, 130.0, 10.0},
};

constexpr double card_height = 168.0;

void fail(const QString &message)
{
    std::fprintf(stderr, "make_icon: %s\n", qPrintable(message));
    std::exit(1);
}

// The table: a rounded square of felt, lighter at the top, with a darker rim
// so the icon holds its shape on a green or a dark panel alike.
void draw_table(QPainter &painter)
{
    const QRectF felt(10.0, 10.0, unit - 20.0, unit - 20.0);
    QLinearGradient light(felt.topLeft(), felt.bottomLeft());
    light.setColorAt(0.0, QColor(0x3c, 0xb0, 0x4e));
    light.setColorAt(1.0, QColor(0x1b, 0x74, 0x2c));
    painter.setPen(QPen(QColor(0x0f, 0x4a, 0x1b), 5.0));
    painter.setBrush(light);
    painter.drawRoundedRect(felt, 40.0, 40.0);
}

void draw_card(QPainter &painter, QSvgRenderer &deck, const Placement &card, QSizeF size)
{
    const QString element = QLatin1String(card.element);
    if (!deck.elementExists(element))
        fail(QStringLiteral("the deck has no element \"%1\"").arg(element));
    const QRectF place(QPointF(-size.width() / 2, -size.height() / 2), size);

    painter.save();
    painter.translate(card.centre_x, card.centre_y);
    painter.rotate(card.degrees);
    // A flat shadow, a little down and right, lifts the card off the felt.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(place.translated(3.0, 4.0), 8.0, 8.0);
    deck.render(&painter, element, place);
    painter.restore();
}

void draw_icon(QPainter &painter, QSvgRenderer &deck, QSizeF card_size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    draw_table(painter);
    for (const Placement &card : cards)
        draw_card(painter, deck, card, card_size);
}

QDir make_folder(const QDir &top, const QString &path)
{
    if (!top.mkpath(path))
        fail(QStringLiteral("cannot create %1").arg(top.filePath(path)));
    return QDir(top.filePath(path));
}

void write_svg(QSvgRenderer &deck, QSizeF card_size, const QString &path)
{
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(int(unit), int(unit)));
    generator.setViewBox(QRectF(0.0, 0.0, unit, unit));
    generator.setTitle(QStringLiteral("Kestrano"));
    generator.setDescription(QStringLiteral("Two playing cards on a green card table"));
    QPainter painter;
    if (!painter.begin(&generator))
        fail(QStringLiteral("cannot write %1").arg(path));
    draw_icon(painter, deck, card_size);
    painter.end();
}

void write_png(QSvgRenderer &deck, QSizeF card_size, int pixels, const QString &path)
{
    const int drawn = pixels * supersample;
    QImage drawing(drawn, drawn, QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    {
        QPainter painter(&drawing);
        painter.scale(drawn / unit, drawn / unit);
        draw_icon(painter, deck, card_size);
    }
    const QImage icon =
        drawing.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImageWriter writer(path, "png");
    if (!writer.write(icon))
        fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
}

} // namespace

int main(int argc, char *argv[])
{
    // Runs during the build, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    if (argc != 4) {
        std::fprintf(stderr, "usage: make_icon DECK.svgz OUTPUT_FOLDER NAME\n");
        return 2;
    }
    QSvgRenderer deck(QString::fromLocal8Bit(argv[1]));
    if (!deck.isValid())
        fail(QStringLiteral("cannot read the deck %1").arg(QString::fromLocal8Bit(argv[1])));
    const QDir top(QString::fromLocal8Bit(argv[2]));
    const QString name = QString::fromLocal8Bit(argv[3]);

    // Every card has the proportions of the deck's ace of spades.
    const QRectF deck_card = deck.boundsOnElement(QStringLiteral("1_spade"));
    if (deck_card.isEmpty())
        fail(QStringLiteral("the deck's cards have no size"));
    const QSizeF card_size(card_height * deck_card.width() / deck_card.height(), card_height);

    write_svg(deck, card_size,
              make_folder(top, QStringLiteral("scalable/apps")).filePath(name + ".svg"));
    for (const int pixels : pixel_sizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(pixels);
        write_png(deck, card_size, pixels, make_folder(top, folder).filePath(name + ".png"));
    }
    return 0;
}
