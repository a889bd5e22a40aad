#pragma once

#include "base/limits.h"

#include <QString>

// One file of a playlist as the file formats exchange it: an absolute path and a countdown.
struct PlaylistEntry
{
    QString path;
    int minutes = 0; // 0 means no countdown; at most Limits::MaxEntryMinutes

    friend bool operator==(const PlaylistEntry &, const PlaylistEntry &) = default;
};
