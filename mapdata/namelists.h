#pragma once
// The two small name lists of the map data folder, read once at start-up: the
// designated-city list (CITYLIST.TXT: name, x, y, area code, duplicate flag) and the
// duplicate-name list (EXTRA.TXT: area code, name, identifying city or county, x, y, tag).
// Lines are split with the strict field split; integers use the lenient conversion.
#include "common/messages.h"
#include "mapdata/store.h"

#include <string>
#include <string_view>
#include <vector>

namespace oboro {

inline constexpr const char* kDuplicateListMissingText =
    "重複市町村名データファイル 'Extra.txt' が 'MapData'フォルダの中にありません";
inline constexpr const char* kDuplicateListMissingTitle = "ファイルオープンエラー";

std::string designatedCityListPath(); // "\\MAPDATA\\CITYLIST.TXT" below the program folder
std::string duplicateNameListPath();  // "\\MAPDATA\\EXTRA.TXT"

// Parse the text of a list. Lines with fewer than five fields or with text that is not
// Shift-JIS are reported (one message naming the file and lines) and skipped; empty
// lines are skipped. A duplicate-name line without the sixth field is untagged.
std::vector<DesignatedCityEntry> parseDesignatedCityList(std::string_view bytes, const std::string& fileName,
                                                         MessageSink& sink);
std::vector<DuplicateNameEntry> parseDuplicateNameList(std::string_view bytes, const std::string& fileName,
                                                       MessageSink& sink);

// The local government code list "\\MAPDATA\\CODES.TXT": code, kind (M, W or D), area,
// x, y, name, prefecture, county or designated city. Lines with fewer than six fields,
// a code that is not six digits or coordinates that are not numbers are reported (one
// message naming the file and lines) and skipped.
std::string municipalityCodeListPath();
std::vector<MunicipalityCode> parseMunicipalityCodeList(std::string_view bytes, const std::string& fileName,
                                                        MessageSink& sink);
// The list of the program folder; a missing file gives an empty list silently.
std::vector<MunicipalityCode> readMunicipalityCodeList(MessageSink& sink);

// Fill store.designatedCities / store.duplicateNames from the files. A missing
// designated-city list gives an empty list silently; a missing duplicate-name list shows
// kDuplicateListMissingText (exclamation icon) and gives an empty list.
void readDesignatedCityList(MapStore& store, MessageSink& sink);
void readDuplicateNameList(MapStore& store, MessageSink& sink);

// True when some duplicate-name record's name equals `name` byte for byte.
bool inDuplicateList(const MapStore& store, std::string_view name);

} // namespace oboro
