#include "tests/support/modal_answer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

ModalAnswer *answer_next_box(QMessageBox::StandardButton button, int delay_ms,
                             const std::function<void()> &while_open)
{
    static std::vector<std::unique_ptr<ModalAnswer>> records;
    records.push_back(std::make_unique<ModalAnswer>());
    ModalAnswer *record = records.back().get();

    auto *poll = new QTimer(qApp);
    poll->setInterval(2);
    auto open_for = std::make_shared<QElapsedTimer>();
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (!open_for->isValid())
            open_for->start();
        if (open_for->elapsed() < delay_ms)
            return;
        poll->stop();
        poll->deleteLater();
        *record = {box->windowTitle(),
                   box->text(),
                   box->standardButtons(),
                   box->icon(),
                   box->parentWidget(),
                   {},
                   true};
        for (QAbstractButton *shown : box->buttons())
            record->button_texts << shown->text();
        if (while_open)
            while_open();
        if (button == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
    poll->start();
    return record;
}
