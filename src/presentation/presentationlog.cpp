#include "presentationlog.h"

Q_LOGGING_CATEGORY(lcPresentation, "olvanti.presentation")
