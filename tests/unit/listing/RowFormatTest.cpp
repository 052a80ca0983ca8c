#include "listing/RowFormat.h"
#include "support/PinnedTimeZone.h"

#include <gtest/gtest.h>

namespace vendrel {
namespace {

TEST(IconForExtension, PicksTheCategoryOfTheLastExtensionIgnoringCase)
{
    EXPECT_EQ(IconForExtension(QStringLiteral("x.zip")), 7);
    EXPECT_EQ(IconForExtension(QStringLiteral("archive.ZIP")), 7);
    EXPECT_EQ(IconForExtension(QStringLiteral("y.txt")), 3);
    EXPECT_EQ(IconForExtension(QStringLiteral("photo.tar.jpeg")), 1);
    EXPECT_EQ(IconForExtension(QStringLiteral("clip.mov")), 8);
    EXPECT_EQ(IconForExtension(QStringLiteral("anim.gif")), 4);
    EXPECT_EQ(IconForExtension(QStringLiteral("index.asp")), 2);
    EXPECT_EQ(IconForExtension(QStringLiteral("site.css")), 5);
    EXPECT_EQ(IconForExtension(QStringLiteral("setup.bat")), 9);
    EXPECT_EQ(IconForExtension(QStringLiteral("old.vaw")), 6);
    EXPECT_EQ(IconForExtension(QStringLiteral("new.wav")), 10);
}

TEST(IconForExtension, ANameWithoutPointIsItsOwnExtension)
{
    EXPECT_EQ(IconForExtension(QStringLiteral("README")), 10);
    EXPECT_EQ(IconForExtension(QStringLiteral("zip")), 7);
    EXPECT_EQ(IconForExtension(QStringLiteral("trailing.")), 10);
}

TEST(SizePattern, WritesGroupsSeparatorAndAtMostTwoDecimals)
{
    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(formatSizePattern(0, french), QStringLiteral(","));
    EXPECT_EQ(formatSizePattern(1.0, french), QStringLiteral("1,"));
    EXPECT_EQ(formatSizePattern(1.5, french), QStringLiteral("1,5"));
    EXPECT_EQ(formatSizePattern(0.25, french), QStringLiteral(",25"));
    EXPECT_EQ(formatSizePattern(1.536, french), QStringLiteral("1,54"));
    EXPECT_EQ(formatSizePattern(1234567.891, french), QStringLiteral("1 234 567,89"));
    EXPECT_EQ(formatSizePattern(999.999, french), QStringLiteral("1 000,"));
    EXPECT_EQ(formatSizePattern(12345678901.0, french), QStringLiteral("12 345 678 901,"));
    EXPECT_EQ(formatSizePattern(1.5, QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("1.5"));
}

TEST(ListingDateTime, NoLeadingZerosButOnTheMinute)
{
    EXPECT_EQ(FormatListingDateTime(QDateTime(QDate(2006, 12, 5), QTime(9, 7), Qt::UTC)),
              QStringLiteral("5.12.2006 9:07"));
    EXPECT_EQ(FormatListingDateTime(QDateTime(QDate(2024, 1, 31), QTime(23, 59, 59), Qt::UTC)),
              QStringLiteral("31.1.2024 23:59"));
}

TEST(ListingDateTime, InstantsShowInTheUsersZoneDaysAloneWithoutTime)
{
    const test::PinnedTimeZone paris(test::PinnedTimeZone::paris);
    const QDateTime winter(QDate(2006, 12, 5), QTime(21, 7), Qt::UTC);
    EXPECT_EQ(FormatListingDateTime(winter, ShownTime::InLocalTime), QStringLiteral("5.12.2006 22:07"));
    EXPECT_EQ(FormatListingDateTime(winter, ShownTime::AsWritten), QStringLiteral("5.12.2006 21:07"));
    EXPECT_EQ(FormatListingDateTime(QDateTime(QDate(2024, 7, 31), QTime(23, 30), Qt::UTC), ShownTime::InLocalTime),
              QStringLiteral("1.8.2024 1:30"));
    EXPECT_EQ(FormatListingDateTime(QDateTime(QDate(2006, 12, 5), QTime(0, 0), Qt::UTC), ShownTime::DateOnly),
              QStringLiteral("5.12.2006"));
    EXPECT_EQ(FormatListingDateTime(QDateTime(), ShownTime::InLocalTime), QString()); // no time given
}

} // namespace
} // namespace vendrel
