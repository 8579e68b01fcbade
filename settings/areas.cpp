#include "settings/areas.h"

namespace oboro {

namespace {
const char* const kCaptions[53] = {
    "",       "青森", "岩手", "宮城", "秋田",   "山形", "福島", "茨城", "栃木", "群馬", "埼玉", "千葉",
    "東京",   "神奈川", "山梨", "長野", "新潟", "岐阜", "静岡", "愛知", "富山", "石川", "福井", "三重",
    "滋賀",   "京都", "大阪", "奈良", "和歌山", "兵庫", "岡山", "広島", "鳥取", "島根", "山口", "香川",
    "愛媛",   "徳島", "高知", "福岡", "佐賀",   "長崎", "熊本", "大分", "宮崎", "鹿児島", "沖縄", "南部",
    "東部",   "北部", "伊豆諸島", "小笠原諸島", "北方四島",
};
} // namespace

const char* areaCaption(int code) { return (code >= 1 && code <= 52) ? kCaptions[code] : ""; }

const std::array<RegionInfo, kRegionCount>& regions()
{
    static const std::array<RegionInfo, kRegionCount> r = {{
        {"北海道", {47, 48, 49, 52}},
        {"東北", {1, 2, 3, 4, 5, 6}},
        {"関東", {7, 8, 9, 10, 11, 12, 13}},
        {"甲信越", {14, 15, 16}},
        {"東海", {17, 18, 19, 23}},
        {"北陸", {20, 21, 22}},
        {"近畿", {24, 25, 26, 27, 28, 29}},
        {"中国", {30, 31, 32, 33, 34}},
        {"四国", {35, 36, 37, 38}},
        {"九州", {39, 40, 41, 42, 43, 44, 45, 46}},
    }};
    return r;
}

int regionOf(int code)
{
    for (int i = 0; i < kRegionCount; ++i)
        for (int a : regions()[i].areas)
            if (a == code)
                return i;
    return -1;
}

} // namespace oboro
