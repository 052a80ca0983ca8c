#pragma once

#include <QString>
#include <QtGlobal>
#include <gtest/gtest.h>
#include <optional>

// Skips a test whose local server cannot run on this machine, for a developer
// without it; under CI a missing server is a failure, never a silent skip.
#define VENDREL_REQUIRE_PREREQUISITE(missing)                                                                          \
    if (const std::optional<QString> vendrelMissing = (missing)) {                                                     \
        if (qEnvironmentVariableIsSet("CI"))                                                                           \
            FAIL() << vendrelMissing->toStdString();                                                                   \
        else                                                                                                           \
            GTEST_SKIP() << vendrelMissing->toStdString();                                                             \
    }
