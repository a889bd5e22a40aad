#pragma once

#include <QString>

// One file of a playlist as the file formats exchange it: an absolute path and a countdown.
struct PlaylistEntry
{
    static constexpr int MaxMinutes = 600;

    QString path;
    int minutes = 0; // 0 means no countdown

    friend bool operator==(const PlaylistEntry &, const PlaylistEntry &) = default;
};
