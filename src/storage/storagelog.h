#pragma once

#include <QLoggingCategory>

// Saving files: what could not be written and why.
Q_DECLARE_LOGGING_CATEGORY(lcStorage)
