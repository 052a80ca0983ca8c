#pragma once

#include "session/ftp/CurlFtpOptions.h"
#include "support/LocalFtpServer.h"
#include "support/Prerequisite.h"

#include <gtest/gtest.h>
#include <iostream>

namespace vendrel::test {

// A test against a LocalFtpServer. A failed test shows what the server was told.
struct LocalServerTest : ::testing::Test {
    // Short enough for a failing test to end quickly.
    static CurlFtpOptions shortTimeouts()
    {
        CurlFtpOptions options;
        options.connectTimeout = std::chrono::milliseconds(2'000);
        options.serverResponseTimeout = std::chrono::seconds(2);
        options.stalledTransferTimeout = std::chrono::seconds(2);
        return options;
    }

    void SetUp() override { VENDREL_REQUIRE_PREREQUISITE(LocalFtpServer::missingPrerequisite()) }
    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "The server's log:\n" << server.commandLog().toStdString();
    }

    LocalFtpServer server;
};

} // namespace vendrel::test
