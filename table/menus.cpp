// The menu bar and its four commands: game start, close, version and help.
#include "table/kestrano.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "dialogs/help_explain.h"
#include "dialogs/version.h"
#include "table/delays.h"
#include "table/sound.h"
#include "table/sound_files.h"

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
    version_dialog->show();
}

void Kestrano::Help_Explain()
{
    help_browser->show();
}
