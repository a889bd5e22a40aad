#pragma once

#include <QKeySequence>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>

// Everything an operator can do from a keyboard or a clicker. The numbers are part of the
// stored settings ("input/keys/<number>"), so they never change; 6 and 8 are unused.
enum class Action : int {
    NextSlide = 0,
    PreviousSlide = 1,
    FirstSlide = 2,
    LastSlide = 3,
    NextReaderPage = 4,
    PreviousReaderPage = 5,
    ToggleBlackout = 7,
    ToggleTimer = 9,
    ExitPresentation = 10,
    TimerPlusMinute = 11,
    TimerMinusMinute = 12,
    TimerPlusTenSeconds = 13,
    TimerMinusTenSeconds = 14,
    ResetTimer = 15,
    ReturnFromJump = 16,
    ShowOverview = 17,
    SwapDisplay = 18,
};

Q_DECLARE_METATYPE(Action)

// Each action's key combinations in order; an empty list leaves the action unassigned.
// Implicitly shared, so a snapshot costs nothing until one side changes.
using BindingTable = QMap<Action, QList<QKeySequence>>;

// The translated display name; empty for 6, 8 and values outside 0..18.
QString actionName(Action action);

// The bindable actions in the order used for matching, validation, storage and display.
QList<Action> bindableActionList();
bool isBindable(Action action);

BindingTable defaultBindingTable();

// Registers the meta type under the name "Action" (for queued connections and QVariant).
void registerActionMetaType();
