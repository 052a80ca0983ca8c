#include "listing/RowFormat.h"
#include "support/PinnedTimeZone.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

TEST(RowFormat, SizesRoundToTwoDecimalsWithGroupsAndNoZerosOfTheirOwn)
{
    const QLocale french(QLocale::French, QLocale::France);
    const std::pair<double, QString> cases[] = {
        {0, u","_s},
        {1.0, u"1,"_s},
        {0.25, u",25"_s},
        {1.536, u"1,54"_s},
        {999.999, u"1 000,"_s},
        {1234567.891, u"1 234 567,89"_s},
        {12345678901.0, u"12 345 678 901,"_s},
    };
    for (const auto &[size, shown] : cases)
        EXPECT_EQ(formatSizePattern(size, french), shown) << size;
    EXPECT_EQ(formatSizePattern(1.5, QLocale(QLocale::English, QLocale::UnitedStates)), u"1.5"_s);
    EXPECT_EQ(IconForExtension(u"photo.tar.JPEG"_s), IconForExtension(u"a.jpeg"_s)) << "the last extension, any case";
}

TEST(RowFormat, InstantsShowInTheUsersZoneAndDaysAloneWithoutTime)
{
    const test::PinnedTimeZone paris(test::PinnedTimeZone::paris);
    const QDateTime winter(QDate(2006, 12, 5), QTime(21, 7), Qt::UTC);
    EXPECT_EQ(FormatListingDateTime(winter, ShownTime::InLocalTime), u"5.12.2006 22:07"_s);
    EXPECT_EQ(FormatListingDateTime(winter, ShownTime::AsWritten), u"5.12.2006 21:07"_s);
    EXPECT_EQ(FormatListingDateTime(QDateTime(QDate(2024, 7, 31), QTime(23, 30), Qt::UTC), ShownTime::InLocalTime),
              u"1.8.2024 1:30"_s);
    EXPECT_EQ(FormatListingDateTime(QDateTime(QDate(2006, 12, 5), QTime(0, 0), Qt::UTC), ShownTime::DateOnly),
              u"5.12.2006"_s);
    EXPECT_EQ(FormatListingDateTime(QDateTime(), ShownTime::InLocalTime), QString());
}

} // namespace
} // namespace vendrel
