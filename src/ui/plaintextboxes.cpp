#include "ui/plaintextboxes.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>

namespace {

class Filter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Before the box's own show handling, which sizes it for the texts as they then are.
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched))
                PlainTextBoxes::apply(box);
        }
        return false;
    }
};

} // namespace

void PlainTextBoxes::install()
{
    static QPointer<Filter> filter; // gone with the application object it belongs to
    if (filter || !qApp)
        return;
    filter = new Filter(qApp);
    qApp->installEventFilter(filter);
}

void PlainTextBoxes::apply(QMessageBox *box)
{
    box->setTextFormat(Qt::PlainText);
    // The informative and detailed texts have labels of their own.
    for (QLabel *label : box->findChildren<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setOpenExternalLinks(false);
    }
}
