#include "ui/aboutdialog.h"
#include "modal.h"
#include "testenv.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each test names its own notices file, if any.
    void init() { qunsetenv("OLVANTI_NOTICES_FILE"); }

    // Runs modally, logo to details in this order, and is discarded when closed.
    void aboutDialogRunsModallyAndDiscards()
    {
        QWidget window;
        QStringList seen;
        const auto answer = watchModal([&seen](QWidget *modal, ModalAnswer &) {
            for (int i = 0; i < 4; ++i)
                seen << modal->layout()->itemAt(i)->widget()->objectName();
            seen << modal->findChild<QLabel *>(u"aboutDetails"_s)->text();
            modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->click();
            return true;
        });
        showAboutDialog(&window);
        QCOMPARE(seen, (QStringList{u"aboutLogo"_s, u"aboutName"_s, u"aboutText"_s, u"aboutDetails"_s,
                                    u"Version 0.7  \u00B7  2026  \u00B7  olvanti.example"_s}));
        QVERIFY(window.findChildren<QDialog *>().isEmpty());
    }

    void locateNotices_data()
    {
        QTest::addColumn<QStringList>("present");  // relative to the top of a fake installation
        QTest::addColumn<QString>("expected");
        QTest::newRow("bundle resources first") << QStringList{u"Resources/N"_s, u"N"_s, u"bin/N"_s} << u"Resources/N"_s;
        QTest::newRow("parent before the executable's folder") << QStringList{u"N"_s, u"bin/N"_s} << u"N"_s;
        QTest::newRow("next to the executable") << QStringList{u"bin/N"_s, u"share/doc/olvanti-vivuderidazi/N"_s} << u"bin/N"_s;
        QTest::newRow("installed documentation") << QStringList{u"share/doc/olvanti-vivuderidazi/N"_s}
                                                 << u"share/doc/olvanti-vivuderidazi/N"_s;
        QTest::newRow("nowhere") << QStringList{} << QString();
    }

    void locateNotices()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir top;
        QVERIFY(QDir(top.path()).mkpath(u"Resources"_s) && QDir(top.path()).mkpath(u"bin"_s)
                && QDir(top.path()).mkpath(u"share/doc/olvanti-vivuderidazi"_s));
        const QString name = u"THIRD-PARTY-NOTICES.txt"_s;
        for (QString file : present)
            QVERIFY(QFile(top.filePath(file.replace(u"N"_s, name))).open(QIODevice::WriteOnly));
        const QString found = locateNoticesFile(top.filePath(u"bin"_s));
        QCOMPARE(found, expected.isEmpty() ? QString() : QDir::cleanPath(top.filePath(expected.replace(u"N"_s, name))));
    }

    void noticesViewerShowsTheShippedFile_data()
    {
        QTest::addColumn<bool>("shipped");
        QTest::newRow("the file shipped with the build") << true;
        QTest::newRow("no file: a box says so") << false;
    }

    // The notices, found from the build folder as from an installation, open modally over the
    // about dialog, which stays.
    void noticesViewerShowsTheShippedFile()
    {
        QFETCH(bool, shipped);
        QFile file(QStringLiteral(OLVANTI_BUILD_DIR "/THIRD-PARTY-NOTICES.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(file.readAll());
        for (const char *part : {"GNU LESSER GENERAL PUBLIC LICENSE", "Version 3, 29 June 2007", "Qt PDF", "PDFium",
                                 "Apache License", "FreeType", "HarfBuzz", "Unicode, Inc.", "libpng", "Jean-loup Gailly"})
            QVERIFY2(content.contains(QLatin1String(part)), part);
        if (!shipped)
            qputenv("OLVANTI_NOTICES_FILE", QFile::encodeName(TestEnvironment::instance().path(u"absent.txt"_s)));

        QWidget window;
        std::unique_ptr<QDialog> about(createAboutDialog(&window));
        about->show();
        QString shown;
        const auto answer = watchModal([&shown](QWidget *modal, ModalAnswer &) {
            const auto *view = modal->findChild<QPlainTextEdit *>(u"noticesText"_s);
            const auto *box = qobject_cast<QMessageBox *>(modal);
            shown = view && view->isReadOnly() ? view->toPlainText() : box ? box->text() : QString();
            modal->close();
            return true;
        });
        about->findChild<QPushButton *>(u"aboutNotices"_s)->click();
        QVERIFY(answer->answered && about->isVisible());
        QCOMPARE(shown, shipped ? content : u"The file THIRD-PARTY-NOTICES.txt was not found next to the application."_s);
    }
};

OLVANTI_TEST_MAIN(TestAbout)
#include "tst_about.moc"
