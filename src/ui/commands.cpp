#include "ui/commands.h"

#include "presentation/outputcontrol.h"
#include "show/show.h"
#include "timer/countdown.h"
#include "ui/buttons.h"

#include <QAbstractButton>
#include <QAction>

#include <functional>
#include <utility>

Commands::Commands(Show *show, OutputControl *output, Countdown *countdown, QObject *parent)
    : QObject(parent)
{
    const auto step = [countdown](int seconds) {
        return [countdown, seconds] { countdown->setTimerSeconds(countdown->durationSeconds() + seconds); };
    };
    const QList<std::tuple<Action, QString, std::function<void()>>> commands = {
        {Action::PreviousSlide, tr("Previous"), [show] { show->previous(); }},
        {Action::NextSlide, tr("Next"), [show] { show->next(); }},
        {Action::FirstSlide, tr("First slide"), [show] { show->first(); }},
        {Action::LastSlide, tr("Last slide"), [show] { show->last(); }},
        {Action::PreviousReaderPage, actionName(Action::PreviousReaderPage), [show] { show->previousReaderPage(); }},
        {Action::NextReaderPage, actionName(Action::NextReaderPage), [show] { show->nextReaderPage(); }},
        {Action::ToggleBlackout, tr("Blackout"), [show] { show->toggleBlackout(); }},
        {Action::ExitPresentation, tr("Exit presentation"),
         [show, output] {
             if (show->confirmStop())
                 output->closeOutput();
         }},
        {Action::ReturnFromJump, tr("Return to the page before the jump"), [show] { show->returnFromJump(); }},
        {Action::ShowOverview, tr("Overview of all pages..."), [this] { Q_EMIT overviewRequested(); }},
        {Action::SwapDisplay, actionName(Action::SwapDisplay), [output] { output->swapDisplay(); }},
        {Action::ToggleTimer, tr("Start timer"), [countdown] { countdown->toggleTimer(); }},
        {Action::ResetTimer, tr("Reset timer"), [countdown] { countdown->resetTimer(); }},
        {Action::TimerPlusMinute, tr("+1 minute"), step(60)},
        {Action::TimerMinusMinute, tr("-1 minute"), step(-60)},
        {Action::TimerPlusTenSeconds, tr("+10 seconds"), step(10)},
        {Action::TimerMinusTenSeconds, tr("-10 seconds"), step(-10)},
    };
    for (const auto &[command, text, effect] : commands) {
        auto *action = new QAction(text, this);
        action->setMenuRole(QAction::NoRole);
        connect(action, &QAction::triggered, this, [this, command = command, effect = effect] {
            flash(command);
            effect();
        });
        m_actions.insert(command, action);
    }
}

void Commands::bindButton(Action command, QAbstractButton *button)
{
    addFlash(command, button);
    QAction *target = action(command);
    connect(button, &QAbstractButton::clicked, target, [this, button, target] {
        m_clicked = button;
        target->trigger();
        m_clicked = nullptr;
    });
}

void Commands::bindAction(Action command, QAction *source)
{
    QAction *target = action(command);
    connect(source, &QAction::triggered, target, [this, source, target] {
        m_source = source;
        target->trigger();
        m_source = nullptr;
    });
    for (QObject *object : source->associatedObjects())
        addFlash(command, qobject_cast<QAbstractButton *>(object));
}

void Commands::addFlash(Action command, QAbstractButton *button)
{
    if (button)
        m_flashes[command].append(button);
}

void Commands::flash(Action command)
{
    for (const QPointer<QAbstractButton> &button : std::as_const(m_flashes[command])) {
        if (button && button != m_clicked && !(m_source && m_source->associatedObjects().contains(button)))
            flashButton(button);
    }
}
