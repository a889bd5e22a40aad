#include "playlisttest.h"

#include "testenv.h"
#include "windowtest.h"

#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTest>

namespace PlaylistTest {

QStringList documents(const QString &prefix, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << WindowTest::copyOf(TestEnvironment::instance().textDocument(i + 2),
                        QStringLiteral("%1-%2.pdf").arg(prefix).arg(i + 1));
    return paths;
}

std::shared_ptr<ModalAnswer> answerFileDialog(const QStringList &paths)
{
    return watchModal([paths](QWidget *modal, ModalAnswer &answer) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        answer.title = dialog->windowTitle();
        answer.text = dialog->selectedFiles().value(0);
        // Typed into the name field, as an operator does; names in quotes when there are several.
        dialog->setDirectory(QFileInfo(paths.constFirst()).absolutePath());
        QStringList names;
        for (const QString &path : paths)
            names << QLatin1Char('"') + QFileInfo(path).fileName() + QLatin1Char('"');
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(paths.size() == 1 ? QFileInfo(paths.constFirst()).fileName() : names.join(QLatin1Char(' ')));
        // The file dialog hides accept(); called through QDialog it still checks the typed name.
        static_cast<QDialog *>(dialog)->accept();
        return true;
    });
}

std::shared_ptr<ModalAnswer> answerMessageBoxButton(const QString &buttonText)
{
    return watchModal([buttonText](QWidget *modal, ModalAnswer &answer) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return false;
        answer.title = box->windowTitle();
        answer.text = box->text();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text().remove(QLatin1Char('&')) == buttonText) {
                button->click();
                return true;
            }
        }
        return false;
    });
}

std::shared_ptr<ModalAnswer> answerDialog(const QString &objectName, std::function<void(QDialog *)> act)
{
    return watchModal([objectName, act](QWidget *modal, ModalAnswer &answer) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!dialog || dialog->objectName() != objectName)
            return false;
        answer.title = dialog->windowTitle();
        act(dialog);
        return true;
    });
}

QListView *list(MainWindow &window)
{
    return window.findChild<QListView *>(QStringLiteral("playlistList"));
}

QModelIndex row(MainWindow &window, int row)
{
    return list(window)->model()->index(row, 0);
}

int currentRow(MainWindow &window)
{
    return list(window)->currentIndex().row();
}

void setCurrentRow(MainWindow &window, int at)
{
    list(window)->setCurrentIndex(row(window, at));
}

void click(MainWindow &window, const QString &objectName)
{
    auto *button = window.findChild<QAbstractButton *>(objectName);
    QVERIFY2(button, qPrintable(objectName));
    button->click();
}

} // namespace PlaylistTest
