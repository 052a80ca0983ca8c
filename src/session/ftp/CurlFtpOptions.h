#pragma once

#include "session/ftp/ListingCollector.h"

#include <QtGlobal>
#include <chrono>

namespace vendrel {

// Limits of the libcurl FTP service. Nothing waits longer than these: a
// server that does not answer or a transfer that stalls fails instead.
// Tests shorten them.
struct CurlFtpOptions {
    std::chrono::milliseconds connectTimeout{30'000}; // a whole connect: TCP, greeting and login
    std::chrono::seconds serverResponseTimeout{60};   // any other reply of the server
    // A whole listing or command, however busy the server keeps it;
    // transfers have none, since a big file may take hours.
    std::chrono::milliseconds callDeadline{60'000};
    std::chrono::seconds stalledTransferTimeout{60}; // a transfer that moves no byte that long fails
    qsizetype transferQueueBytes = 1024 * 1024;      // bytes in transit between a transfer and its caller
    ListingLimits listingLimits;                     // a listing past these fails
};

} // namespace vendrel
