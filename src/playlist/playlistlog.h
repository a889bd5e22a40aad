#pragma once

#include <QLoggingCategory>

// The playlist subsystem: its files and packages, its operations and file switches.
Q_DECLARE_LOGGING_CATEGORY(lcPlaylist)
