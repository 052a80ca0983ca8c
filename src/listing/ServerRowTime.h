#pragma once

#include "listing/RowFormat.h"
#include "session/ftp/FtpService.h"

namespace vendrel {

// How a server entry's time is shown: an instant in the user's zone, a day
// alone, or the server's clock as written.
inline ShownTime shownTimeOf(ServerTime kind)
{
    switch (kind) {
    case ServerTime::Utc: return ShownTime::InLocalTime;
    case ServerTime::DateOnly: return ShownTime::DateOnly;
    case ServerTime::AsWritten: break;
    }
    return ShownTime::AsWritten;
}

} // namespace vendrel
