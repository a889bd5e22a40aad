#pragma once

#include <QLoggingCategory>

// The show: where it stands, its file switches and its commands.
Q_DECLARE_LOGGING_CATEGORY(lcShow)
