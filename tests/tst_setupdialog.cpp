#include "ui/setupdialog.h"
#include "base/appsettings.h"
#include "presentation/displaymanager.h"
#include "screens.h"
#include "testenv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestSetupDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_store.clear(); }

    void unavailableDisplayIsReportedButKept()
    {
        build();
        QSignalSpy messages(m_dialog.get(), &SetupDialog::statusMessage);
        m_dialog->refillDisplays();
        QVERIFY(messages.isEmpty());
        m_store.setValue(u"output/display"_s, u"Projector|Acme|P1|42"_s);
        m_dialog->refillDisplays();
        const QVariantList warning{u"Preferred output display unavailable; choose a replacement before opening output."_s, 15000};
        QCOMPARE(messages, QList<QVariantList>{warning});
        // A fallback changes the selection, never the stored preference.
        QCOMPARE(m_store.value(u"output/display"_s).toString(), u"Projector|Acme|P1|42"_s);
    }

    // Each control writes its setting at once and tells the window; stored values out of range
    // are limited to what the controls offer and written back.
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

private:
    void build() { m_dialog = std::make_unique<SetupDialog>(m_settings, nullptr); }

    // A missing control crashes the test, which fails it as clearly as a check would.
    QPushButton *toggle() const { return m_dialog->findChild<QPushButton *>(u"outputToggle"_s); }
    QComboBox *scaling() const { return m_dialog->findChild<QComboBox *>(u"scalingChoice"_s); }
    QComboBox *effect() const { return m_dialog->findChild<QComboBox *>(u"transitionChoice"_s); }
    QSpinBox *duration() const { return m_dialog->findChild<QSpinBox *>(u"transitionDuration"_s); }

    QSettings m_store{TestEnvironment::instance().path(u"setup.ini"_s), QSettings::IniFormat};
    AppSettings m_settings{m_store};
    std::unique_ptr<SetupDialog> m_dialog;
};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestSetupDialog, TestScreens::ScreensAB)
#include "tst_setupdialog.moc"
