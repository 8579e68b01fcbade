#include "mapdata/store.h"

namespace oboro {

namespace {

const AreaInfo kAreas[60] = {
    {"", 0.0f, false},
    {"青森県", 163.4f, false},   {"岩手県", 200.6f, false},   {"宮城県", 144.8f, false},
    {"秋田県", 193.0f, false},   {"山形県", 173.8f, false},   {"福島県", 175.8f, false},
    {"茨城県", 142.2f, false},   {"栃木県", 112.5f, false},   {"群馬県", 126.5f, false},
    {"埼玉県", 113.1f, false},   {"千葉県", 141.9f, false},   {"東京都", 93.3f, false},
    {"神奈川県", 84.4f, false},  {"山梨県", 94.5f, false},    {"長野県", 215.9f, false},
    {"新潟県", 214.0f, false},   {"岐阜県", 156.9f, false},   {"静岡県", 164.1f, false},
    {"愛知県", 113.4f, false},   {"富山県", 94.6f, false},    {"石川県", 210.7f, false},
    {"福井県", 132.2f, false},   {"三重県", 182.7f, false},   {"滋賀県", 107.5f, false},
    {"京都府", 126.5f, false},   {"大阪府", 91.8f, false},    {"奈良県", 108.7f, false},
    {"和歌山県", 112.1f, false}, {"兵庫県", 175.1f, false},   {"岡山県", 124.3f, false},
    {"広島県", 140.1f, false},   {"鳥取県", 132.5f, false},   {"島根県", 242.0f, false},
    {"山口県", 167.3f, false},   {"香川県", 96.8f, false},    {"愛媛県", 167.3f, false},
    {"徳島県", 113.6f, false},   {"高知県", 180.6f, false},   {"福岡県", 147.3f, false},
    {"佐賀県", 80.1f, false},    {"長崎県", 322.7f, false},   {"熊本県", 137.2f, false},
    {"大分県", 125.9f, false},   {"宮崎県", 174.1f, false},   {"鹿児島県", 623.4f, false},
    {"沖縄県", 889.7f, false},   {"北海道南部", 346.6f, true}, {"北海道東部", 286.6f, true},
    {"北海道北部", 370.0f, true}, {"伊豆諸島", 510.0f, false}, {"小笠原諸島", 1389.3f, false},
    {"北方四島", 294.1f, true},
    {"", 0.0f, false},           {"", 0.0f, false},           {"", 0.0f, false},
    {"", 0.0f, false},           {"", 0.0f, false},           {"", 0.0f, false},
    {"", 0.0f, false},
};

const LineTableInfo kLineTables[kLineKindCount] = {
    {"COAST_LINE", 304000},    {"PREF_LINE", 51000},     {"NEW_PREF_LINE", 1000}, {"OLD_PREF_LINE", 1100},
    {"TOWN_LINE", 270000},     {"NTOWN_LINE", 60000},    {"OTOWN_LINE", 6000},    {"LAKE_LINE", 2500},
    {"HLAKE_LINE", 500},       {"LAKE_BORDER_LINE", 1000}, {"LAKE_PREF_LINE", 200}, {"KU_LINE", 7000},
};

} // namespace

const AreaInfo& areaInfo(int code)
{
    if (code < 0 || code >= 60)
        return kAreas[0];
    return kAreas[code];
}

const LineTableInfo& lineTableInfo(LineKind kind) { return kLineTables[static_cast<int>(kind)]; }

void LineTable::clear()
{
    words_.clear();
    words_.push_back(kEndMarker);
    overflowed_ = false;
}

bool LineTable::append(const int32_t* xy, int n)
{
    if (n < 1)
        return false;
    const long long need = 2LL * n + 1;
    if (wordCount() + need > capacity_)
        return false;
    words_.pop_back(); // the end marker moves behind the new record
    words_.push_back(n);
    words_.insert(words_.end(), xy, xy + 2 * static_cast<size_t>(n));
    words_.push_back(kEndMarker);
    return true;
}

MapStore::MapStore()
{
    for (int k = 0; k < kLineKindCount; ++k)
        lines[k] = LineTable(kLineTables[k].capacity);
}

void MapStore::clearMapData()
{
    for (LineTable& t : lines)
        t.clear();
    commonNames.entries.clear();
    oldNames.entries.clear();
    newNames.entries.clear();
    officeLocations.clear();
    extent = Extent{};
}

} // namespace oboro
