#include "common/dms.h"
#include "common/numbers.h"

#include <gtest/gtest.h>

using namespace oboro;

TEST(Numbers, LenientIntTakesLeadingDigits)
{
    const std::pair<const char*, int> cases[] = {
        {"42", 42}, {"  -7", -7}, {"+5x", 5}, {"12abc", 12}, {"abc", 0}, {"", 0}, {"99999999999", 2147483647},
    };
    for (auto [text, value] : cases)
        EXPECT_EQ(lenientInt(text), value) << text;
}

TEST(Numbers, StrictIntNeedsTheWholeText)
{
    EXPECT_EQ(strictInt("16711680"), 16711680);
    EXPECT_EQ(strictInt(" -3 "), -3);
    EXPECT_EQ(strictInt("12a"), std::nullopt);
    EXPECT_EQ(strictInt(""), std::nullopt);
    EXPECT_EQ(strictInt("2147483648"), std::nullopt);
    EXPECT_EQ(strictInt("-2147483648"), -2147483647 - 1);
}

TEST(Numbers, ColoursReadDecimalAndHexAndWriteBothForms)
{
    EXPECT_EQ(parseColor("255"), 0x0000FFu);
    EXPECT_EQ(parseColor("0x00ff0000"), 0xFF0000u);
    EXPECT_EQ(parseColor("0X00FFFF00"), 0xFFFF00u);
    EXPECT_EQ(parseColor("junk"), 0u);
    EXPECT_EQ(strictColor("0x12"), 0x12u);
    EXPECT_EQ(strictColor("0x"), std::nullopt);
    EXPECT_EQ(formatColorDecimal(16250624), "16250624");
    EXPECT_EQ(formatColorHex(0xFFFF00), "0x00ffff00");
    EXPECT_EQ(rgbColor(1, 2, 3), 1u + 256u * 2u + 65536u * 3u);
}

TEST(Dms, ParsesValidTexts)
{
    EXPECT_FLOAT_EQ(parseDms("34.0556"), 34.0f + 5.0f / 60.0f + 56.0f / 3600.0f);
    EXPECT_FLOAT_EQ(parseDms("135.0000"), 135.0f);
    EXPECT_FLOAT_EQ(parseDms(" 34.0000"), 34.0f);
}

TEST(Dms, RefusesWithMinusOne)
{
    for (const char* bad : {"34.056", "34.05560", "19.0000", "161.0000", "34.6000", "34.0060", "34", "ab.0000",
                            "34.00a0", ".0000"})
        EXPECT_EQ(parseDms(bad), -1.0f) << bad;
    EXPECT_STREQ(kDmsErrorTitle, "経緯度指定エラー");
}

TEST(Dms, FormatsWithTruncatedMinutesAndSeconds)
{
    EXPECT_EQ(formatDms("緯度 ", 34.099f), "緯度  34.0556");
    EXPECT_EQ(formatDms("", 134.2014f), "134.1205");
    EXPECT_EQ(formatDms("", 35.99999f), " 35.5959");
    EXPECT_EQ(formatDms("", 34.1f), " 34.0559");
    EXPECT_EQ(formatDms("", 36.0f), " 36.0000");
}

TEST(Dms, MapUnitConversions)
{
    EXPECT_EQ(longitudeToMapX(135.0f), 130000);
    EXPECT_EQ(latitudeToMapY(35.0f), 165000);
    EXPECT_FLOAT_EQ(mapXToLongitude(130000), 135.0f);
    EXPECT_FLOAT_EQ(mapYToLatitude(165000), 35.0f);
}
