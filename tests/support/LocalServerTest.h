#pragma once

#include "session/ftp/CurlFtpOptions.h"
#include "support/LocalFtpServer.h"

#include <QtGlobal>
#include <gtest/gtest.h>
#include <iostream>

namespace vendrel::test {

// A test against a LocalFtpServer. Skipped where the server cannot run, for
// a developer without it; under CI that is a failure, never a silent skip.
// A failed test shows what the server was told.
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

    void SetUp() override
    {
        if (const std::optional<QString> missing = LocalFtpServer::missingPrerequisite()) {
            if (qEnvironmentVariableIsSet("CI"))
                FAIL() << missing->toStdString();
            GTEST_SKIP() << missing->toStdString();
        }
    }
    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "The server's log:\n" << server.commandLog().toStdString();
    }

    LocalFtpServer server;
};

} // namespace vendrel::test
