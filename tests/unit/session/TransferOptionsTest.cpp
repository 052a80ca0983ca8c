#include "session/SessionState.h"
#include "session/TransferOptions.h"

#include <gtest/gtest.h>

namespace vendrel {
namespace {

struct TransferOptionsTest : ::testing::Test {
    SessionState session;
    TransferOptions options{session, true, false};
};

TEST_F(TransferOptionsTest, ChoosingTheCheckedTypeChangesNothing)
{
    options.zBinary_Click();
    EXPECT_EQ(session.TransferType, 0u);
    EXPECT_TRUE(options.binaryMarked());
}

TEST_F(TransferOptionsTest, AsciiThenBinarySwapTheMarksAndTheType)
{
    options.zAscii_Click();
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    EXPECT_FALSE(options.binaryMarked());
    options.zAscii_Click();
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    options.zBinary_Click();
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_BINARY);
    EXPECT_TRUE(options.binaryMarked());
}

TEST_F(TransferOptionsTest, PassiveTogglesOnlyItsMark)
{
    options.zPassive_Click();
    EXPECT_TRUE(options.passiveMarked());
    options.zPassive_Click();
    EXPECT_FALSE(options.passiveMarked());
    EXPECT_EQ(session.TransferType, 0u);
}

TEST_F(TransferOptionsTest, ConnectOptionsOverrideTheMenu)
{
    options.applyConnectOptions(false, true);
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    EXPECT_FALSE(options.binaryMarked());
    EXPECT_TRUE(options.passiveMarked());
    options.applyConnectOptions(true, false);
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_BINARY);
    EXPECT_FALSE(options.passiveMarked());
}

} // namespace
} // namespace vendrel
