#pragma once

class Countdown;
class QWidget;

// Builds the timer bar ("timerBar") as the presenter's control panel shows it: the clock
// "timer" with its arrows "timerUp" and "timerDown", "timerStart", "timerReset" and the
// presets "timerPreset5" ... "timerPreset60", all driving `countdown`. The bar also owns
// the 200 ms clock that ticks the countdown while the bar exists. `countdown` must not be null.
QWidget *buildTimerBar(Countdown *countdown, QWidget *parent = nullptr);
