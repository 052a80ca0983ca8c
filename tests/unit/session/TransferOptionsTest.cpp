#include "session/SessionState.h"
#include "session/TransferOptions.h"

#include <QAction>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

struct TransferOptionsTest : ::testing::Test {
    TransferOptionsTest()
    {
        for (QAction *action : {&zBinary, &zAscii, &zPassive})
            action->setCheckable(true);
        zBinary.setChecked(true);
    }
    SessionState session;
    QAction zBinary, zAscii, zPassive;
    TransferOptions options{session, zBinary, zAscii, zPassive};
};

TEST_F(TransferOptionsTest, ChoosingTheCheckedTypeChangesNothing)
{
    options.zBinary_Click();
    EXPECT_EQ(session.TransferType, 0u);
    EXPECT_TRUE(zBinary.isChecked());
    EXPECT_FALSE(zAscii.isChecked());
}

TEST_F(TransferOptionsTest, AsciiThenBinarySwapTheMarksAndTheType)
{
    options.zAscii_Click();
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    EXPECT_TRUE(zAscii.isChecked());
    EXPECT_FALSE(zBinary.isChecked());
    options.zAscii_Click();
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    options.zBinary_Click();
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_BINARY);
    EXPECT_TRUE(zBinary.isChecked());
    EXPECT_FALSE(zAscii.isChecked());
}

TEST_F(TransferOptionsTest, PassiveTogglesOnlyItsMark)
{
    options.zPassive_Click();
    EXPECT_TRUE(zPassive.isChecked());
    options.zPassive_Click();
    EXPECT_FALSE(zPassive.isChecked());
    EXPECT_EQ(session.TransferType, 0u);
}

TEST_F(TransferOptionsTest, ConnectOptionsOverrideTheMenu)
{
    options.applyConnectOptions(false, true);
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    EXPECT_TRUE(zAscii.isChecked());
    EXPECT_TRUE(zPassive.isChecked());
    options.applyConnectOptions(true, false);
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_BINARY);
    EXPECT_FALSE(zPassive.isChecked());
}

} // namespace
} // namespace vendrel
