#pragma once

#include "session/ftp/ListingCollector.h"

#include <QtGlobal>
#include <chrono>

namespace vendrel {

// Limits of the libcurl FTP service. Nothing waits longer than these: a
// server that does not answer or a transfer that stalls fails instead.
// Tests shorten them.
struct CurlFtpOptions {
    std::chrono::milliseconds connectTimeout{30'000}; // TCP connect and the server's greeting
    std::chrono::seconds serverResponseTimeout{60};   // any other reply of the server
    std::chrono::seconds stalledTransferTimeout{60};  // a transfer that moves no byte that long fails
    qsizetype transferQueueBytes = 1024 * 1024;       // bytes in transit between a transfer and its caller
    ListingLimits listingLimits;                      // a listing past these fails
};

} // namespace vendrel
