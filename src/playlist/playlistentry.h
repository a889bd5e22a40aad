#pragma once

#include "base/limits.h"

#include <QString>

// One file of a playlist as the file formats exchange it: an absolute path and a countdown.
struct PlaylistEntry
{
    QString path;
    int minutes = 0; // 0 means no countdown; at most Limits::MaxEntryMinutes
    int endPage = 0; // the talk's last page, counted from 1; 0 means the document's last

    friend bool operator==(const PlaylistEntry &, const PlaylistEntry &) = default;
};
