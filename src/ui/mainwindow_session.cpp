#include "mainwindow.h"

#include "timer/countdown.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSaveFile>
#include <QStatusBar>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

QString duration(qint64 ms)
{
    return Countdown::formatClock(int(ms / 1000));
}

} // namespace

void MainWindow::showClocks()
{
    QString text = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    if (m_show->programmeBegun()) {
        text += QStringLiteral("     ") + tr("talk %1").arg(duration(m_show->talkElapsed())) + QStringLiteral("     ")
                + tr("programme %1").arg(duration(m_show->programmeElapsed()));
    }
    m_clockStrip->setText(text);
}

void MainWindow::exportTimingReport()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Export timing report"), QString(),
                                                      tr("CSV table (*.csv)"));
    if (path.isEmpty())
        return;
    const QByteArray report = m_show->timingReport().toUtf8();
    QSaveFile file(path);
    // Every write and the final flush are checked: a full disk is never reported as success.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(report) == report.size() && file.flush()
                         && file.commit();
    if (!written) {
        QMessageBox box(QMessageBox::Warning, tr("Timing report"),
                        tr("The timing report could not be written: %1").arg(file.errorString()), QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return;
    }
    statusBar()->showMessage(tr("Timing report written: %1").arg(path), 6000);
}

void MainWindow::countDownToTimeOfDay()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("timeOfDayDialog"));
    dialog.setWindowTitle(tr("Count down to a time of day"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("The countdown ends at:")));
    auto *end = new QTimeEdit(QTime::currentTime().addSecs(m_countdown->durationSeconds()));
    end->setObjectName(QStringLiteral("timeOfDay"));
    end->setDisplayFormat(QStringLiteral("HH:mm"));
    layout->addWidget(end);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The next time it is that time of day: today, or tomorrow when today's has passed.
    QDateTime at(QDate::currentDate(), end->time());
    if (at <= QDateTime::currentDateTime())
        at = at.addDays(1);
    m_countdown->runUntil(at.toMSecsSinceEpoch());
}
