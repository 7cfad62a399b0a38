// Renders the game's card pictures from an SVG card deck at build time.
//
//   render_cards DECK.svgz OUTPUT_FOLDER
//
// Writes the 52 face pictures (s01.png .. d13.png), the 52 open pictures
// (S01D.png .. D13D.png, the same cards in a gold frame) and the card back
// (UB0.png), each also at twice the size as NAME@2x.png for high-density
// screens.  Both sizes come from one large drawing of the vector card, never
// from enlarging the small picture.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QSvgRenderer>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The window is 640 x 480 and holds three rows of cards plus buttons and text,
// so a card may be at most 80 pixels high.
constexpr int card_height = 80;

// The frame is what tells the CPU's opened card from the user's cards at a
// glance, so it is thick and gold, which stands out on the white card and on
// the green table.
constexpr int frame_width = 3;
const QColor frame_colour(0xe0, 0x9a, 0x00);
const QColor frame_edge(0x7a, 0x4a, 0x00);

struct SuitNames
{
    const char *element; // suffix of the deck's element ids: "1_spade"
    char face_letter;
    char open_letter;
};

constexpr SuitNames suits[] = {
    {"spade", 's', 'S'},
    {"club", 'c', 'C'},
    {"heart", 'h', 'H'},
    {"diamond", 'd', 'D'},
};

// Element id prefix of ranks 1 (ace) .. 13 (king).
constexpr const char *rank_elements[] = {"1", "2", "3",  "4",    "5",     "6",   "7",
                                         "8", "9", "10", "jack", "queen", "king"};

constexpr const char *back_element = "back";

// The card's outline in the deck: a 70 x 95 rectangle with corner radius 3,
// stroked 1 wide, which makes the element 71 x 96.
constexpr double deck_corner_radius = 3.0;

// Each card is drawn once at this whole multiple of the deck's own size and
// then scaled down smoothly to the picture sizes.  At whole multiples the
// court cards' embedded bitmaps land on whole pixels; at the picture sizes
// they would not, and Qt's raster engine then blends the pixels along their
// edge from memory outside the bitmap, which differs from run to run.
constexpr int supersample = 4;

struct Scale
{
    int factor;
    const char *suffix;
};

constexpr Scale scales[] = {{1, ""}, {2, "@2x"}};

void fail(const QString &message)
{
    std::fprintf(stderr, "render_cards: %s\n", qPrintable(message));
    std::exit(1);
}

QImage render_element(QSvgRenderer &deck, const QString &element, QSize size)
{
    if (!deck.elementExists(element))
        fail(QStringLiteral("the deck has no element \"%1\"").arg(element));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    deck.render(&painter, element, QRectF(QPointF(0, 0), size));
    return image;
}

QImage shrink(const QImage &drawing, QSize size)
{
    return drawing.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The open picture is the card a little smaller on a gold plate of the full
// picture size, so the frame hides none of the card's corner indices.
QImage open_card(const QImage &drawing, QSize size, double corner_radius, int factor)
{
    const QRectF outer(QPointF(0, 0), size);
    const int width = frame_width * factor;
    const double edge = 0.6 * factor;

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A thin dark rim keeps the gold crisp against the green table.
    painter.setPen(QPen(frame_edge, edge));
    painter.setBrush(frame_colour);
    const QRectF plate = outer.adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2);
    painter.drawRoundedRect(plate, corner_radius, corner_radius);
    painter.drawImage(QPoint(width, width), shrink(drawing, size - QSize(2 * width, 2 * width)));
    return image;
}

void save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    QImageWriter writer(path, "png");
    if (!writer.write(image))
        fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
}

} // namespace

int main(int argc, char *argv[])
{
    // Runs during the build, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    if (argc != 3) {
        std::fprintf(stderr, "usage: render_cards DECK.svgz OUTPUT_FOLDER\n");
        return 2;
    }
    QSvgRenderer deck(QString::fromLocal8Bit(argv[1]));
    if (!deck.isValid())
        fail(QStringLiteral("cannot read the deck %1").arg(QString::fromLocal8Bit(argv[1])));
    QDir folder(QString::fromLocal8Bit(argv[2]));
    if (!folder.mkpath(QStringLiteral(".")))
        fail(QStringLiteral("cannot create %1").arg(folder.path()));

    // Every card has the proportions of the deck's ace of spades.
    const QRectF deck_card = deck.boundsOnElement(QStringLiteral("1_spade"));
    if (deck_card.isEmpty())
        fail(QStringLiteral("the deck's cards have no size"));
    const int card_width = int(std::lround(card_height * deck_card.width() / deck_card.height()));

    const QSize drawing_size(int(std::lround(deck_card.width())) * supersample,
                             int(std::lround(deck_card.height())) * supersample);

    const auto write_card = [&](const QString &element, const QString &face_name,
                                const QString &open_name) {
        const QImage drawing = render_element(deck, element, drawing_size);
        for (const Scale &scale : scales) {
            const QSize size(card_width * scale.factor, card_height * scale.factor);
            const QString suffix = QLatin1String(scale.suffix) + QStringLiteral(".png");
            save(shrink(drawing, size), folder, face_name + suffix);
            if (!open_name.isEmpty()) {
                const double corner_radius =
                    deck_corner_radius * size.height() / deck_card.height();
                save(open_card(drawing, size, corner_radius, scale.factor), folder,
                     open_name + suffix);
            }
        }
    };

    for (const SuitNames &suit : suits) {
        for (int rank = 1; rank <= 13; ++rank) {
            const QString number = QStringLiteral("%1").arg(rank, 2, 10, QLatin1Char('0'));
            write_card(QLatin1String(rank_elements[rank - 1]) + QLatin1Char('_') +
                           QLatin1String(suit.element),
                       QLatin1Char(suit.face_letter) + number,
                       QLatin1Char(suit.open_letter) + number + QLatin1Char('D'));
        }
    }
    write_card(QLatin1String(back_element), QStringLiteral("UB0"), QString());
    return 0;
}
