#include "app/messagelog.h"
#include "base/appsettings.h"
#include "base/settingsfilecheck.h"
#include "base/settingsguard.h"
#include "presentation/displaymanager.h"
#include "ui/setupdialog.h"
#include "fulldisk.h"
#include "playlistsupport.h"
#include "screens.h"
#include "testenv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPolygon>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include <sys/resource.h>

#include <memory>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

using PlaylistTest::readBytes;
using PlaylistTest::writeBytes;

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

constexpr int LinesPerWriter = 3000;

// What a child of this test logs, so that its standard error is read whole and a fatal message ends the child only.
void playScene(const QByteArray &scene)
{
    if (scene == "threads") {
        const auto writer = [](char name) {
            return std::thread([name] {
                for (int i = 0; i < LinesPerWriter; ++i)
                    qInfo("writer %c line %04d of a message long enough to be written in pieces", name, i);
            });
        };
        std::thread a = writer('A'), b = writer('B');
        a.join();
        b.join();
        return;
    }
    if (scene == "search") { // the text around a hit the PDF search cannot place
        const QLoggingCategory search("qt.pdf.search");
        qCWarning(search) << "not found in context" << "text of a page";
    }
    for (const QString &text : qEnvironmentVariable("OLVANTI_TEST_TEXT").split(u'\n')) // one message a line
        qt_message_output(QtMsgType(qEnvironmentVariableIntValue("OLVANTI_TEST_TYPE")), QMessageLogContext(), text);
}

// Started again as a child: play the scene into the named log before any test runs.
[[maybe_unused]] const bool s_child = [] {
    const QByteArray log = qgetenv("OLVANTI_TEST_LOG");
    if (log.isEmpty())
        return false;
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    MessageLog::install(QFile::decodeName(log));
    playScene(qgetenv("OLVANTI_TEST_SCENE"));
    std::_Exit(0);
}();

// Plays `scene` in a child process of this test that logs into `log`.
ProgramRun play(const QString &log, const QString &scene, const QStringList &environment = {})
{
    return runProgram(QCoreApplication::applicationFilePath(), {},
                      environment + QStringList{u"OLVANTI_TEST_LOG="_s + log, u"OLVANTI_TEST_SCENE="_s + scene});
}

const QRegularExpression LinePattern(u"^(\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}Z) \\[(\\d)\\] (.*)\\n$"_s,
                                     QRegularExpression::DotMatchesEverythingOption);

QByteArray filler(qint64 size)
{
    return QByteArray(size - 1, 'x') + '\n';
}

const QJsonObject ScreenA = TestScreens::screen(u"A"_s, 0, 1280, 800);
const QJsonObject ScreenB = TestScreens::screen(u"B"_s, 1280, 1920, 1080);
const QJsonObject ScreenC = TestScreens::screen(u"C"_s, 3200, 1024, 768, 1.25);

} // namespace

