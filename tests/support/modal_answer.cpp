#include "tests/support/modal_answer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <memory>

ModalAnswer *answer_next_box(QMessageBox::StandardButton button)
{
    // One record per call, kept for the test's lifetime.
    static std::vector<std::unique_ptr<ModalAnswer>> records;
    records.push_back(std::make_unique<ModalAnswer>());
    ModalAnswer *record = records.back().get();

    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, record, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        record->title = box->windowTitle();
        record->text = box->text();
        for (QAbstractButton *shown : box->buttons())
            record->buttons << shown->text();
        record->answered = true;
        if (button == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(button)->click();
    });
    poll->start();
    return record;
}
