#include "playlistsupport.h"

#include "testenv.h"
#include "windowtest.h"

#include "playlist/playlistentry.h"

#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

void PlaylistTest::writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray PlaylistTest::readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList PlaylistTest::tree(const QString &root)
{
    QStringList names;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(QDir(root).relativeFilePath(it.next()));
    names.sort();
    return names;
}

QStringList PlaylistTest::documents(const QString &prefix, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << WindowTest::copyOf(TestEnvironment::instance().textDocument(i + 2),
                        QStringLiteral("%1-%2.pdf").arg(prefix).arg(i + 1));
    return paths;
}

std::shared_ptr<ModalAnswer> PlaylistTest::answerFileDialog(const QStringList &paths)
{
    return watchModal([paths](QWidget *modal, ModalAnswer &) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
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

void PlaylistTest::click(MainWindow &window, const QString &objectName)
{
    auto *button = window.findChild<QAbstractButton *>(objectName);
    QVERIFY2(button, qPrintable(objectName));
    button->click();
}

char *toString(const PlaylistEntry &entry)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(entry.path).arg(entry.minutes));
}
