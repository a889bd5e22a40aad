#include "readerlog.h"

Q_LOGGING_CATEGORY(lcReader, "olvanti.reader")
