// The floor of the start-up benchmark: what any program with the game's window
// furniture costs, with none of the game.  A fixed 640 x 480 main window with a
// menu bar and a status bar, card places with the card back on the pile,
// buttons, a hidden text browser on the help page, a hidden about window and
// the sound effects, all built the plainest way Qt offers.  It runs from the
// game's runnable folder, where its pictures, page and sounds are.
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QSoundEffect>
#include <QStatusBar>
#include <QTextBrowser>
#include <QUrl>

namespace {

// A sound is made when it is first played, as in the game: nothing is loaded
// and no audio stream is open while the window only waits.
void play(const QString &path)
{
    auto *effect = new QSoundEffect(QCoreApplication::instance());
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying())
            effect->deleteLater();
    });
    effect->setSource(QUrl::fromLocalFile(path));
    effect->play();
}

QLabel *card_place(QWidget *parent, const QPixmap &picture)
{
    auto *label = new QLabel(parent);
    label->setMinimumSize(picture.size());
    return label;
}

QWidget *about_window()
{
    auto *window = new QWidget;
    window->setFixedSize(420, 300);
    window->setWindowTitle(QStringLiteral("About"));
    auto *column = new QVBoxLayout(window);
    for (const char *line : {"Title: Floor", "Version: 1", "Staff: none", "Type: benchmark"})
        column->addWidget(new QLabel(QLatin1String(line), window));
    auto *close = new QPushButton(QStringLiteral("OK"), window);
    QObject::connect(close, &QPushButton::clicked, window, &QWidget::close);
    column->addWidget(close);
    column->addWidget(new QPushButton(QStringLiteral("More"), window));
    return window;
}

class Floor : public QMainWindow
{
public:
    Floor()
    {
        setFixedSize(640, 480);
        setWindowTitle(QStringLiteral("Floor"));
        const QPixmap back(QStringLiteral("gazo/UB0.png"));

        auto *central = new QWidget(this);
        auto *table = new QVBoxLayout(central);
        table->addWidget(new QLabel(QStringLiteral("CPU=0,User=0,tie=0"), central));
        auto *cpu_hand = new QHBoxLayout;
        for (int i = 0; i < 5; ++i)
            cpu_hand->addWidget(card_place(central, back));
        table->addLayout(cpu_hand);

        auto *controls = new QHBoxLayout;
        auto *deal = new QPushButton(QStringLiteral("Deal cards"), central);
        connect(deal, &QPushButton::clicked, [] { play(QStringLiteral("wave/12-1/deel.wav")); });
        controls->addWidget(deal);
        controls->addWidget(new QPushButton(QStringLiteral("Card open"), central));
        controls->addWidget(card_place(central, back));
        controls->addWidget(card_place(central, back));
        auto *pile = card_place(central, back);
        pile->setPixmap(back);
        controls->addWidget(pile);
        table->addLayout(controls);

        auto *user_hand = new QHBoxLayout;
        for (int i = 0; i < 5; ++i) {
            auto *button = new QPushButton(QString::number(i + 1), central);
            connect(button, &QPushButton::clicked,
                    [] { play(QStringLiteral("wave/12-1/draw_wav.wav")); });
            button->hide();
            user_hand->addWidget(button);
            user_hand->addWidget(card_place(central, back));
        }
        table->addLayout(user_hand);
        setCentralWidget(central);

        help.setFixedSize(640, 480);
        help.setSource(QUrl(QStringLiteral("html/12-1.html")));

        QMenu *game = menuBar()->addMenu(QStringLiteral("&Game"));
        game->addAction(QStringLiteral("Start"), QKeySequence(Qt::CTRL | Qt::Key_B),
                        [] { play(QStringLiteral("wave/12-1/kidou")); });
        game->addAction(QStringLiteral("Close"), this, &QWidget::close);
        QMenu *help_menu = menuBar()->addMenu(QStringLiteral("&Help"));
        help_menu->addAction(QStringLiteral("About"), about, &QWidget::show);
        help_menu->addAction(QStringLiteral("Rules"), &help, &QWidget::show);
        statusBar()->showMessage(QStringLiteral("Ready"));
    }

    ~Floor() override { delete about; }

private:
    QTextBrowser help;
    QWidget *about = about_window();
};

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    Floor window;
    window.show();
    return application.exec();
}
