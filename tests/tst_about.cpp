#include "ui/aboutdialog.h"
#include "testenv.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

class EnvironmentGuard final
{
public:
    EnvironmentGuard(const char *name, const QByteArray &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// Hands the next modal window to `inspect` once it is up; `inspect` must close it.
void whenModal(QObject *context, std::function<void(QWidget *)> inspect)
{
    auto *poll = new QTimer(context);
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, attempts, inspect] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && ++*attempts < 500)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            inspect(modal);
    });
    poll->start(10);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aboutDialogContents()
    {
        QWidget window;
        std::unique_ptr<QDialog> dialog(createAboutDialog(&window));
        QCOMPARE(dialog->parentWidget(), &window);
        QCOMPARE(dialog->objectName(), u"aboutDialog"_s);
        QCOMPARE(dialog->windowTitle(), u"About OlvantiVIVuderidazi"_s);
        QCOMPARE(dialog->layout()->contentsMargins(), QMargins(32, 24, 32, 24));
        QCOMPARE(dialog->layout()->spacing(), 10);

        // In layout order: logo, name, text, details, buttons.
        const QStringList order{u"aboutLogo"_s, u"aboutName"_s, u"aboutText"_s, u"aboutDetails"_s};
        for (int i = 0; i < order.size(); ++i) {
            QWidget *item = dialog->layout()->itemAt(i)->widget();
            QVERIFY(item);
            QCOMPARE(item->objectName(), order.at(i));
            QVERIFY(static_cast<QLabel *>(item)->alignment() & Qt::AlignHCenter);
        }
        QVERIFY(qobject_cast<QDialogButtonBox *>(dialog->layout()->itemAt(4)->widget()));

        const auto *logo = dialog->findChild<QLabel *>(u"aboutLogo"_s);
        QVERIFY(QFile::exists(u":/logo.png"_s));
        QCOMPARE(logo->pixmap().width(), 220);

        const auto *name = dialog->findChild<QLabel *>(u"aboutName"_s);
        QCOMPARE(name->text(), u"OlvantiVIVuderidazi"_s);
        QCOMPARE(name->styleSheet(), u"QLabel#aboutName { font-size: 18pt; font-weight: 600; }"_s);

        const auto *text = dialog->findChild<QLabel *>(u"aboutText"_s);
        QCOMPARE(text->text(),
                 u"PDF reader and presentation system with a playlist, a presenter view and a countdown timer."_s);
        QVERIFY(text->wordWrap());
        QCOMPARE(text->minimumWidth(), 320);

        QCOMPARE(dialog->findChild<QLabel *>(u"aboutDetails"_s)->text(),
                 u"Version 0.7  \u00B7  2026  \u00B7  olvanti.example"_s);

        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        QVERIFY(buttons->button(QDialogButtonBox::Close));
        auto *notices = dialog->findChild<QPushButton *>(u"aboutNotices"_s);
        QVERIFY(notices);
        QCOMPARE(notices->text(), u"Third-party notices"_s);
        QCOMPARE(buttons->buttonRole(notices), QDialogButtonBox::ActionRole);
    }

    void showRunsModallyAndDiscards()
    {
        QWidget window;
        QPointer<QWidget> seen;
        whenModal(this, [&seen](QWidget *modal) {
            seen = modal;
            if (auto *buttons = modal->findChild<QDialogButtonBox *>())
                buttons->button(QDialogButtonBox::Close)->click();
        });
        showAboutDialog(&window);
        // The dialog was the modal window, Close ended it, and it is gone afterwards.
        QVERIFY(seen.isNull());
        QVERIFY(window.findChildren<QDialog *>().isEmpty());
    }

    void locateNotices_data()
    {
        QTest::addColumn<QStringList>("present");  // relative to the top of a fake installation
        QTest::addColumn<QString>("expected");
        QTest::newRow("bundle resources first") << QStringList{u"Resources/N"_s, u"N"_s, u"bin/N"_s}
                                                << u"Resources/N"_s;
        QTest::newRow("only in the executable's parent") << QStringList{u"N"_s} << u"N"_s;
        QTest::newRow("parent before the executable's folder") << QStringList{u"N"_s, u"bin/N"_s} << u"N"_s;
        QTest::newRow("next to the executable") << QStringList{u"bin/N"_s} << u"bin/N"_s;
        QTest::newRow("nowhere") << QStringList{} << QString();
    }

    void locateNotices()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        const EnvironmentGuard unset("OLVANTI_NOTICES_FILE", QByteArray());
        QTemporaryDir top;
        const QString name = u"THIRD-PARTY-NOTICES.txt"_s;
        QDir().mkpath(top.filePath(u"bin"_s));
        for (QString file : present)
            QVERIFY(writeFile(top.filePath(file.replace(u"N"_s, name)), "notices"));
        const QString found = locateNoticesFile(top.filePath(u"bin"_s));
        QCOMPARE(found, expected.isEmpty() ? QString() : QDir::cleanPath(top.filePath(expected.replace(u"N"_s, name))));
    }

    void environmentNamesTheFileAsGiven()
    {
        const QString given = u"/nowhere/../my notices.txt"_s;
        const EnvironmentGuard named("OLVANTI_NOTICES_FILE", given.toUtf8());
        QCOMPARE(locateNoticesFile(u"/opt/app/bin"_s), given);
    }

    void noticesViewerShowsTheFile()
    {
        const QString path = TestEnvironment::instance().path(u"notices.txt"_s);
        const QString content = u"Component \u00A9 Zo\u00EB\n\ta very long line that must not be wrapped\n"_s;
        QVERIFY(writeFile(path, content.toUtf8()));
        const EnvironmentGuard named("OLVANTI_NOTICES_FILE", path.toUtf8());

        QWidget window;
        std::unique_ptr<QDialog> about(createAboutDialog(&window));
        about->show();
        QString objectName, title, text;
        QSize size;
        bool readOnly = false, wraps = true, fixedPitch = false;
        QWidget *parent = nullptr;
        whenModal(this, [&](QWidget *modal) {
            objectName = modal->objectName();
            title = modal->windowTitle();
            size = modal->size();
            parent = modal->parentWidget();
            if (auto *view = modal->findChild<QPlainTextEdit *>(u"noticesText"_s)) {
                text = view->toPlainText();
                readOnly = view->isReadOnly();
                wraps = view->lineWrapMode() != QPlainTextEdit::NoWrap;
                fixedPitch = QFontInfo(view->font()).fixedPitch();
            }
            if (auto *buttons = modal->findChild<QDialogButtonBox *>())
                buttons->button(QDialogButtonBox::Close)->click();
        });
        about->findChild<QPushButton *>(u"aboutNotices"_s)->click();

        QCOMPARE(objectName, u"noticesDialog"_s);
        QCOMPARE(title, u"Third-party notices"_s);
        QCOMPARE(size, QSize(760, 560));
        QCOMPARE(parent, &window);
        QCOMPARE(text, content);
        QVERIFY(readOnly);
        QVERIFY(!wraps);
        QVERIFY(fixedPitch);
        QVERIFY(about->isVisible());
        QVERIFY(window.findChildren<QDialog *>(u"noticesDialog"_s).isEmpty());
    }

    void missingNoticesFile()
    {
        const EnvironmentGuard named("OLVANTI_NOTICES_FILE",
                                     QFile::encodeName(TestEnvironment::instance().path(u"absent.txt"_s)));
        QWidget window;
        std::unique_ptr<QDialog> about(createAboutDialog(&window));
        about->show();
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenModal(this, [&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                box->button(QMessageBox::Ok)->click();
            } else {
                modal->close();
            }
        });
        about->findChild<QPushButton *>(u"aboutNotices"_s)->click();
        QCOMPARE(title, u"Third-party notices"_s);
        QCOMPARE(text, u"The file THIRD-PARTY-NOTICES.txt was not found next to the application."_s);
        QCOMPARE(icon, QMessageBox::Information);
        QVERIFY(about->isVisible());
    }
};

OLVANTI_TEST_MAIN(TestAbout)
#include "tst_about.moc"
