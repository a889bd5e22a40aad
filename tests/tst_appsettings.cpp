#include "base/appsettings.h"
#include "base/settingsguard.h"
#include "fulldisk.h"
#include "playlistsupport.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

class TestAppSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_store.clear(); }

    void defaultsFromEmptyStore()
    {
        const AppSettings &s = m_settings;
        QCOMPARE(s.playlistDir(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QVERIFY(!s.timerAutoStart() && !s.pagesCollapsed() && !s.readerScroll() && !s.outputFitWidth() && !s.outputWindowed());
        QCOMPARE(QList<int>({s.timerSeconds(), s.transitionEffect(), s.transitionMs(), s.position(u"/docs/talk.pdf"_s),
                             s.outputWindowSize()}),
                 QList<int>({600, 1, 400, 0, 0}));
        // Reading never writes; a write is limited as a read is.
        QVERIFY(m_store.allKeys().isEmpty());
        m_settings.setTimerSeconds(50000);
        QCOMPARE(m_store.value(u"timer/seconds"_s).toInt(), 36000);
    }

    void storedValuesAreLimited_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("older minutes key when seconds absent") << u"timer/minutes"_s << QVariant(15) << 900;
        QTest::newRow("seconds above ten hours") << u"timer/seconds"_s << QVariant(99999) << 36000;
        QTest::newRow("negative seconds") << u"timer/seconds"_s << QVariant(-5) << 0;
        QTest::newRow("zero seconds is a duration, not a missing one") << u"timer/seconds"_s << QVariant(0) << 0;
        QTest::newRow("effect past the list is the last effect") << u"transition/effect"_s << QVariant(9) << 5;
        QTest::newRow("negative effect is none") << u"transition/effect"_s << QVariant(-1) << 0;
        QTest::newRow("duration above the maximum") << u"transition/ms"_s << QVariant(5000) << 3000;
        QTest::newRow("negative duration") << u"transition/ms"_s << QVariant(-20) << 0;
        QTest::newRow("minutes that overflow when turned into seconds") << u"timer/minutes"_s << QVariant(40000000)
                                                                         << 36000;
        QTest::newRow("minutes beyond 64 bits") << u"timer/minutes"_s << QVariant(u"99999999999999999999"_s) << 600;
        QTest::newRow("unreadable seconds fall back to the minutes") << u"timer/seconds"_s << QVariant(u"abc"_s) << 600;
        QTest::newRow("unknown effect name") << u"transition/effect"_s << QVariant(u"Sparkle"_s) << 1;
        QTest::newRow("unreadable duration") << u"transition/ms"_s << QVariant(u"fast"_s) << 400;
        QTest::newRow("unreadable switch") << u"output/fitWidth"_s << QVariant(u"abc"_s) << 0;
        QTest::newRow("switch stored as text") << u"output/fitWidth"_s << QVariant(u"true"_s) << 1;
        QTest::newRow("window size past the presets is the free one") << u"output/windowSize"_s << QVariant(7) << 2;
        QTest::newRow("negative window size is the first preset") << u"output/windowSize"_s << QVariant(-1) << 0;
    }

    void storedValuesAreLimited()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        m_store.setValue(key, stored);
        if (key.startsWith(u"timer/"_s))
            QCOMPARE(m_settings.timerSeconds(), expected);
        else if (key == u"transition/effect"_s)
            QCOMPARE(m_settings.transitionEffect(), expected);
        else if (key == u"transition/ms"_s)
            QCOMPARE(m_settings.transitionMs(), expected);
        else if (key == u"output/windowSize"_s)
            QCOMPARE(m_settings.outputWindowSize(), expected);
        else
            QCOMPARE(int(m_settings.outputFitWidth()), expected);
    }

    void playlistTimesDropAndClamp()
    {
        m_store.setValue(u"playlist/times"_s, QVariantMap{{u"/a.pdf"_s, 0}, {u"/b.pdf"_s, -3},
                                                            {u"/c.pdf"_s, 700}, {u"/d.pdf"_s, 30},
                                                            {u"/e.pdf"_s, 600}, {u"/f.pdf"_s, u"abc"_s},
                                                            {u"/g.pdf"_s, u"99999999999"_s}});
        const QMap<QString, int> expected{{u"/c.pdf"_s, 600}, {u"/d.pdf"_s, 30}, {u"/e.pdf"_s, 600}, {u"/g.pdf"_s, 600}};
        QCOMPARE(m_settings.playlistTimes(), expected);
    }

    void recentKeepsTwelveNewestFirst()
    {
        for (int i = 1; i <= 13; ++i)
            m_settings.pushRecent(u"/docs/%1.pdf"_s.arg(i));
        QStringList list = m_settings.recent();
        QCOMPARE(list.size(), 12);
        QCOMPARE(list.first(), u"/docs/13.pdf"_s);
        QCOMPARE(list.last(), u"/docs/2.pdf"_s);

        list = m_settings.pushRecent(u"/docs/7.pdf"_s);
        QCOMPARE(list.size(), 12);
        QCOMPARE(list.first(), u"/docs/7.pdf"_s);
        QCOMPARE(list.count(u"/docs/7.pdf"_s), 1);
        QCOMPARE(list.at(1), u"/docs/13.pdf"_s);
        QCOMPARE(m_settings.recent(), list);
    }

    void positionsAreKeyedByPathText()
    {
        // Digest taken with sha256sum over the UTF-8 bytes of "/tmp/\u00e4.pdf" (not Latin-1).
        QCOMPARE(AppSettings::positionKey(u"/tmp/\u00e4.pdf"_s),
                 u"positions/e63f71d402321d3c0bb38176eea727409b6ce6dc9909ffdcf5e806b611e643d7"_s);
    }

    void syncAndCheckReportsTheStore_data()
    {
        QTest::addColumn<int>("disk"); // -1: an ordinary folder, else a FullDisk::Kind
        QTest::addColumn<QByteArray>("before"); // the file the test starts with
        QTest::newRow("written") << -1 << QByteArray();
        QTest::newRow("damaged file replaced") << -1 << QByteArray("[timer\nseconds=120\n");
        QTest::newRow("a key without a name stays one") << -1 << QByteArray("[timer]\n=-3\n[playlist\n");
        QTest::newRow("full disk") << int(FullDisk::Kind::Tmpfs) << QByteArray();
        QTest::newRow("file size limit") << int(FullDisk::Kind::SizeLimit) << QByteArray();
    }
    void syncAndCheckReportsTheStore()
    {
        QFETCH(int, disk);
        QFETCH(QByteArray, before);
        const QString folder = TestEnvironment::instance().path(QString::fromLatin1(QTest::currentDataTag()));
        std::optional<FullDisk> full;
        if (disk >= 0 && !full.emplace(FullDisk::Kind(disk), folder).unavailable().isEmpty())
            QSKIP(qPrintable(full->unavailable()));
        const QString path = folder + u"/store.ini"_s;
        PlaylistTest::writeBytes(path, before);
        QSettings store(path, QSettings::IniFormat);
        if (!before.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"store.ini has a format error"_s));
        AppSettings settings(store);
        if (full) {
            // Earlier preferences, more than the disk takes once full, but less than the store
            // writes at once, which is where it misses a failed write.
            for (int page = 0; page < 150; ++page)
                settings.setPosition(u"/docs/%1.pdf"_s.arg(page), page);
            QCOMPARE(settings.syncAndCheck(), QString());
            before = PlaylistTest::readBytes(path);
            full->fill(8192);
            // The deferred write in the worker fails alike and leaves the file as it was.
            QSignalSpy background(SettingsGuard::of(store), &SettingsGuard::backgroundWritten);
            settings.setTimerSeconds(240);
            QVERIFY(background.wait());
            QCOMPARE(background.constFirst().constFirst().toString(), full->cause());
            QCOMPARE(PlaylistTest::readBytes(path), before);
            settings.setTimerSeconds(300);
            QCOMPARE(settings.syncAndCheck(), full->cause());
            QCOMPARE(PlaylistTest::readBytes(path), before);
            // Every value, also those of the failed write, reaches the disk once there is room.
            full->release();
        }
        settings.setTimerSeconds(300);
        QCOMPARE(settings.syncAndCheck(), QString());
        QVERIFY(PlaylistTest::readBytes(path).contains("seconds=300"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QSignalSpy background(SettingsGuard::of(store), &SettingsGuard::backgroundWritten);
        settings.setTimerSeconds(180);
        QVERIFY(background.wait());
        QVERIFY(PlaylistTest::readBytes(path).contains("seconds=180"));
        QCOMPARE(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"store.ini"_s});
    }

private:
    QSettings m_store{TestEnvironment::instance().path(u"settings.ini"_s), QSettings::IniFormat};
    AppSettings m_settings{m_store};
};

OLVANTI_TEST_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
