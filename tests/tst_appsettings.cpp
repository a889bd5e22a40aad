#include "ui/appsettings.h"
#include "testenv.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

using Setter = std::function<void(AppSettings &)>;
Q_DECLARE_METATYPE(Setter)

class TestAppSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        static int run = 0;
        const QString file = TestEnvironment::instance().path(u"settings-%1.ini"_s.arg(++run));
        m_store = std::make_unique<QSettings>(file, QSettings::IniFormat);
        m_settings = std::make_unique<AppSettings>(*m_store);
    }

    void cleanup()
    {
        m_settings.reset();
        m_store.reset();
    }

    void defaultsFromEmptyStore()
    {
        const AppSettings &s = *m_settings;
        QCOMPARE(s.timerSeconds(), 600);
        QCOMPARE(s.timerAutoStart(), false);
        QVERIFY(s.playlistFiles().isEmpty());
        QVERIFY(s.playlistTimes().isEmpty());
        QCOMPARE(s.playlistDir(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QVERIFY(s.windowGeometry().isEmpty());
        QVERIFY(s.presenterHSplit().isEmpty());
        QVERIFY(s.presenterVSplit().isEmpty());
        QVERIFY(s.presenterRSplit().isEmpty());
        QCOMPARE(s.pagesCollapsed(), false);
        QCOMPARE(s.readerScroll(), false);
        QCOMPARE(s.outputDisplay(), QString());
        QCOMPARE(s.outputFitWidth(), false);
        QCOMPARE(s.transitionEffect(), 1);
        QCOMPARE(s.transitionMs(), 400);
        QVERIFY(s.recent().isEmpty());
        QCOMPARE(s.position(u"/docs/talk.pdf"_s), 0);
        // Reading never writes.
        QVERIFY(m_store->allKeys().isEmpty());
    }

    void timerDuration_data()
    {
        QTest::addColumn<QVariant>("seconds");
        QTest::addColumn<QVariant>("minutes");
        QTest::addColumn<int>("expected");
        QTest::newRow("older minutes key when seconds absent") << QVariant() << QVariant(15) << 900;
        QTest::newRow("seconds win over minutes") << QVariant(75) << QVariant(15) << 75;
        QTest::newRow("seconds above ten hours") << QVariant(99999) << QVariant() << 36000;
        QTest::newRow("minutes above ten hours") << QVariant() << QVariant(1000) << 36000;
        QTest::newRow("negative seconds") << QVariant(-5) << QVariant() << 0;
        QTest::newRow("zero seconds is kept, not the default") << QVariant(0) << QVariant(15) << 0;
    }

    void timerDuration()
    {
        QFETCH(QVariant, seconds);
        QFETCH(QVariant, minutes);
        QFETCH(int, expected);
        if (seconds.isValid())
            m_store->setValue(u"timer/seconds"_s, seconds);
        if (minutes.isValid())
            m_store->setValue(u"timer/minutes"_s, minutes);
        QCOMPARE(m_settings->timerSeconds(), expected);
    }

    void writtenSecondsReplaceOlderMinutes()
    {
        m_store->setValue(u"timer/minutes"_s, 15);
        m_settings->setTimerSeconds(120);
        QCOMPARE(m_settings->timerSeconds(), 120);
        m_settings->setTimerSeconds(50000);
        QCOMPARE(m_store->value(u"timer/seconds"_s).toInt(), 36000);
    }

    void transitionLimits_data()
    {
        QTest::addColumn<int>("storedEffect");
        QTest::addColumn<int>("storedMs");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("ms");
        QTest::newRow("effect past the list is the last effect") << 9 << 400 << 5 << 400;
        QTest::newRow("negative effect is none") << -1 << 400 << 0 << 400;
        QTest::newRow("duration above the maximum") << 3 << 5000 << 3 << 3000;
        QTest::newRow("negative duration") << 2 << -20 << 2 << 0;
        QTest::newRow("values in range are kept") << 4 << 1250 << 4 << 1250;
    }

    void transitionLimits()
    {
        QFETCH(int, storedEffect);
        QFETCH(int, storedMs);
        m_store->setValue(u"transition/effect"_s, storedEffect);
        m_store->setValue(u"transition/ms"_s, storedMs);
        QTEST(m_settings->transitionEffect(), "effect");
        QTEST(m_settings->transitionMs(), "ms");
    }

    void playlistTimesDropAndClamp()
    {
        m_store->setValue(u"playlist/times"_s, QVariantMap{{u"/a.pdf"_s, 0}, {u"/b.pdf"_s, -3},
                                                            {u"/c.pdf"_s, 700}, {u"/d.pdf"_s, 30},
                                                            {u"/e.pdf"_s, 600}});
        const QMap<QString, int> expected{{u"/c.pdf"_s, 600}, {u"/d.pdf"_s, 30}, {u"/e.pdf"_s, 600}};
        QCOMPARE(m_settings->playlistTimes(), expected);
    }

    void settersWriteTheirKeyAtOnce_data()
    {
        QTest::addColumn<Setter>("set");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        const QByteArray state("\x00\xff state", 8);
        QTest::newRow("auto start") << Setter([](AppSettings &s) { s.setTimerAutoStart(true); })
                                    << u"timer/autoStart"_s << QVariant(true);
        QTest::newRow("playlist files") << Setter([](AppSettings &s) { s.setPlaylistFiles({u"/a.pdf"_s, u"/b.pdf"_s}); })
                                        << u"playlist/files"_s << QVariant(QStringList{u"/a.pdf"_s, u"/b.pdf"_s});
        QTest::newRow("playlist times") << Setter([](AppSettings &s) { s.setPlaylistTimes({{u"/a.pdf"_s, 20}}); })
                                        << u"playlist/times"_s << QVariant(QVariantMap{{u"/a.pdf"_s, 20}});
        QTest::newRow("playlist folder") << Setter([](AppSettings &s) { s.setPlaylistDir(u"/shows"_s); })
                                         << u"playlist/dir"_s << QVariant(u"/shows"_s);
        QTest::newRow("geometry") << Setter([state](AppSettings &s) { s.setWindowGeometry(state); })
                                  << u"window/geometry"_s << QVariant(state);
        QTest::newRow("live and next split") << Setter([state](AppSettings &s) { s.setPresenterHSplit(state); })
                                             << u"presenter/hsplit"_s << QVariant(state);
        QTest::newRow("pages split") << Setter([state](AppSettings &s) { s.setPresenterVSplit(state); })
                                     << u"presenter/vsplit"_s << QVariant(state);
        QTest::newRow("next and timer split") << Setter([state](AppSettings &s) { s.setPresenterRSplit(state); })
                                              << u"presenter/rsplit"_s << QVariant(state);
        QTest::newRow("pages collapsed") << Setter([](AppSettings &s) { s.setPagesCollapsed(true); })
                                         << u"presenter/pagesCollapsed"_s << QVariant(true);
        QTest::newRow("reader scroll") << Setter([](AppSettings &s) { s.setReaderScroll(true); })
                                       << u"reader/scroll"_s << QVariant(true);
        QTest::newRow("output display") << Setter([](AppSettings &s) { s.setOutputDisplay(u"HDMI-1|Acme|P1|42"_s); })
                                        << u"output/display"_s << QVariant(u"HDMI-1|Acme|P1|42"_s);
        QTest::newRow("fit width") << Setter([](AppSettings &s) { s.setOutputFitWidth(true); })
                                   << u"output/fitWidth"_s << QVariant(true);
        QTest::newRow("transition effect") << Setter([](AppSettings &s) { s.setTransition(3, 650); })
                                           << u"transition/effect"_s << QVariant(3);
        QTest::newRow("transition duration") << Setter([](AppSettings &s) { s.setTransition(3, 650); })
                                             << u"transition/ms"_s << QVariant(650);
        QTest::newRow("recent") << Setter([](AppSettings &s) { s.pushRecent(u"/a.pdf"_s); })
                                << u"recent"_s << QVariant(QStringList{u"/a.pdf"_s});
    }

    void settersWriteTheirKeyAtOnce()
    {
        QFETCH(Setter, set);
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        set(*m_settings);
        QVERIFY(m_store->contains(key));
        QCOMPARE(m_store->value(key), stored);
    }

    void recentKeepsTwelveNewestFirst()
    {
        for (int i = 1; i <= 13; ++i)
            m_settings->pushRecent(u"/docs/%1.pdf"_s.arg(i));
        QStringList list = m_settings->recent();
        QCOMPARE(list.size(), 12);
        QCOMPARE(list.first(), u"/docs/13.pdf"_s);
        QCOMPARE(list.last(), u"/docs/2.pdf"_s);
        QVERIFY(!list.contains(u"/docs/1.pdf"_s));

        list = m_settings->pushRecent(u"/docs/7.pdf"_s);
        QCOMPARE(list.size(), 12);
        QCOMPARE(list.first(), u"/docs/7.pdf"_s);
        QCOMPARE(list.count(u"/docs/7.pdf"_s), 1);
        QCOMPARE(list.at(1), u"/docs/13.pdf"_s);
        QCOMPARE(m_settings->recent(), list);
    }

    void positionsAreKeyedByPathText()
    {
        const QString path = TestEnvironment::instance().textDocument(3);
        const QString detour = QFileInfo(path).absolutePath() + u"/./"_s + QFileInfo(path).fileName();
        QVERIFY(QFile::exists(detour));

        const QString key = AppSettings::positionKey(path);
        QVERIFY2(QRegularExpression(u"^positions/[0-9a-f]{64}$"_s).match(key).hasMatch(), qPrintable(key));
        QVERIFY(AppSettings::positionKey(detour) != key);

        m_settings->setPosition(path, 2);
        QCOMPARE(m_store->value(key).toInt(), 2);
        QCOMPARE(m_settings->position(path), 2);
        QCOMPARE(m_settings->position(detour), 0);
    }

    void digestOfUtf8Path()
    {
        // Digest taken with sha256sum over the UTF-8 bytes of "/tmp/\u00e4.pdf" (not Latin-1).
        QCOMPARE(AppSettings::positionKey(u"/tmp/\u00e4.pdf"_s),
                 u"positions/e63f71d402321d3c0bb38176eea727409b6ce6dc9909ffdcf5e806b611e643d7"_s);
    }

    void syncReportsWritableStore()
    {
        m_settings->setOutputFitWidth(true);
        QVERIFY(m_settings->syncAndCheck());
        QSettings reread(m_store->fileName(), QSettings::IniFormat);
        QCOMPARE(reread.value(u"output/fitWidth"_s).toBool(), true);
    }

    void syncReportsUnwritableStore()
    {
        // A store below a regular file cannot be created whatever the user's rights (the test
        // may run as root, where a read-only folder would still be writable).
        const QString blocker = TestEnvironment::instance().path(u"not-a-folder"_s);
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QSettings store(blocker + u"/config/settings.ini"_s, QSettings::IniFormat);
        AppSettings settings(store);
        settings.setTimerSeconds(300);
        QVERIFY(!settings.syncAndCheck());
    }

private:
    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<AppSettings> m_settings;
};

OLVANTI_TEST_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
