#include "ui/setupdialog.h"
#include "presentation/displaymanager.h"
#include "testenv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString identityOfScreen(int index)
{
    return DisplayManager::screenIdentity(QGuiApplication::screens().at(index));
}

} // namespace

class TestSetupDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        static int run = 0;
        m_store = std::make_unique<QSettings>(TestEnvironment::instance().path(u"setup-%1.ini"_s.arg(++run)),
                                              QSettings::IniFormat);
    }

    void cleanup()
    {
        m_dialog.reset();
        m_store.reset();
    }

    void layoutAndInitialState()
    {
        QCOMPARE(QGuiApplication::screens().size(), 2);
        build();
        QCOMPARE(m_dialog->objectName(), u"setupDialog"_s);
        QCOMPARE(m_dialog->windowTitle(), u"Setup"_s);
        QVERIFY(!m_dialog->isModal());
        QStringList labels;
        for (const QLabel *label : m_dialog->findChildren<QLabel *>())
            labels << label->text();
        for (const QString &text : {u"External screen"_s, u"Display"_s, u"Output"_s, u"Scaling"_s,
                                    u"Page transition"_s, u"Effect"_s, u"Duration"_s, u"Timer"_s})
            QVERIFY2(labels.contains(text), qPrintable(text));

        QCOMPARE(display()->count(), 2);
        QCOMPARE(display()->itemData(0).toString(), identityOfScreen(0));
        QVERIFY(toggle()->isCheckable());
        QVERIFY(!toggle()->isChecked());
        QCOMPARE(toggle()->text(), u"Output OFF"_s);
        QCOMPARE(itemsOf(scaling()), QStringList({u"Fit page (preserve all content)"_s,
                                                  u"Fit width (may crop vertically)"_s}));
        QCOMPARE(scaling()->currentIndex(), 0);
        QCOMPARE(itemsOf(effect()), QStringList({u"None"_s, u"Fade"_s, u"Dip to black"_s, u"Slide"_s,
                                                 u"Wipe"_s, u"Zoom"_s}));
        QCOMPARE(effect()->currentIndex(), 1);
        QCOMPARE(duration()->value(), 400);
        QCOMPARE(duration()->singleStep(), 50);
        QCOMPARE(duration()->suffix(), u" ms"_s);
        QCOMPARE(autoStart()->text(), u"Start timer when output opens"_s);
        QVERIFY(!autoStart()->isChecked());
        QVERIFY(!m_dialog->autoStartTimer());
    }

    void displaySelection_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("warned");
        QTest::newRow("nothing stored: the second screen") << QString() << 1 << false;
        QTest::newRow("stored first screen is found again") << identityOfScreen(0) << 0 << false;
        QTest::newRow("stored screen is unplugged: fallback and warning") << u"Projector|Acme|P1|42"_s << 1 << true;
        QTest::newRow("identity differs only in case") << identityOfScreen(0).toLower() << 1 << true;
    }

    void displaySelection()
    {
        QFETCH(QString, stored);
        QFETCH(int, selected);
        QFETCH(bool, warned);
        if (!stored.isNull())
            m_store->setValue(u"output/display"_s, stored);
        build();
        QSignalSpy messages(m_dialog.get(), &SetupDialog::statusMessage);
        QSignalSpy chosen(m_dialog.get(), &SetupDialog::displayChosen);
        m_dialog->refillDisplays();
        QCOMPARE(display()->currentIndex(), selected);
        QCOMPARE(m_dialog->selectedScreenIndex(), selected);
        QCOMPARE(chosen.size(), 0);
        QCOMPARE(messages.size(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(messages.at(0).at(0).toString(),
                     u"Preferred output display unavailable; choose a replacement before opening output."_s);
            QCOMPARE(messages.at(0).at(1).toInt(), 15000);
        }
        // A fallback changes the selection, never the stored preference.
        QCOMPARE(m_store->value(u"output/display"_s).toString(), stored);
    }

    void pickingADisplayStoresIt()
    {
        m_store->setValue(u"output/display"_s, u"Projector|Acme|P1|42"_s);
        build();
        QSignalSpy chosen(m_dialog.get(), &SetupDialog::displayChosen);
        QCOMPARE(display()->currentIndex(), 1);
        QTest::keyClick(display(), Qt::Key_Up);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), identityOfScreen(0));
        QCOMPARE(m_store->value(u"output/display"_s).toString(), identityOfScreen(0));
    }

    void outputToggle()
    {
        build();
        QSignalSpy clicked(m_dialog.get(), &SetupDialog::outputToggleClicked);
        QTest::mouseClick(toggle(), Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toBool(), true);

        m_dialog->setOutputShown(true);
        QVERIFY(toggle()->isChecked());
        QCOMPARE(toggle()->text(), u"Output ON"_s);
        m_dialog->setOutputShown(false);
        QVERIFY(!toggle()->isChecked());
        QCOMPARE(toggle()->text(), u"Output OFF"_s);
        QCOMPARE(clicked.size(), 1);
    }

    void scalingWritesFitWidth()
    {
        m_store->setValue(u"output/fitWidth"_s, true);
        build();
        QCOMPARE(scaling()->currentIndex(), 1);
        QSignalSpy changed(m_dialog.get(), &SetupDialog::fitWidthChanged);
        scaling()->setCurrentIndex(0);
        QCOMPARE(m_store->value(u"output/fitWidth"_s).toBool(), false);
        scaling()->setCurrentIndex(1);
        QCOMPARE(m_store->value(u"output/fitWidth"_s).toBool(), true);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.at(0).at(0).toBool(), false);
        QCOMPARE(changed.at(1).at(0).toBool(), true);
    }

    void storedTransitionIsLimitedAndWrittenBack_data()
    {
        QTest::addColumn<int>("storedEffect");
        QTest::addColumn<int>("storedMs");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("ms");
        QTest::newRow("nothing stored") << -100 << -100 << 1 << 400;
        QTest::newRow("effect past the list selects Zoom") << 9 << 400 << 5 << 400;
        QTest::newRow("negative effect selects None") << -1 << 400 << 0 << 400;
        QTest::newRow("duration below the box minimum") << 2 << 20 << 2 << 100;
        QTest::newRow("duration above the maximum") << 2 << 5000 << 2 << 3000;
    }

    void storedTransitionIsLimitedAndWrittenBack()
    {
        QFETCH(int, storedEffect);
        QFETCH(int, storedMs);
        QFETCH(int, effect);
        QFETCH(int, ms);
        if (storedEffect != -100) {
            m_store->setValue(u"transition/effect"_s, storedEffect);
            m_store->setValue(u"transition/ms"_s, storedMs);
        }
        build();
        QCOMPARE(this->effect()->currentIndex(), effect);
        QCOMPARE(duration()->value(), ms);
        QCOMPARE(m_store->value(u"transition/effect"_s).toInt(), effect);
        QCOMPARE(m_store->value(u"transition/ms"_s).toInt(), ms);

        QSignalSpy changed(m_dialog.get(), &SetupDialog::transitionChanged);
        m_dialog->applyTransition();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0), QVariantList({effect, ms}));
    }

    void transitionChangesWriteAndEmit()
    {
        build();
        QSignalSpy changed(m_dialog.get(), &SetupDialog::transitionChanged);
        effect()->setCurrentIndex(3);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0), QVariantList({3, 400}));
        QCOMPARE(m_store->value(u"transition/effect"_s).toInt(), 3);

        duration()->stepUp();
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.at(1), QVariantList({3, 450}));
        QCOMPARE(m_store->value(u"transition/ms"_s).toInt(), 450);
        QCOMPARE(m_dialog->transitionEffect(), 3);
        QCOMPARE(m_dialog->transitionMs(), 450);
    }

    void durationStaysWithinLimits_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("expected");
        QTest::newRow("stepping below the minimum") << 150 << -3 << 100;
        QTest::newRow("stepping above the maximum") << 2950 << 3 << 3000;
    }

    void durationStaysWithinLimits()
    {
        QFETCH(int, start);
        QFETCH(int, steps);
        QFETCH(int, expected);
        build();
        duration()->setValue(start);
        duration()->stepBy(steps);
        QCOMPARE(duration()->value(), expected);
        QCOMPARE(m_store->value(u"transition/ms"_s).toInt(), expected);
    }

    void autoStartIsStored()
    {
        m_store->setValue(u"timer/autoStart"_s, true);
        build();
        QVERIFY(autoStart()->isChecked());
        QVERIFY(m_dialog->autoStartTimer());
        autoStart()->click();
        QCOMPARE(m_store->value(u"timer/autoStart"_s).toBool(), false);
        QVERIFY(!m_dialog->autoStartTimer());
    }

private:
    void build()
    {
        m_dialog = std::make_unique<SetupDialog>(*m_store, nullptr);
    }

    template<typename T>
    T *child(const QString &name) const
    {
        T *found = m_dialog->findChild<T *>(name);
        if (!found)
            qFatal("setup dialog has no %s", qPrintable(name));
        return found;
    }

    QComboBox *display() const { return child<QComboBox>(u"displayChoice"_s); }
    QPushButton *toggle() const { return child<QPushButton>(u"outputToggle"_s); }
    QComboBox *scaling() const { return child<QComboBox>(u"scalingChoice"_s); }
    QComboBox *effect() const { return child<QComboBox>(u"transitionChoice"_s); }
    QSpinBox *duration() const { return child<QSpinBox>(u"transitionDuration"_s); }
    QCheckBox *autoStart() const { return child<QCheckBox>(u"timerAutoStart"_s); }

    static QStringList itemsOf(const QComboBox *box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<SetupDialog> m_dialog;
};

OLVANTI_TEST_MAIN_WITH_SCREENS(TestSetupDialog, R"([
    {"name":"A","x":0,"y":0,"width":1280,"height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
    {"name":"B","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_setupdialog.moc"
