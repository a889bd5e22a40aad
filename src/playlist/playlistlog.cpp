#include "playlistlog.h"

Q_LOGGING_CATEGORY(lcPlaylist, "olvanti.playlist")
