#include "common/gui/messagebox.h"
#include "search/gui/searchflow.h"
#include "search/gui/tdatacheck.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

std::vector<SearchCandidate> candidates(std::initializer_list<const char*> labels)
{
    std::vector<SearchCandidate> out;
    int i = 0;
    for (const char* l : labels) {
        ++i;
        out.push_back(SearchCandidate{i, 1000 * i, 2000 * i, l});
    }
    return out;
}

// Position of an item in the radio group's grid.
std::pair<int, int> cellOf(TDataCheck& w, int i)
{
    auto* grid = static_cast<QGridLayout*>(w.RadioGroup1->layout());
    int row = -1, col = -1, rs = 0, cs = 0;
    grid->getItemPosition(grid->indexOf(w.item(i)), &row, &col, &rs, &cs);
    return {row, col};
}

} // namespace

TEST(TDataCheckTest, CaptionsAndOneColumnUpToFour)
{
    TDataCheck w;
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("　市区町村の選択"));
    EXPECT_EQ(w.Label3->text(), QString::fromUtf8("にあります"));
    EXPECT_EQ(w.RadioGroup1->title(), QString::fromUtf8("選んでください"));
    EXPECT_TRUE(w.Button1->isHidden());
    w.setCandidates("府中市", candidates({"東京都", "広島県"}));
    EXPECT_EQ(w.Label1->text(), QString::fromUtf8("府中市 は"));
    EXPECT_EQ(w.Label2->text(), QString::fromUtf8("東京都 広島県 "));
    ASSERT_EQ(w.itemCount(), 2);
    EXPECT_EQ(w.columns(), 1);
    EXPECT_EQ(w.item(1)->text(), QString::fromUtf8("広島県"));
    EXPECT_EQ(cellOf(w, 1), std::make_pair(1, 0));
    for (int i = 0; i < 2; ++i)
        EXPECT_FALSE(w.item(i)->isChecked());
}

TEST(TDataCheckTest, FiveOrMoreInTwoColumnsFilledDownFirst)
{
    TDataCheck w;
    w.setCandidates("北区", candidates({"札幌市", "さいたま市", "新潟市", "名古屋市", "京都市"}));
    EXPECT_EQ(w.columns(), 2);
    EXPECT_EQ(w.Label2->text(), QString::fromUtf8("札幌市 さいたま市 新潟市 名古屋市\n京都市 "));
    EXPECT_EQ(cellOf(w, 0), std::make_pair(0, 0));
    EXPECT_EQ(cellOf(w, 2), std::make_pair(2, 0));
    EXPECT_EQ(cellOf(w, 3), std::make_pair(0, 1));
    EXPECT_EQ(cellOf(w, 4), std::make_pair(1, 1));
    // Refilled with fewer: the old items are gone.
    w.setCandidates("府中市", candidates({"東京都", "広島県"}));
    EXPECT_EQ(w.itemCount(), 2);
    EXPECT_EQ(w.RadioGroup1->findChildren<QRadioButton*>().size(), 2);
    EXPECT_EQ(w.columns(), 1);
}

TEST(TDataCheckTest, ClickingAnItemChoosesItAtOnce)
{
    TDataCheck w;
    QTimer::singleShot(0, &w, [&w] { w.item(2)->click(); });
    EXPECT_EQ(w.choose("北区", candidates({"大阪市", "堺市", "京都市"})), std::optional<int>(2));
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.item(2)->isChecked());

    // Closed without a choice: nothing chosen.
    QTimer::singleShot(0, &w, [&w] { w.reject(); });
    EXPECT_EQ(w.choose("北区", candidates({"大阪市", "堺市"})), std::nullopt);
}

TEST(SearchFlowTest, MessagesGoToBoxesAndLeaveNothingChosen)
{
    std::vector<Message> shown;
    setMessageInterceptor([&](const Message& m) {
        shown.push_back(m);
        return true;
    });
    MunicipalitySearch search;
    TDataCheck chooser;
    MapStore store;
    QString edName = QString::fromUtf8("市区町村名");
    EXPECT_FALSE(chooseSearchPlace(nullptr, search, chooser, &edName, store, {}));
    EXPECT_EQ(edName, QString::fromUtf8("市区町村名"));

    // A designated city answers from the list alone.
    store.designatedCities.push_back(DesignatedCityEntry{"横浜市", 176300, 170500, 13, 0});
    edName = QString::fromUtf8("横浜市");
    const auto hit = chooseSearchPlace(nullptr, search, chooser, &edName, store, {});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->chosen.area, 13);

    // Listed wards ask; the chosen one comes back.
    store.duplicateNames.push_back(DuplicateNameEntry{26, "北区", "大阪市", 1, 2, '\0'});
    store.duplicateNames.push_back(DuplicateNameEntry{26, "北区", "堺市", 3, 4, '\0'});
    edName = QString::fromUtf8("北区");
    QTimer::singleShot(0, &chooser, [&chooser] { chooser.item(1)->click(); });
    const auto ward = chooseSearchPlace(nullptr, search, chooser, &edName, store, {});
    ASSERT_TRUE(ward);
    EXPECT_EQ(ward->chosen, (SearchCandidate{26, 3, 4, "堺市"}));
    setMessageInterceptor(nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "検索データエラー");
}
