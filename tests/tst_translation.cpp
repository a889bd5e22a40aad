#include "app/translation.h"
#include "testenv.h"
#include "ui/mainwindow.h"

#include <QFile>
#include <QLocale>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

struct SourceText
{
    QString context;
    QString source;
    QString comment;
};

// Every text the sources hand to tr() today, as the translation tools find it.
QList<SourceText> scanSources()
{
    const QString ts = TestEnvironment::instance().path(u"scanned.ts"_s);
    QProcess lupdate;
    lupdate.start(QString::fromLocal8Bit(OLVANTI_LUPDATE_PATH),
                  {u"-silent"_s, u"-locations"_s, u"none"_s, QStringLiteral(OLVANTI_SOURCE_DIR "/src"), u"-ts"_s, ts});
    if (!lupdate.waitForFinished(120000) || lupdate.exitCode() != 0)
        return {};
    QFile file(ts);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<SourceText> texts;
    QString context;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == "name"_L1)
            context = xml.readElementText();
        else if (xml.name() == "source"_L1)
            texts.append({context, xml.readElementText(), QString()});
        else if (xml.name() == "comment"_L1 && !texts.isEmpty())
            texts.last().comment = xml.readElementText();
    }
    return texts;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(u"%(\\d+|n)"_s);
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

int mnemonics(QString text)
{
    return int(text.remove(u"&&"_s).count(u'&'));
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // New texts in the sources fail here until they are translated.
    void everySourceTextHasAGermanTranslation()
    {
        const QList<SourceText> texts = scanSources();
        QVERIFY(texts.size() > 200);
        QTranslator german;
        QVERIFY(german.load(u":/i18n/olvanti_de.qm"_s));

        QStringList faults;
        for (const SourceText &text : texts) {
            const QString translated = german.translate(text.context.toUtf8().constData(), text.source.toUtf8().constData(),
                                                        text.comment.isEmpty() ? nullptr : text.comment.toUtf8().constData());
            const QString where = text.context + u": \""_s + text.source + u'"';
            if (translated.isEmpty())
                faults.append(where + u" is not translated"_s);
            else if (placeholders(translated) != placeholders(text.source))
                faults.append(where + u" loses or adds a placeholder"_s);
            else if (mnemonics(translated) != mnemonics(text.source))
                faults.append(where + u" loses or adds a keyboard shortcut"_s);
            else if (translated.front().isSpace() != text.source.front().isSpace()
                     || translated.back().isSpace() != text.source.back().isSpace())
                faults.append(where + u" loses or adds the spacing at its ends"_s);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void germanLocaleShowsGermanMenus()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        installTranslators(*qApp);
        MainWindow window;
        QStringList titles;
        for (const QAction *menu : window.menuBar()->actions())
            titles.append(menu->text());

        QCOMPARE(titles, QStringList({u"&Datei"_s, u"&Bearbeiten"_s, u"&Ansicht"_s, u"&Wiedergabeliste"_s,
                                      u"P&räsentation"_s, u"&Einstellungen"_s, u"&Hilfe"_s}));
    }

    // The executable itself picks the language from the environment before it prints anything.
    void executableFollowsTheSystemLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("description");
        QTest::newRow("German") << u"de_DE.UTF-8"_s << u"Olvanti PDF-Leser und Präsentationssystem"_s;
        QTest::newRow("no catalogue keeps English") << u"fr_FR.UTF-8"_s << u"Olvanti PDF reader and presentation system"_s;
    }

    void executableFollowsTheSystemLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, description);
        QProcess app;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"LANGUAGE"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s})
            environment.remove(name);
        environment.insert(u"LANG"_s, language);
        app.setProcessEnvironment(environment);
        app.start(QString::fromLocal8Bit(OLVANTI_APP_PATH), {u"--help"_s});
        QVERIFY(app.waitForFinished(60000));

        QVERIFY2(QString::fromUtf8(app.readAllStandardOutput()).contains(description), qPrintable(language));
    }
};

OLVANTI_TEST_MAIN(TestTranslation)
#include "tst_translation.moc"
