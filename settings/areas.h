#pragma once
// The areas of the prefecture window: check box captions and the ten regions.
#include <array>
#include <vector>

namespace oboro {

inline constexpr int kRegionCount = 10;

struct RegionInfo {
    const char* caption;   // "北海道", "東北", ...
    std::vector<int> areas; // member area codes
};

// Caption of an area's check box ("青森", ..., "南部", "伊豆諸島"); empty outside 1..52.
const char* areaCaption(int code);
// The ten regions in their order: 北海道, 東北, 関東, 甲信越, 東海, 北陸, 近畿, 中国, 四国, 九州.
const std::array<RegionInfo, kRegionCount>& regions();
// The region of an area (index into regions()), or -1 for 伊豆諸島 and 小笠原諸島.
int regionOf(int code);

} // namespace oboro
