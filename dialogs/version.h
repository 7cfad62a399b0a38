// The about window: four lines on green, " O k " and "about staff".
#pragma once

#include <QWidget>

class QLabel;
class QPaintEvent;
class QPushButton;

class Version : public QWidget
{
    Q_OBJECT

public:
    Version();

public slots:
    void Push_ok_clicked();
    void Push_next_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *create_line(int line);
    QLayout *build_layout();

    QLabel *text_label1 = nullptr;
    QLabel *text_label2 = nullptr;
    QLabel *text_label3 = nullptr;
    QLabel *text_label4 = nullptr;
    QPushButton *ok_button = nullptr;
    QPushButton *next_button = nullptr;
};
