#include "common/gui/messagebox.h"
#include "settings/areas.h"
#include "settings/gui/tken.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

struct TKenTest : ::testing::Test {
    TKen window;
    std::vector<Message> messages;
    void SetUp() override
    {
        setMessageInterceptor([this](const Message& m) {
            messages.push_back(m);
            return true;
        });
    }
    void TearDown() override { setMessageInterceptor(nullptr); }
    std::vector<int> confirmedAreas()
    {
        QSignalSpy spy(&window, &TKen::confirmed);
        window.Button1->click();
        if (spy.isEmpty())
            return {};
        return spy.takeFirst().at(0).value<std::vector<int>>();
    }
};

} // namespace

TEST_F(TKenTest, RegionHokkaidoSelectsItsFourAreas)
{
    window.regionBox(0)->setChecked(true);
    EXPECT_EQ(window.checkedAreas(), (std::vector<int>{47, 48, 49, 52}));
}

TEST_F(TKenTest, AllThenConfirmGivesEveryCodeAscendingWithPleaseWait)
{
    QSignalSpy all(&window, &TKen::allAreasChosen);
    QSignalSpy spy(&window, &TKen::confirmed);
    window.Button4->click();
    EXPECT_EQ(all.size(), 1);
    window.Button1->click();
    ASSERT_EQ(spy.size(), 1);
    const auto codes = spy.at(0).at(0).value<std::vector<int>>();
    ASSERT_EQ(codes.size(), 52u);
    for (int i = 0; i < 52; ++i)
        EXPECT_EQ(codes[i], i + 1);
    EXPECT_TRUE(spy.at(0).at(2).toBool());
    EXPECT_TRUE(window.selectionConfirmed());
    EXPECT_EQ(window.firstAreaCode(), 1);
}

TEST_F(TKenTest, PleaseWaitAboveTwentyAreasOnly)
{
    for (int n : {20, 21}) {
        window.Button3->click();
        for (int code = 1; code <= n; ++code)
            window.areaBox(code)->setChecked(true);
        QSignalSpy spy(&window, &TKen::confirmed);
        window.Button1->click();
        ASSERT_EQ(spy.size(), 1);
        EXPECT_EQ(spy.at(0).at(2).toBool(), n > 20) << n;
    }
}

TEST_F(TKenTest, ConfirmWithNothingCheckedRefusesAndStaysOpen)
{
    window.show();
    EXPECT_TRUE(confirmedAreas().empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], (Message{"描くべき都道府県が指定されておりません", "都道府県設定エラー", MessageIcon::Exclamation}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.selectionConfirmed());
}

TEST_F(TKenTest, RegionUncheckClearsHandCheckedMembersAndHandChecksLeaveRegion)
{
    window.areaBox(12)->setChecked(true);
    EXPECT_FALSE(window.regionBox(2)->isChecked());
    window.regionBox(2)->setChecked(true);
    window.regionBox(2)->setChecked(false);
    EXPECT_FALSE(window.areaBox(12)->isChecked());
}

TEST_F(TKenTest, ClearUnchecksEverything)
{
    window.regionBox(4)->setChecked(true);
    window.areaBox(1)->setChecked(true);
    window.areaBox(50)->setChecked(true);
    window.Button3->click();
    EXPECT_TRUE(window.checkedAreas().empty());
    for (int r = 0; r < kRegionCount; ++r)
        EXPECT_FALSE(window.regionBox(r)->isChecked());
}

TEST_F(TKenTest, NameListNeedsExactlyOneArea)
{
    QSignalSpy spy(&window, &TKen::nameListRequested);
    window.areaBox(12)->setChecked(true);
    window.areaBox(50)->setChecked(true);
    window.CBNameList->click();
    EXPECT_TRUE(spy.isEmpty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "県選択数エラー");

    window.areaBox(50)->setChecked(false);
    window.CBNameList->click();
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 12);
    EXPECT_TRUE(window.selectionConfirmed());
}

TEST_F(TKenTest, DataDateLabel)
{
    window.setDataDate((2021 - 1980) * 10000 + 3 * 100 + 9);
    EXPECT_EQ(window.Label4->text(), QStringLiteral("データ最終更新日 2021/03/09"));
}

TEST(Areas, TokaiIncludesMieAndIslandsHaveNoRegion)
{
    EXPECT_EQ(regionOf(23), 4);
    EXPECT_EQ(regionOf(52), 0);
    EXPECT_EQ(regionOf(50), -1);
    EXPECT_STREQ(areaCaption(47), "南部");
}
