#include "base/regularfile.h"
#include "testenv.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestRegularFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyRegularFilesAreOpened_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason"); // why it is refused; empty: opened

        TestEnvironment &env = TestEnvironment::instance();
        const QString pipe = env.path(u"show.oplaylist"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString linked = env.path(u"linked.pdf"_s);
        QVERIFY(QFile::link(env.deck(1), linked));
        const QString special = u"\"%1\" is a pipe, socket or device, not a file that can be opened."_s;
        QTest::newRow("regular file") << env.deck(1) << QString();
        QTest::newRow("link to a regular file") << linked << QString();
        QTest::newRow("missing: opening says so") << env.path(u"gone.pdf"_s) << u"No such file or directory"_s;
        QTest::newRow("pipe nobody writes to") << pipe << special.arg(u"show.oplaylist"_s);
        QTest::newRow("endless device") << u"/dev/zero"_s << special.arg(u"zero"_s);
        QTest::newRow("folder") << QFileInfo(pipe).absolutePath() << u"\"files\" is a folder, not a file."_s;
    }

    void onlyRegularFilesAreOpened()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QFile file;
        QString error = u"untouched"_s;
        QCOMPARE(RegularFile::open(file, path, &error), reason.isEmpty());
        QCOMPARE(error, reason);
        QCOMPARE(file.isOpen(), reason.isEmpty());
        // Only what is there and is no regular file is refused before opening.
        QCOMPARE(RegularFile::refusal(path), reason.startsWith(u'"') ? reason : QString());
    }
};

OLVANTI_TEST_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
