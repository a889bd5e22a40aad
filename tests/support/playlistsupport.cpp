#include "playlistsupport.h"

#include "playlist/playlistentry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
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

char *toString(const PlaylistEntry &entry)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(entry.path).arg(entry.minutes));
}
