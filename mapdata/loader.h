#pragma once
// The map file loader: reads the map files of the selected areas into the line and name
// tables of a map data store, marks repeated names, reads the office location files and
// computes the map extent.
//
// Map file grammar (Shift-JIS, one record per line, strict field split, at most 98 bytes
// before the line end):
//   A|X|B,x,y,name        a name (A common, X pre-merger view only, B current view only)
//   Z                     no effect
//   K,any,n               any other tag: a line record header of n points (1..1000),
//   x,y,x,y,x,y,x,y,x,y   followed by ceil(n / 5) point lines of five pairs each (the last
//                         one holds the remaining pairs).
#include "common/messages.h"
#include "mapdata/rawtext.h"
#include "mapdata/store.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace oboro {

struct LoadOptions {
    bool hokkaidoSubprefBorders = true; // menu 北海道支庁界表示
    bool preMergerBorders = false;      // main window box 旧 (pre-merger borders), for area 18
};

// What the caller shows when loadMapFiles returns false (exclamation icon); the previous
// map stays as it was.
inline constexpr const char* kMapFileNotFoundText = "地図データファイルが見つかりません";
inline constexpr const char* kMapFileNotFoundTitle = "ファイルオープンエラー";

inline constexpr int kMaxMapLineBytes = 98;   // bytes before the line end
inline constexpr int kMaxRecordPoints = 1000; // points of one line record

std::string mapFilePath(int area);            // "\\MAPDATA\\%02d.MAP" below the program folder
std::string officeLocationFilePath(int area); // "\\MAPDATA\\OfficeLoc\\%02d市町村役場.lbl"

// Loads the map files of `areas` in the order given, then the office location files of
// every area but 52, then widens the extent. The load goes into a fresh store; only when
// every file could be read are the line tables, name tables, office locations and extent
// of `store` replaced by it (and store.selectedAreas set to `areas`); the other fields of
// `store` are kept. On false `store` is untouched and, when given, *missingFile names the
// file that could not be opened; the caller shows kMapFileNotFoundText.
// Malformed lines, overflowing tables and full name tables are reported through `sink`
// and the load goes on with what fits.
bool loadMapFiles(MapStore& store, const std::vector<int>& areas, const LoadOptions& opt, MessageSink& sink,
                  std::string* missingFile = nullptr);

// The loader's steps over text already in memory (loadMapFiles reads the files and feeds
// them here; tests and fuzzers feed text directly).
class MapLoader {
public:
    // Empties the map data of `target` (line tables, name tables, office locations, extent).
    MapLoader(MapStore& target, const LoadOptions& opt, MessageSink& sink);

    // One map file of area `area`; fileName names it in messages.
    void readMapFile(std::string_view bytes, int area, const std::string& fileName);
    // One office location file.
    void readOfficeLocations(std::string_view bytes, const std::string& fileName);
    // The capacity messages and the widening of the extent.
    void finish();

    // True once any line point was read (otherwise the extent keeps its empty start values).
    bool anyPoint() const { return anyPoint_; }

private:
    void report(int line, const char* what);
    void flushReports(const std::string& fileName);
    void nameRecord(std::string_view line, int lineNo, char tag);
    void storeRecord(char kind, int area, int n);
    void storeIn(LineKind table, const char* overflowText, int n);

    MapStore& s_;
    LoadOptions opt_;
    MessageSink& sink_;
    std::vector<int32_t> xy_;
    std::unordered_set<std::string> seen_[3];
    LineProblems problems_;
    bool namesFull_[3] = {false, false, false};
    bool officeFull_ = false;
    bool anyPoint_ = false;
    int64_t minX_ = 10000000, minY_ = 10000000, maxX_ = 0, maxY_ = 0;
};

// Widens an extent of line points by 3 % of its larger side on every side: the margin is
// 300·m with m = max(Δx, Δy) × 0.0001 in single precision; the sides are truncated toward
// zero (and held inside the 32-bit range).
Extent widenExtent(int64_t minX, int64_t minY, int64_t maxX, int64_t maxY);

// The date of the boundary data of the program folder (boundaryDataDate: the reference
// date of SOURCE.txt, else the newest map file date) as (year − 1980) × 10000 + month ×
// 100 + day; 0 when there is none.
int scanDataDate();
// "%d/%02d/%02d" of such a date.
std::string formatDataDate(int date);

} // namespace oboro
