#include "input/action.h"

#include <QCoreApplication>

#include <array>

namespace {

struct ActionInfo
{
    Action action;
    const char *name;
    QList<QKeyCombination> keys;
};

// Display names live in the generic "Action" context so every window shares one translation.
const std::array<ActionInfo, 17> &actionTable()
{
    static const std::array<ActionInfo, 17> table{{
        {Action::NextSlide, QT_TRANSLATE_NOOP("Action", "Next slide"),
         {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space}},
        {Action::PreviousSlide, QT_TRANSLATE_NOOP("Action", "Previous slide"),
         {Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Up}},
        {Action::FirstSlide, QT_TRANSLATE_NOOP("Action", "First slide"), {Qt::Key_Home}},
        {Action::LastSlide, QT_TRANSLATE_NOOP("Action", "Last slide"), {Qt::Key_End}},
        {Action::NextReaderPage, QT_TRANSLATE_NOOP("Action", "Go to next reader page"),
         {Qt::ControlModifier | Qt::Key_Right}},
        {Action::PreviousReaderPage, QT_TRANSLATE_NOOP("Action", "Go to previous reader page"),
         {Qt::ControlModifier | Qt::Key_Left}},
        // Many clickers send "." from their blackout button.
        {Action::ToggleBlackout, QT_TRANSLATE_NOOP("Action", "Blackout / resume output"), {Qt::Key_B, Qt::Key_Period}},
        {Action::ToggleTimer, QT_TRANSLATE_NOOP("Action", "Start / pause timer"), {Qt::Key_T}},
        {Action::ExitPresentation, QT_TRANSLATE_NOOP("Action", "Exit presentation"), {Qt::Key_Escape}},
        {Action::TimerPlusMinute, QT_TRANSLATE_NOOP("Action", "Timer +1 minute"),
         {Qt::ShiftModifier | Qt::Key_Up}},
        {Action::TimerMinusMinute, QT_TRANSLATE_NOOP("Action", "Timer -1 minute"),
         {Qt::ShiftModifier | Qt::Key_Down}},
        {Action::TimerPlusTenSeconds, QT_TRANSLATE_NOOP("Action", "Timer +10 seconds"),
         {Qt::ShiftModifier | Qt::Key_Right}},
        {Action::TimerMinusTenSeconds, QT_TRANSLATE_NOOP("Action", "Timer -10 seconds"),
         {Qt::ShiftModifier | Qt::Key_Left}},
        {Action::ResetTimer, QT_TRANSLATE_NOOP("Action", "Reset timer"), {Qt::Key_R}},
        {Action::ReturnFromJump, QT_TRANSLATE_NOOP("Action", "Return to the page before the jump"), {Qt::Key_Backspace}},
        {Action::ShowOverview, QT_TRANSLATE_NOOP("Action", "Overview of all pages"), {Qt::Key_O}},
        // No key by default: a stray press would move the audience's picture.
        {Action::SwapDisplay, QT_TRANSLATE_NOOP("Action", "Move output to the other display"), {}},
    }};
    return table;
}

const ActionInfo *infoFor(Action action)
{
    for (const ActionInfo &info : actionTable()) {
        if (info.action == action)
            return &info;
    }
    return nullptr;
}

} // namespace

QString actionName(Action action)
{
    const ActionInfo *info = infoFor(action);
    return info ? QCoreApplication::translate("Action", info->name) : QString();
}

QList<Action> bindableActionList()
{
    QList<Action> actions;
    actions.reserve(int(actionTable().size()));
    for (const ActionInfo &info : actionTable())
        actions.append(info.action);
    return actions;
}

bool isBindable(Action action)
{
    return infoFor(action) != nullptr;
}

BindingTable defaultBindingTable()
{
    BindingTable table;
    for (const ActionInfo &info : actionTable()) {
        QList<QKeySequence> keys;
        for (const QKeyCombination combination : info.keys)
            keys.append(QKeySequence(combination));
        table.insert(info.action, keys);
    }
    return table;
}

void registerActionMetaType()
{
    qRegisterMetaType<Action>("Action");
}
