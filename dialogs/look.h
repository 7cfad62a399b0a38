// The look the game's windows share: the green cloth behind them and the
// display font of their texts.
#pragma once

#include <QList>

class QHBoxLayout;
class QWidget;

// Paints all of `window` solid green, outlined by the painter's default pen.
void paint_green_cloth(QWidget *window);

// Gives `widget` its own font at `points` in the family "minamoji".
void set_display_font(QWidget *widget, int points);

// A row that holds `widgets` left to right, centred between two stretches; a
// nullptr among them stands for one more stretch.
QHBoxLayout *centred_row(const QList<QWidget *> &widgets);
