#pragma once

// The ranges every layer shares: the settings store clamps to them, the models and dialogs
// offer no more.
namespace Limits {

// The countdown: ten hours.
inline constexpr int MaxTimerSeconds = 36000;
// One playlist entry's own countdown.
inline constexpr int MaxEntryMinutes = 600;
inline constexpr int MaxRecent = 12;
// The page transitions of the output (None, Fade, Dip, Slide, Wipe, Zoom) and their duration.
inline constexpr int TransitionCount = 6;
inline constexpr int MaxTransitionMs = 3000;
// The windowed output's size presets (1280 x 720, 1920 x 1080, free).
inline constexpr int OutputWindowSizes = 3;
// The clicker's minimum interval between two presses of the same key.
inline constexpr int MaxDebounceMs = 1000;

} // namespace Limits
