#include "timer/timerbar.h"

#include "timer/arrowbutton.h"
#include "timer/countdown.h"
#include "timer/timerlabel.h"
#include "timer/timerpanel.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int ClockInterval = 200;
constexpr int PresetMinutes[] = {5, 10, 15, 20, 30, 40, 60};

QPushButton *makeButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new TimerButton(text, parent);
    button->setObjectName(name);
    return button;
}

void showCountdown(const Countdown &countdown, TimerPanel *panel, TimerLabel *label, QPushButton *start)
{
    const QString text = countdown.text();
    if (text != label->text()) {
        const bool lengthChanged = text.size() != label->text().size();
        label->setText(text);
        // Same length means same probe text, so the fitted size cannot change.
        if (lengthChanged)
            label->refit();
    }
    start->setText(countdown.startText());
    panel->setDisplayState(countdown.overtimeShown(), countdown.warning());
}

} // namespace

QWidget *buildTimerBar(Countdown *countdown, QWidget *parent)
{
    Q_ASSERT(countdown);
    auto *panel = new TimerPanel(parent);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(3);

    auto *label = new TimerLabel(panel);
    layout->addWidget(label);

    auto *controls = new QHBoxLayout;
    controls->setSpacing(3);
    QPushButton *start = makeButton(QStringLiteral("timerStart"), TimerPanel::tr("Start"), panel);
    QPushButton *reset = makeButton(QStringLiteral("timerReset"), TimerPanel::tr("Reset"), panel);
    controls->addWidget(start);
    controls->addWidget(reset);
    layout->addLayout(controls);

    auto *presets = new QHBoxLayout;
    presets->setSpacing(4);
    layout->addLayout(presets);

    // The countdown may go before the widgets during tear-down.
    const QPointer<Countdown> model(countdown);
    const auto adjust = [model](int deltaSeconds) {
        if (model)
            model->adjust(deltaSeconds);
    };
    label->setAdjustCallback(adjust);
    panel->setAdjustCallback(adjust);

    for (const int minutes : PresetMinutes) {
        QPushButton *preset = makeButton(QStringLiteral("timerPreset%1").arg(minutes), QString::number(minutes), panel);
        preset->setToolTip(TimerPanel::tr("Set the presentation time to %1 minutes").arg(minutes));
        preset->setFocusPolicy(Qt::NoFocus);
        presets->addWidget(preset);
        QObject::connect(preset, &QPushButton::clicked, countdown, [model, minutes] { model->applyPreset(minutes); });
    }

    QObject::connect(start, &QPushButton::clicked, countdown, &Countdown::toggleTimer);
    QObject::connect(reset, &QPushButton::clicked, countdown, &Countdown::resetTimer);
    QObject::connect(label->upButton(), &ArrowButton::clicked, countdown, [adjust] { adjust(60); });
    QObject::connect(label->downButton(), &ArrowButton::clicked, countdown, [adjust] { adjust(-60); });

    QObject::connect(countdown, &Countdown::displayChanged, panel,
                     [model, panel, label, start] { showCountdown(*model, panel, label, start); });

    auto *clock = new QTimer(panel);
    clock->setInterval(ClockInterval);
    QObject::connect(clock, &QTimer::timeout, countdown, &Countdown::tick);
    clock->start();

    panel->watchChildren();
    showCountdown(*countdown, panel, label, start);
    return panel;
}
