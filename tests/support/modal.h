#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

// Answers modal dialogs the way an operator would, from the event loop, while the code under
// test is blocked in exec(). Each answerer handles the next matching dialog once.
struct ModalAnswer
{
    bool answered = false;
    QString title;
    QString text;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Calls `handle` with the active modal widget every 10 ms until it returns true; then the
// answer is marked answered. The watch stops as well once nobody holds the answer.
[[nodiscard]] std::shared_ptr<ModalAnswer> watchModal(std::function<bool(QWidget *, ModalAnswer &)> handle);

// Closes the next modal widget, whatever it is, so a check that none appears cannot hang;
// the answer's title and text name the intruder.
[[nodiscard]] std::shared_ptr<ModalAnswer> closeNextModal();

// Clicks `button` in the next QMessageBox that becomes the active modal widget.
[[nodiscard]] std::shared_ptr<ModalAnswer> answerMessageBox(QMessageBox::StandardButton button);

// Runs the actions on the next input dialogs, one each, in order. For dialogs that follow each
// other from inside the code under test (a retry loop), where the test cannot step in between.
// The answer counts the dialogs handled in `answered` only once all were handled.
[[nodiscard]] std::shared_ptr<ModalAnswer> answerInputDialogs(QList<std::function<void(QDialog *)>> acts);
[[nodiscard]] inline std::shared_ptr<ModalAnswer> answerInputDialog(std::function<void(QDialog *)> act)
{
    return answerInputDialogs({std::move(act)});
}
