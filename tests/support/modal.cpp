#include "modal.h"

#include <QPushButton>
#include <QApplication>
#include <QInputDialog>
#include <QPointer>
#include <QTimer>

std::shared_ptr<ModalAnswer> watchModal(std::function<bool(QWidget *, ModalAnswer &)> handle)
{
    auto answer = std::make_shared<ModalAnswer>();
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    // The watch ends with the answer, or when the test has dropped it (a modal that never came).
    QObject::connect(timer, &QTimer::timeout, timer, [timer, watched = std::weak_ptr(answer), handle] {
        const std::shared_ptr<ModalAnswer> answer = watched.lock();
        QWidget *modal = QApplication::activeModalWidget();
        if (answer && !(modal && modal->isVisible() && handle(modal, *answer)))
            return;
        if (answer)
            answer->answered = true;
        timer->stop();
        timer->deleteLater();
    });
    timer->start();
    return answer;
}

std::shared_ptr<ModalAnswer> closeNextModal()
{
    return watchModal([](QWidget *modal, ModalAnswer &answer) {
        answer.title = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            answer.text = box->text();
        modal->close();
        return true;
    });
}

std::shared_ptr<ModalAnswer> answerMessageBox(QMessageBox::StandardButton button)
{
    return watchModal([button](QWidget *modal, ModalAnswer &answer) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QAbstractButton *target = box ? box->button(button) : nullptr;
        if (!target)
            return false;
        answer.title = box->windowTitle();
        answer.text = box->text();
        answer.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        target->click();
        return true;
    });
}

std::shared_ptr<ModalAnswer> answerInputDialogs(QList<std::function<void(QDialog *)>> acts)
{
    auto last = std::make_shared<QPointer<QDialog>>();
    auto remaining = std::make_shared<QList<std::function<void(QDialog *)>>>(std::move(acts));
    return watchModal([last, remaining](QWidget *modal, ModalAnswer &answer) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        if (!dialog || dialog == last->data() || remaining->isEmpty())
            return false;
        *last = dialog;
        answer.title = dialog->windowTitle();
        answer.text = dialog->labelText();
        remaining->takeFirst()(dialog);
        return remaining->isEmpty();
    });
}
