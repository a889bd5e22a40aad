#include "base/appsettings.h"
#include "base/settingsfilecheck.h"
#include "base/settingsguard.h"
#include "fulldisk.h"
#include "playlistsupport.h"
#include "testenv.h"

#include <QDataStream>
#include <QDir>
#include <QPolygon>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A value as the settings writer stores it: the data stream of version 4.0, every byte escaped.
QByteArray variantText(const QByteArray &stream)
{
    QByteArray text = "@Variant(";
    for (const char byte : stream)
        text += "\\x" + QByteArray::number(uchar(byte), 16).rightJustified(2, '0');
    return text + ')';
}

QByteArray streamOf(const QVariant &value)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_4_0);
    stream << value;
    return bytes;
}

} // namespace

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
        const QMap<QString, int> read{{u"timer/minutes"_s, m_settings.timerSeconds()},
                                      {u"timer/seconds"_s, m_settings.timerSeconds()},
                                      {u"transition/effect"_s, m_settings.transitionEffect()},
                                      {u"transition/ms"_s, m_settings.transitionMs()},
                                      {u"output/windowSize"_s, m_settings.outputWindowSize()},
                                      {u"output/fitWidth"_s, int(m_settings.outputFitWidth())}};
        QCOMPARE(read.value(key, -1), expected);
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
        QStringList expected;
        for (int i = 1; i <= 13; ++i) {
            m_settings.pushRecent(u"/docs/%1.pdf"_s.arg(i));
            expected.prepend(u"/docs/%1.pdf"_s.arg(i));
        }
        expected.removeLast(); // twelve are kept: the oldest goes
        QCOMPARE(m_settings.recent(), expected);
        // Opened again: moved to the front, once.
        expected.move(expected.indexOf(u"/docs/7.pdf"_s), 0);
        QCOMPARE(m_settings.pushRecent(u"/docs/7.pdf"_s), expected);
        QCOMPARE(m_settings.recent(), expected);
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

    // Values whose data stream would make the reader ask for more memory than there is, or
    // build kinds this program never writes, leave the file before the store reads it.
    void unsafeValuesAreTakenOut_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("safe");
        const QVariantMap map{{u"/talks/a, \"b\".pdf"_s, 5}, {u"/@home/ü.pdf"_s, QVariantList{1, u"x"_s, QByteArray("\0\1")}}};
        QTest::newRow("a map") << variantText(streamOf(map)) << true;
        QTest::newRow("a list of paths") << QByteArray("/a/@b.pdf, \"/c, d.pdf\", @@e") << true;
        QTest::newRow("a list claiming more than it holds") << variantText(QByteArray::fromHex("000000097ffffff0")) << false;
        QTest::newRow("a kind never written") << variantText(streamOf(QPolygon{{1, 2}})) << false;
        QTest::newRow("nested too deep") << variantText((QByteArray::fromHex("0000000900000001").repeated(40) + QByteArray::fromHex("0000000200000005"))) << false;
        QTest::newRow("the prefix escaped") << "\\x40Variant" + variantText(QByteArray::fromHex("000000097ffffff0")).mid(8) << false;
        QTest::newRow("an item of a list") << "a, " + variantText(QByteArray::fromHex("0000000b7ffffff0")) << false;
        QTest::newRow("an escape the reader may read otherwise") << QByteArray("@Variant(\\q)") << false;
        QTest::newRow("more digits than the writer puts in an escape")
            << QByteArray("@Variant(\\x0000\\0\\0\\x2\\0\\0\\0\\x5)") << false;
    }
    void unsafeValuesAreTakenOut()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, safe);
        QCOMPARE(SettingsFileCheck::isSafeValue(value), safe);
        if (safe) { // and the store's own reader takes it
            const QString path = TestEnvironment::instance().path(QString::fromLatin1(QTest::currentDataTag()) + u".ini"_s);
            PlaylistTest::writeBytes(path, "[t]\nv=" + value);
            QVERIFY(QSettings(path, QSettings::IniFormat).value(u"t/v"_s).isValid());
        }
    }

    // The case fuzzing found: a map holding a kind whose count asked for 13 GB. The other
    // preferences stay, the file as it was is kept.
    void aDamagedFileStartsWithoutItsDamagedValues()
    {
        const QString path = TestEnvironment::instance().path(u"damaged.ini"_s);
        const QByteArray before = PlaylistTest::readBytes(QStringLiteral(OLVANTI_SOURCE_DIR "/fuzz/regressions/settings/oom-8916515526b6068206781f43cd0452d39b379fd3"));
        PlaylistTest::writeBytes(path, before + "\n[timer]\nseconds=125\n");
        QSettings store(path, QSettings::IniFormat);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"held damaged values, now taken out.*endPages.*times"_s));
        AppSettings settings(store);
        QVERIFY(settings.playlistTimes().isEmpty() && settings.playlistEndPages().isEmpty());
        QCOMPARE(settings.timerSeconds(), 125);
        QCOMPARE(PlaylistTest::readBytes(path + u".damaged"_s), before + "\n[timer]\nseconds=125\n");
        QVERIFY(SettingsFileCheck::removeUnsafeValues(path).isEmpty());
    }

private:
    QSettings m_store{TestEnvironment::instance().path(u"settings.ini"_s), QSettings::IniFormat};
    AppSettings m_settings{m_store};
};

OLVANTI_TEST_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
