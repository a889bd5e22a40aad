#include "playlistsupport.h"
#include "testenv.h"
#include "windowtest.h"

#include "playlist/playlist.h"
#include "playlist/playlistpanel.h"
#include "timer/countdown.h"
#include "ui/mainwindow.h"
#include "ui/playlistcontrol.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace PlaylistTest;
using namespace WindowTest;

namespace {

// A point on a row: on its countdown chip at the right end, or on its text at the left.
QPoint rowPoint(MainWindow &window, int row, bool chip)
{
    const QRect rect = list(window)->visualRect(PlaylistTest::row(window, row));
    return QPoint(chip ? rect.right() - 16 : rect.left() + 12, rect.center().y());
}

// Sets the countdown dialog up as `set` says and presses OK; `seen` gets what it showed first:
// whether the countdown is on, whether its minutes can be changed, the minutes and the file.
std::shared_ptr<ModalAnswer> answerCountdown(QString *seen, std::function<void(QDialog *)> set)
{
    return watchModal([seen, set](QWidget *modal, ModalAnswer &) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!dialog || dialog->objectName() != QStringLiteral("playlistTimeDialog"))
            return false;
        auto *minutes = dialog->findChild<QSpinBox *>(QStringLiteral("playlistTimeMinutes"));
        *seen = QStringLiteral("%1, %2 %3 min, %4")
                    .arg(dialog->findChild<QCheckBox *>(QStringLiteral("playlistTimeEnabled"))->isChecked() ? QStringLiteral("on") : QStringLiteral("off"),
                         minutes->isEnabled() ? QStringLiteral("editable") : QStringLiteral("fixed"))
                    .arg(minutes->value())
                    .arg(dialog->findChildren<QLabel *>().constFirst()->text());
        set(dialog);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        return true;
    });
}

bool visible(MainWindow &window, const char *name)
{
    return window.findChild<QWidget *>(QString::fromLatin1(name))->isVisible();
}

} // namespace

// The playlist panel: its rows, the countdown chip and dialog, dragging, collapsing.
class PlaylistPanelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useProductSettings(); }

    // The rows mark the current and the missing file; the chip sets and removes a file's countdown.
    void rowsAndTheirCountdownChip()
    {
        MainWindow window;
        const QStringList docs = documents(QStringLiteral("row"), 2);
        window.playlistControl()->addFiles(docs);
        window.playlistPanel()->setCollapsed(false, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(openAndWait(window, docs.at(1)));
        const QString marker = QString(QChar(0x25B6)) + QLatin1Char(' ');
        QCOMPARE(row(window, 0).data().toString(), QStringLiteral("1. row-1.pdf"));
        QVERIFY(!row(window, 0).data(Qt::FontRole).value<QFont>().bold());
        QCOMPARE(row(window, 1).data().toString(), marker + QStringLiteral("2. row-2.pdf"));
        QCOMPARE(row(window, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(QStringLiteral("#FF9C45")));
        QCOMPARE(row(window, 1).data(Qt::FontRole).value<QFont>().weight(), QFont::Bold);
        window.countdown()->setTimerSeconds(750);

        // Beside the chip a click selects; had it opened a dialog, that one would be answered first.
        QTest::mouseClick(list(window)->viewport(), Qt::LeftButton, {}, rowPoint(window, 1, false));
        QCOMPARE(currentRow(window), 1);
        QString seen;
        auto add = answerCountdown(&seen, [](QDialog *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("playlistTimePreset30"))->click();
        });
        QTest::mouseClick(list(window)->viewport(), Qt::LeftButton, {}, rowPoint(window, 0, true));
        QTRY_VERIFY(add->answered);
        QCOMPARE(seen, QStringLiteral("off, fixed 13 min, row-1.pdf")); // 12:30 rounds to 13 minutes
        QTRY_COMPARE(window.playlist()->minutesFor(docs.at(0)), 30);
        QCOMPARE(row(window, 0).data(Qt::UserRole + 1).toString(),
                 QString(QChar(0x23F1)) + QStringLiteral(" 30 min"));

        auto remove = answerCountdown(&seen, [](QDialog *dialog) {
            dialog->findChild<QCheckBox *>(QStringLiteral("playlistTimeEnabled"))->setChecked(false);
        });
        QTest::mouseClick(list(window)->viewport(), Qt::LeftButton, {}, rowPoint(window, 0, true));
        QTRY_VERIFY(remove->answered);
        QCOMPARE(seen, QStringLiteral("on, editable 30 min, row-1.pdf"));
        QTRY_COMPARE(window.playlist()->minutesFor(docs.at(0)), 0);
        QVERIFY(row(window, 0).data(Qt::UserRole + 1).isNull());

        window.playlistPanel()->openFileCountdownDialog(2);
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Select a file in the playlist first."));

        // Missing wins over current: red, still marked and bold.
        QFile::remove(docs.at(1));
        window.playlistPanel()->refresh();
        QCOMPARE(row(window, 1).data().toString(), marker + QStringLiteral("2. row-2.pdf  (missing)"));
        QCOMPARE(row(window, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(QStringLiteral("#FF6B6B")));
        QCOMPARE(row(window, 1).data(Qt::FontRole).value<QFont>().weight(), QFont::Bold);
    }

    void collapsingGivesBackTheWidthTheWindowTook()
    {
        MainWindow window;
        const QRect available = window.screen()->availableGeometry();
        window.resize(1000, 700);
        window.move(available.right() - 1050, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *panel = window.playlistPanel();
        auto *splitter = window.findChild<QSplitter *>(QStringLiteral("rootSplitter"));
        QCOMPARE(panel->width(), PlaylistPanel::CollapsedWidth);
        QVERIFY(visible(window, "playlistVerticalTitle") && !visible(window, "playlistBody") && !visible(window, "playlistTitle"));

        auto *toggle = window.findChild<QToolButton *>(QStringLiteral("playlistToggle"));
        toggle->click();
        QTRY_COMPARE(panel->maximumWidth(), QWIDGETSIZE_MAX);
        QCOMPARE(splitter->sizes().constFirst(), 260);
        QCOMPARE(window.width(), 1230);
        // The grown window moved left to stay on the screen.
        QTRY_VERIFY(window.frameGeometry().right() <= available.right());
        QVERIFY(visible(window, "playlistBody") && !visible(window, "playlistVerticalTitle"));

        // A narrow panel is remembered as 180; the window gives back only what the panel took.
        splitter->setSizes({170, splitter->sizes().at(1), splitter->sizes().at(2) + 90});
        QTRY_COMPARE(panel->width(), 170);
        toggle->click();
        QTRY_VERIFY(visible(window, "playlistVerticalTitle"));
        QCOMPARE(panel->width(), PlaylistPanel::CollapsedWidth);
        QCOMPARE(panel->expandedWidth(), 180);
        QCOMPARE(window.width(), 1230 - 140);
        QCOMPARE(panel->grownWidth(), 90);
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(PlaylistPanelTest, R"([{"name":"Wide","x":0,"y":0,"width":1920,"height":1080,
    "logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_playlistpanel.moc"
