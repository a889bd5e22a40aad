#pragma once

// The painted icons of the presenter controls and the playlist panel.
enum class IconKind {
    Previous,
    Next,
    Blackout,       // the output is showing: the button blanks it
    BlackoutActive, // the output is black: the button resumes it
    OpenPlaylist,
    SavePlaylist,
    ExportPackage,
    ImportPackage,
    Back,
};

inline constexpr int IconKindCount = int(IconKind::Back) + 1;
