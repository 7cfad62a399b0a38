// The menu bar and its four commands: game start, close, version and help.
#include "table/kestrano.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QTimer>

#include <algorithm>

#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/delays.h"
#include "table/screen_reader.h"
#include "table/sound.h"
#include "table/sound_files.h"

namespace {

// The help and version windows have no parent, so the window manager would
// put them wherever it puts a new window: each opens centred over the table
// (kept on the table's screen), and one that is already open comes to the
// front with the focus instead, where the user left it.
void show_over(QWidget *window, const QWidget *table)
{
    if (!window->isVisible()) {
        // Its frame is not known before it is shown: take the table's.
        QRect placed(QPoint(), window->size() + table->frameGeometry().size() - table->size());
        placed.moveCenter(table->frameGeometry().center());
        if (const QScreen *screen = table->screen()) {
            const QRect room = screen->availableGeometry();
            placed.moveLeft(
                std::max(room.left(), std::min(placed.left(), room.right() + 1 - placed.width())));
            placed.moveTop(
                std::max(room.top(), std::min(placed.top(), room.bottom() + 1 - placed.height())));
        }
        window->move(placed.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void Kestrano::create_actions()
{
    start_action = new QAction(tr("Game start"), this);
    start_action->setShortcut(QKeySequence(tr("Ctrl+B"), QKeySequence::PortableText));
    start_action->setStatusTip(tr("Game Start"));
    connect(start_action, &QAction::triggered, this, &Kestrano::Beginer_start);

    close_action = new QAction(tr("close"), this);
    close_action->setStatusTip(tr("close"));
    connect(close_action, &QAction::triggered, this, &Kestrano::Game_close);

    version_action = new QAction(tr("Version"), this);
    version_action->setStatusTip(tr("Version"));
    connect(version_action, &QAction::triggered, this, &Kestrano::Help_Version);

    explain_action = new QAction(tr("Explain"), this);
    explain_action->setStatusTip(tr("How to Play Explain"));
    connect(explain_action, &QAction::triggered, this, &Kestrano::Help_Explain);
}

void Kestrano::create_menus()
{
    game_menu = menuBar()->addMenu(tr("&Game"));
    game_menu->addAction(start_action);
    game_menu->addAction(close_action);

    help_menu = menuBar()->addMenu(tr("&Help"));
    help_menu->addAction(version_action);
    help_menu->addAction(explain_action);
}

void Kestrano::Beginer_start()
{
    play_sound(QLatin1String(kStartSound));
    QTimer::singleShot(game_delay(kStartDelayMs), Qt::PreciseTimer, this,
                       SLOT(Beginer_start_timer()));
    start_action->setStatusTip(tr("Push Card deal button"));
    start_action->setEnabled(false);
}

void Kestrano::Beginer_start_timer()
{
    deal_button->setEnabled(true);
    announcer->announce(tr("Ready to deal cards"));
}

void Kestrano::Game_close()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Question"), tr("Are u really close"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (answer == QMessageBox::Yes)
        close();
}

void Kestrano::Help_Version()
{
    show_over(version_dialog, this);
}

void Kestrano::Help_Explain()
{
    show_over(help_browser, this);
}
