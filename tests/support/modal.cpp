#include "modal.h"

#include <QAbstractButton>
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
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, handle] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && handle(modal, *answer)) {
            answer->answered = true;
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return answer;
}

std::shared_ptr<ModalAnswer> answerMessageBox(QMessageBox::StandardButton button)
{
    return watchModal([button](QWidget *modal, ModalAnswer &answer) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box || !box->isVisible())
            return false;
        answer.title = box->windowTitle();
        answer.text = box->text();
        answer.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        QAbstractButton *target = box->button(button);
        if (!target)
            return false;
        target->click();
        return true;
    });
}

std::shared_ptr<ModalAnswer> answerInputDialog(std::function<void(QDialog *)> act)
{
    return watchModal([act](QWidget *modal, ModalAnswer &answer) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        if (!dialog || !dialog->isVisible())
            return false;
        answer.title = dialog->windowTitle();
        answer.text = dialog->labelText();
        act(dialog);
        return true;
    });
}

std::shared_ptr<ModalAnswer> answerInputDialogs(QList<std::function<void(QDialog *)>> acts)
{
    auto last = std::make_shared<QPointer<QDialog>>();
    auto remaining = std::make_shared<QList<std::function<void(QDialog *)>>>(std::move(acts));
    return watchModal([last, remaining](QWidget *modal, ModalAnswer &answer) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        if (!dialog || !dialog->isVisible() || dialog == last->data() || remaining->isEmpty())
            return false;
        *last = dialog;
        answer.title = dialog->windowTitle();
        answer.text = dialog->labelText();
        remaining->takeFirst()(dialog);
        return remaining->isEmpty();
    });
}
