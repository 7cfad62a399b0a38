#include "dialogs/version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/look.h"

namespace {

struct Line
{
    int points;
    const char *info;
    const char *credits;
};

// The four lines, top to bottom.  The markup is kept exactly as it was first
// written, the unclosed tag of the staff line included: the translation file
// uses these strings as its keys.
constexpr Line kLines[] = {
    {10,
     QT_TRANSLATE_NOOP("Version", "<Font color=black>Title:</Font><Font Color=red>Mirabun</Font>"),
     QT_TRANSLATE_NOOP("Version", "Author:<Font color=Blue>Torvane</font>")},
    {12,
     QT_TRANSLATE_NOOP("Version", "<Font color=black>Version:</Font><Font Color=blue> Version 1.00 "
                                  "Free C Version</Font>"),
     QT_TRANSLATE_NOOP("Version", "Author e-mail:<Font color=red>torvane@example.org</font>")},
    {14,
     QT_TRANSLATE_NOOP("Version",
                       "<Font color=black>staff:</Font><Font color=blue size=3>Torvane,Quellmir"),
     QT_TRANSLATE_NOOP("Version", "Sound:<Font color=Blue>Quellmir</Font>")},
    {14,
     QT_TRANSLATE_NOOP("Version",
                       "<Font color=black>Type: </Font><Font Color=red>Free Ware</Font>"),
     QT_TRANSLATE_NOOP("Version", "Sound e-mail:<Font color=red>quellmir@example.org</Font>")},
};

} // namespace

Version::Version()
{
    setFixedSize(420, 300);
    setWindowTitle(tr("Version"));
    text_label1 = create_line(1);
    text_label2 = create_line(2);
    text_label3 = create_line(3);
    next_button = new QPushButton(tr("about staff"), this);
    next_button->setObjectName(QStringLiteral("next_button"));
    text_label4 = create_line(4);
    ok_button = new QPushButton(tr(" O k "), this);
    ok_button->setObjectName(QStringLiteral("ok_button"));
    setLayout(build_layout());
    connect(ok_button, &QPushButton::clicked, this, &Version::Push_ok_clicked);
    connect(next_button, &QPushButton::clicked, this, &Version::Push_next_clicked);
}

// Line 1..4 with its font and its info page text.
QLabel *Version::create_line(int line)
{
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("text_label%1").arg(line));
    set_display_font(label, kLines[line - 1].points);
    label->setText(tr(kLines[line - 1].info));
    return label;
}

QLayout *Version::build_layout()
{
    // Five centred rows, top to bottom.
    const QList<QWidget *> rows[] = {
        {text_label1}, {text_label2}, {text_label3}, {text_label4}, {ok_button, next_button},
    };
    auto *window = new QVBoxLayout;
    for (const QList<QWidget *> &row : rows)
        window->addLayout(centred_row(row));
    return window;
}

void Version::Push_ok_clicked()
{
    close();
}

// The credits page stays for the rest of the run: there is no way back.
void Version::Push_next_clicked()
{
    next_button->hide();
    QLabel *const labels[] = {text_label1, text_label2, text_label3, text_label4};
    for (int line = 1; line <= 4; ++line)
        labels[line - 1]->setText(tr(kLines[line - 1].credits));
}

void Version::paintEvent(QPaintEvent *)
{
    paint_green_cloth(this);
}