// The program's own files: the preferences, their store and setup dialog, and the message log.
class TestAppSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_store.clear();
        QVERIFY(TestScreens::apply({ScreenA, ScreenB}));
    }

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
        QTest::addColumn<QString>("row"); // "KEY=STORED -> READ"
        QTest::newRow("older minutes key when seconds absent") << u"timer/minutes=15 -> 900"_s;
        QTest::newRow("seconds above ten hours") << u"timer/seconds=99999 -> 36000"_s;
        QTest::newRow("negative seconds") << u"timer/seconds=-5 -> 0"_s;
        QTest::newRow("zero seconds is a duration, not a missing one") << u"timer/seconds=0 -> 0"_s;
        QTest::newRow("effect past the list is the last effect") << u"transition/effect=9 -> 5"_s;
        QTest::newRow("negative effect is none") << u"transition/effect=-1 -> 0"_s;
        QTest::newRow("duration above the maximum") << u"transition/ms=5000 -> 3000"_s;
        QTest::newRow("negative duration") << u"transition/ms=-20 -> 0"_s;
        QTest::newRow("minutes that overflow when turned into seconds") << u"timer/minutes=40000000 -> 36000"_s;
        QTest::newRow("minutes beyond 64 bits") << u"timer/minutes=99999999999999999999 -> 600"_s;
        QTest::newRow("unreadable seconds fall back to the minutes") << u"timer/seconds=abc -> 600"_s;
        QTest::newRow("unknown effect name") << u"transition/effect=Sparkle -> 1"_s;
        QTest::newRow("unreadable duration") << u"transition/ms=fast -> 400"_s;
        QTest::newRow("unreadable switch") << u"output/fitWidth=abc -> 0"_s;
        QTest::newRow("switch stored as text") << u"output/fitWidth=true -> 1"_s;
        QTest::newRow("window size past the presets is the free one") << u"output/windowSize=7 -> 2"_s;
        QTest::newRow("negative window size is the first preset") << u"output/windowSize=-1 -> 0"_s;
    }

    void storedValuesAreLimited()
    {
        QFETCH(QString, row);
        const QString key = row.section(u'=', 0, 0);
        m_store.setValue(key, row.section(u'=', 1).section(u" -> "_s, 0, 0));
        const QMap<QString, int> read{{u"timer/minutes"_s, m_settings.timerSeconds()},
                                      {u"timer/seconds"_s, m_settings.timerSeconds()},
                                      {u"transition/effect"_s, m_settings.transitionEffect()},
                                      {u"transition/ms"_s, m_settings.transitionMs()},
                                      {u"output/windowSize"_s, m_settings.outputWindowSize()},
                                      {u"output/fitWidth"_s, int(m_settings.outputFitWidth())}};
        QCOMPARE(read.value(key, -1), row.section(u" -> "_s, 1).toInt());
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
        writeBytes(path, before);
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
            before = readBytes(path);
            full->fill(8192);
            // The deferred write in the worker fails alike and leaves the file as it was.
            QSignalSpy background(SettingsGuard::of(store), &SettingsGuard::backgroundWritten);
            settings.setTimerSeconds(240);
            QVERIFY(background.wait());
            QCOMPARE(background.constFirst().constFirst().toString(), full->cause());
            QCOMPARE(readBytes(path), before);
            settings.setTimerSeconds(300);
            QCOMPARE(settings.syncAndCheck(), full->cause());
            QCOMPARE(readBytes(path), before);
            // Every value, also those of the failed write, reaches the disk once there is room.
            full->release();
        }
        settings.setTimerSeconds(300);
        QCOMPARE(settings.syncAndCheck(), QString());
        QVERIFY(readBytes(path).contains("seconds=300"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QSignalSpy background(SettingsGuard::of(store), &SettingsGuard::backgroundWritten);
        settings.setTimerSeconds(180);
        QVERIFY(background.wait());
        QVERIFY(readBytes(path).contains("seconds=180"));
        QCOMPARE(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"store.ini"_s});
    }

    // Values whose stream would exhaust the reader's memory or build kinds never written leave the file unread.
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
            writeBytes(path, "[t]\nv=" + value);
            QVERIFY(QSettings(path, QSettings::IniFormat).value(u"t/v"_s).isValid());
        }
    }

    // Fuzzing found a map whose count asked for 13 GB: the other preferences stay, the file as it was is kept.
    void aDamagedFileStartsWithoutItsDamagedValues()
    {
        const QString path = TestEnvironment::instance().path(u"damaged.ini"_s);
        const QByteArray before = readBytes(QStringLiteral(OLVANTI_SOURCE_DIR "/fuzz/regressions/settings/oom-8916515526b6068206781f43cd0452d39b379fd3"));
        writeBytes(path, before + "\n[timer]\nseconds=125\n");
        QSettings store(path, QSettings::IniFormat);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"held damaged values, now taken out.*endPages.*times"_s));
        AppSettings settings(store);
        QVERIFY(settings.playlistTimes().isEmpty() && settings.playlistEndPages().isEmpty());
        QCOMPARE(settings.timerSeconds(), 125);
        QCOMPARE(readBytes(path + u".damaged"_s), before + "\n[timer]\nseconds=125\n");
        QVERIFY(SettingsFileCheck::removeUnsafeValues(path).isEmpty());
    }

    void displayChoiceSelection_data()
    {
        QTest::addColumn<QString>("row"); // "SCREENS STORED -> SHOWN [told]"; STORED "-": none; told: missing one reported
        QTest::newRow("two screens, nothing stored: the second, no message") << u"AB - -> B (1920 x 1080, 1x)"_s;
        QTest::newRow("stored screen present wins") << u"AB A -> A (1280 x 800, 1x)"_s;
        QTest::newRow("stored screen found by identity, not position") << u"ABC C -> C (1024 x 768, 1.25x)"_s;
        QTest::newRow("stored screen unplugged: the second, with message") << u"AB C -> B (1920 x 1080, 1x) told"_s;
        QTest::newRow("one screen, stored one unplugged: the only one, with message") << u"A B -> A (1280 x 800, 1x) told"_s;
        QTest::newRow("identity compared case-sensitively") << u"AB a -> B (1920 x 1080, 1x) told"_s;
    }

    // A stored display that is gone is reported and its preference kept; a refill is not the operator's choice.
    void displayChoiceSelection()
    {
        QFETCH(QString, row);
        const QString preferred = row.section(u' ', 1, 1) == u"-"_s ? QString() : row.section(u' ', 1, 1) + u"|||"_s;
        const bool unavailable = row.endsWith(u" told"_s);
        QJsonArray screens;
        for (const QChar name : row.section(u' ', 0, 0))
            screens.append(name == u'A' ? ScreenA : name == u'B' ? ScreenB : ScreenC);
        build();
        m_store.setValue(u"output/display"_s, preferred);
        QVERIFY(TestScreens::apply(screens));
        auto *choice = m_dialog->findChild<QComboBox *>(u"displayChoice"_s);
        QSignalSpy indexChanged(choice, &QComboBox::currentIndexChanged);
        QSignalSpy messages(m_dialog.get(), &SetupDialog::statusMessage);
        m_dialog->refillDisplays();
        const QVariantList warning{u"Preferred output display unavailable; choose a replacement before opening output."_s, 15000};
        QCOMPARE(messages, unavailable ? QList<QVariantList>{warning} : QList<QVariantList>());
        QCOMPARE(choice->count(), screens.size());
        QCOMPARE(choice->currentText(), row.section(u" -> "_s, 1).remove(u" told"_s));
        QVERIFY(indexChanged.isEmpty() && !choice->signalsBlocked());
        QCOMPARE(m_store.value(u"output/display"_s).toString(), preferred);
    }

    // Each control stores its setting and tells the window; stored values are limited to the controls' range.
    void controlsStoreAndEmitTheirSettings()
    {
        m_store.setValue(u"output/fitWidth"_s, true);
        m_store.setValue(u"transition/effect"_s, 9);
        m_store.setValue(u"transition/ms"_s, 20);
        m_store.setValue(u"timer/autoStart"_s, true);
        build();
        QCOMPARE(duration()->maximum(), 3000);
        QCOMPARE(m_store.value(u"transition/effect"_s).toInt(), 5);
        QCOMPARE(m_store.value(u"transition/ms"_s).toInt(), 100);
        QStringList effects;
        for (int i = 0; i < effect()->count(); ++i)
            effects << effect()->itemText(i);
        QCOMPARE(effects, QStringList({u"None"_s, u"Fade"_s, u"Dip to black"_s, u"Slide"_s, u"Wipe"_s, u"Zoom"_s}));
        QCOMPARE(scaling()->currentIndex(), 1);
        QVERIFY(m_dialog->autoStartTimer());
        QSignalSpy chosen(m_dialog.get(), &SetupDialog::displayChosen);
        QSignalSpy placed(m_dialog.get(), &SetupDialog::placementChosen);
        QSignalSpy fitWidth(m_dialog.get(), &SetupDialog::fitWidthChanged);
        QSignalSpy transition(m_dialog.get(), &SetupDialog::transitionChanged);
        QSignalSpy toggled(m_dialog.get(), &SetupDialog::outputToggleClicked);

        QTest::keyClick(m_dialog->findChild<QComboBox *>(u"displayChoice"_s), Qt::Key_Up);
        QTest::keyClick(m_dialog->findChild<QComboBox *>(u"outputPlacement"_s), Qt::Key_Down);
        scaling()->setCurrentIndex(0);
        QCOMPARE(m_store.value(u"output/fitWidth"_s).toBool(), false);
        scaling()->setCurrentIndex(1);
        effect()->setCurrentIndex(3);
        duration()->stepUp();
        m_dialog->findChild<QCheckBox *>(u"timerAutoStart"_s)->click();
        QTest::mouseClick(toggle(), Qt::LeftButton);

        const QString first = DisplayManager::screenIdentity(QGuiApplication::screens().at(0));
        QCOMPARE(chosen, QList<QVariantList>{{first}});
        QCOMPARE(m_store.value(u"output/display"_s).toString(), first);
        QCOMPARE(placed, QList<QVariantList>{{true}});
        QVERIFY(m_settings.outputWindowed() && m_dialog->findChild<QComboBox *>(u"windowSizeChoice"_s)->isEnabled());
        QCOMPARE(m_store.value(u"output/fitWidth"_s).toBool(), true);
        QCOMPARE(fitWidth, (QList<QVariantList>{{false}, {true}}));
        QCOMPARE(m_store.value(u"transition/ms"_s).toInt(), 150);
        QCOMPARE(transition, (QList<QVariantList>{{3, 100}, {3, 150}}));
        QVERIFY(!m_store.value(u"timer/autoStart"_s).toBool() && !m_dialog->autoStartTimer());
        QCOMPARE(toggled, QList<QVariantList>{{true}});

        // The switch then follows the output, whoever turned it.
        m_dialog->setOutputShown(false);
        QVERIFY(!toggle()->isChecked());
        QCOMPARE(toggle()->text(), u"Output OFF"_s);
        m_dialog->setOutputShown(true);
        QCOMPARE(toggle()->text(), u"Output ON"_s);
    }

    void rotationAboveTheLimitKeepsOneOldGeneration()
    {
        const QString log = freshLog(u"rotation"_s);
        const QString old = log + u".1"_s;
        const QByteArray full = filler(MessageLog::RotationLimit);
        writeBytes(log, full);
        MessageLog::append(log, "first\n");
        QVERIFY2(!QFile::exists(old), "exactly 2 MiB is not rotated");
        QCOMPARE(readBytes(log), full + "first\n");

        MessageLog::append(log, "second\n");
        QCOMPARE(readBytes(old), full + "first\n");
        QCOMPARE(readBytes(log), QByteArray("second\n"));

        writeBytes(log, readBytes(log) + full);
        MessageLog::append(log, "third\n");
        QCOMPARE(readBytes(old), "second\n" + full);
        QCOMPARE(readBytes(log), QByteArray("third\n"));
        QCOMPARE(QDir(QFileInfo(log).path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({u"presenter.log"_s, u"presenter.log.1"_s}));
    }

    void blockedRotationStopsAtTwiceTheLimit()
    {
        const QString log = freshLog(u"blocked"_s);
        // A non-empty folder with the old log's name can be neither removed nor replaced.
        QVERIFY(QDir().mkpath(log + u".1/inside"_s));
        const QByteArray big = filler(2 * MessageLog::RotationLimit - 60);
        writeBytes(log, big);
        const ProgramRun child = play(log, u"messages"_s, {u"OLVANTI_TEST_TYPE=4"_s,
                                      u"OLVANTI_TEST_TEXT=still fits\nwould pass twice the limit\nalso kept out"_s});
        QCOMPARE(child.code, 0);

        const QByteArray kept = readBytes(log);
        QCOMPARE(kept.size(), big.size() + 36); // the first line, time and type included
        QVERIFY(kept.endsWith("] still fits\n"));
        // Standard error loses nothing and hears of the full log once.
        for (const char *text : {"still fits", "would pass twice the limit", "also kept out"})
            QVERIFY2(child.err.contains(text), child.err.constData());
        QCOMPARE(child.err.count("cannot be rotated"), 1);
    }

    void lineFormat_data()
    {
        QTest::addColumn<QString>("row"); // "SCENE TYPE TEXT": the one line logged is TEXT with the type's number
        QTest::newRow("debug is 0") << u"messages 0 a debug message"_s;
        QTest::newRow("critical is 2") << u"messages 2 a critical message"_s;
        QTest::newRow("warning is 1, UTF-8 text round-trips") << u"messages 1 Grüße – 日本語 ✓ «€»"_s;
        QTest::newRow("info is 4, placeholders stay literal") << u"messages 4 50% done, %1 %2 %3 left"_s;
        QTest::newRow("fatal is 3, written before the abort") << u"messages 3 fatal message"_s;
        QTest::newRow("the PDF search's page text is never logged") << u"search 1 a line of our own"_s;
    }

    // The line reaches the log and standard error alike; a fatal one before the abort.
    void lineFormat()
    {
        QFETCH(QString, row);
        const int type = row.section(u' ', 1, 1).toInt();
        const QString text = row.section(u' ', 2);
        const QString log = freshLog(u"format"_s);
        const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-999);
        const ProgramRun child = play(log, row.section(u' ', 0, 0),
                                      {u"OLVANTI_TEST_TYPE=%1"_s.arg(type), u"OLVANTI_TEST_TEXT="_s + text});
        const QDateTime after = QDateTime::currentDateTimeUtc();
        QCOMPARE(child.code, type == QtFatalMsg ? -1 : 0);

        const QByteArray line = readBytes(log);
        QCOMPARE(child.err, line);
        const QRegularExpressionMatch match = LinePattern.match(QString::fromUtf8(line));
        QVERIFY2(match.hasMatch(), line.constData());
        const QDateTime time = QDateTime::fromString(match.captured(1), Qt::ISODate);
        QVERIFY(time >= before && time <= after);
        QCOMPARE(match.captured(2).toInt(), type);
        QCOMPARE(match.captured(3), text);
    }

    void concurrentWritersProduceWholeLines()
    {
        const QString log = freshLog(u"threads"_s);
        // Both writers cross the rotation limit at the same time: exactly one rotation may happen.
        const QByteArray full = filler(MessageLog::RotationLimit);
        writeBytes(log, full);
        const ProgramRun child = play(log, u"threads"_s);
        QCOMPARE(child.code, 0);
        QCOMPARE(child.err.count('\n'), 2 * LinesPerWriter);

        const QByteArray old = readBytes(log + u".1"_s);
        QVERIFY(old.startsWith(full));
        const QList<QByteArray> lines = QByteArray(old.mid(full.size()) + readBytes(log)).split('\n');
        QCOMPARE(lines.size(), 2 * LinesPerWriter + 1);
        QVERIFY(lines.last().isEmpty());
        static const QRegularExpression message(u"^\\S+Z \\[4\\] writer ([AB]) line (\\d{4}) of a message long enough to be written in pieces$"_s);
        int next[2] = {0, 0};
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QRegularExpressionMatch match = message.match(QString::fromUtf8(lines.at(i)));
            QVERIFY2(match.hasMatch(), lines.at(i).constData());
            QCOMPARE(match.captured(2).toInt(), next[match.captured(1) == u"B"_s ? 1 : 0]++);
        }
    }
private:
    QString freshLog(const QString &name)
    {
        const QString dir = TestEnvironment::instance().path(name);
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        return dir + u"/presenter.log"_s;
    }

    void build() { m_dialog = std::make_unique<SetupDialog>(m_settings, nullptr); }

    // A missing control crashes the test, which fails it as clearly as a check would.
    QPushButton *toggle() const { return m_dialog->findChild<QPushButton *>(u"outputToggle"_s); }
    QComboBox *scaling() const { return m_dialog->findChild<QComboBox *>(u"scalingChoice"_s); }
    QComboBox *effect() const { return m_dialog->findChild<QComboBox *>(u"transitionChoice"_s); }
    QSpinBox *duration() const { return m_dialog->findChild<QSpinBox *>(u"transitionDuration"_s); }

    QSettings m_store{TestEnvironment::instance().path(u"settings.ini"_s), QSettings::IniFormat};
    AppSettings m_settings{m_store};
    std::unique_ptr<SetupDialog> m_dialog;
};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestAppSettings, TestScreens::ScreensAB)
#include "tst_appsettings.moc"
