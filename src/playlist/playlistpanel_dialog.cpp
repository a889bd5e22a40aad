#include "playlistpanel.h"

#include "playlist/playlist.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

void PlaylistPanel::openFileCountdownDialog(int row)
{
    if (row < 0 || row >= m_playlist->count()) {
        Q_EMIT statusMessage(tr("Select a file in the playlist first."), 4000);
        return;
    }
    const QString path = m_playlist->files().at(row);
    const int current = m_playlist->minutesFor(path);

    QDialog dialog(window());
    dialog.setObjectName(QStringLiteral("playlistTimeDialog"));
    dialog.setWindowTitle(tr("Countdown and end of the talk"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *name = new QLabel(QFileInfo(path).fileName());
    name->setStyleSheet(QStringLiteral("font-weight:bold;"));
    layout->addWidget(name);

    auto *enabled = new QCheckBox(tr("Start a countdown when this file begins"));
    enabled->setObjectName(QStringLiteral("playlistTimeEnabled"));
    enabled->setChecked(current > 0);
    layout->addWidget(enabled);

    auto *minutes = new QSpinBox;
    minutes->setObjectName(QStringLiteral("playlistTimeMinutes"));
    minutes->setRange(1, Limits::MaxEntryMinutes);
    minutes->setSuffix(tr(" min"));
    // Without a countdown yet, the presentation time is the likely choice.
    const int seconds = m_presentationSeconds ? m_presentationSeconds() : 0;
    minutes->setValue(current >= 1 ? current : std::clamp((seconds + 30) / 60, 1, Limits::MaxEntryMinutes));
    minutes->setEnabled(enabled->isChecked());
    connect(enabled, &QCheckBox::toggled, minutes, &QSpinBox::setEnabled);
    layout->addWidget(minutes);

    auto *presets = new QHBoxLayout;
    for (const int preset : {5, 10, 15, 20, 30, 40, 60}) {
        auto *button = new QPushButton(QString::number(preset));
        button->setObjectName(QStringLiteral("playlistTimePreset%1").arg(preset));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, &dialog, [enabled, minutes, preset] {
            enabled->setChecked(true);
            minutes->setValue(preset);
        });
        presets->addWidget(button);
    }
    layout->addLayout(presets);

    auto *note = new QLabel(tr("Without a countdown the running timer is not changed when this file begins."));
    note->setWordWrap(true);
    layout->addWidget(note);

    // Pages after the talk's end page are backup slides: Next on the end page goes on into
    // the next file, and Previous from there comes back to the end page.
    auto *endRow = new QHBoxLayout;
    endRow->addWidget(new QLabel(tr("The talk ends at page")));
    auto *endPage = new QSpinBox;
    endPage->setObjectName(QStringLiteral("playlistEndPage"));
    endPage->setRange(0, 99999);
    endPage->setSpecialValueText(tr("its last page"));
    endPage->setValue(m_playlist->endPageFor(path));
    endPage->setToolTip(tr("Later pages are backup slides, reached by page number or the overview."));
    endRow->addWidget(endPage, 1);
    layout->addLayout(endRow);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    if (dialog.exec() == QDialog::Accepted)
        Q_EMIT entrySettingsChosen(path, enabled->isChecked() ? minutes->value() : 0, endPage->value());
}
