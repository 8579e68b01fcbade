#pragma once
// The map data store: everything geographic of the current selection, rebuilt by each
// load. Line tables hold records one after the other as 32-bit words: the point count n
// followed by n pairs (x, y) in map units, 2n + 1 words, and after the last record the
// end marker -999.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace oboro {

inline constexpr int kAreaCount = 52;
inline constexpr int32_t kEndMarker = -999;

// The fixed table of areas: codes 1..52; code 0 and 53..59 have empty names.
struct AreaInfo {
    const char* name;  // UTF-8 (at most 11 bytes in Shift-JIS)
    float sideKm;      // side of the square that shows the whole area
    bool divided;      // 47, 48, 49 and 52
};
const AreaInfo& areaInfo(int code);
inline bool isDividedArea(int code) { return code == 47 || code == 48 || code == 49 || code == 52; }
inline bool isHokkaidoPart(int code) { return code == 47 || code == 48 || code == 49; }

// The twelve line tables, in the order of their capacity table.
enum class LineKind : int {
    Coast,      // C
    Pref,       // P (and W of divided areas)
    NewPref,    // U
    OldPref,    // R
    Town,       // T
    NTown,      // N
    OTown,      // O
    Lake,       // W
    HLake,      // S
    LakeBorder, // L
    LakePref,   // Q
    Ku,         // K
};
inline constexpr int kLineKindCount = 12;

struct LineTableInfo {
    const char* constantName; // COAST_LINE, ...
    int capacity;             // words, end marker excluded
};
const LineTableInfo& lineTableInfo(LineKind kind);

class LineTable {
public:
    explicit LineTable(int capacity = 0) : capacity_(capacity) { clear(); }

    int capacity() const { return capacity_; }
    // Words used by the records (the end marker excluded).
    int wordCount() const { return static_cast<int>(words_.size()) - 1; }
    bool overflowed() const { return overflowed_; }
    void markOverflowed() { overflowed_ = true; }

    // Empties the table: just the end marker.
    void clear();
    // Appends a record of n points (xy holds 2n words) when its 2n + 1 words fit the
    // capacity; returns false (nothing stored) otherwise.
    bool append(const int32_t* xy, int n);
    // The words, ending with the end marker.
    const std::vector<int32_t>& words() const { return words_; }

    // Walk: for each record, f(n, xy) with xy pointing at its 2n words.
    template <class F> void forEachRecord(F&& f) const
    {
        const int32_t* w = words_.data();
        for (;;) {
            const int32_t n = *w;
            if (n < 1)
                return;
            f(static_cast<int>(n), w + 1);
            w += 2 * static_cast<size_t>(n) + 1;
        }
    }

private:
    std::vector<int32_t> words_;
    int capacity_;
    bool overflowed_ = false;
};

struct NameEntry {
    int32_t x = 0;
    int32_t y = 0;
    std::string name; // UTF-8
    char mark = 's';  // 's' first occurrence in its file, 'd' a repeat
};

struct NameTable {
    explicit NameTable(int cap = 0) : capacity(cap) {}
    std::vector<NameEntry> entries;
    int capacity;
    int count() const { return static_cast<int>(entries.size()); }
};

// One record of an office location file (the label file layout).
struct OfficeLocation {
    std::string mark; // at most 7 bytes
    int32_t x = 0;
    int32_t y = 0;
    std::string text; // at most 31 bytes
    int size = 0;
};
inline constexpr int kOfficeLocationCapacity = 2500;

struct Extent {
    int32_t minX = 10000000;
    int32_t minY = 10000000;
    int32_t maxX = 0;
    int32_t maxY = 0;
    bool operator==(const Extent&) const = default;
};

// A record of the duplicate-name list (EXTRA.TXT): a ward or town name that occurs more
// than once in one prefecture, with the name of the city or county that tells it apart.
struct DuplicateNameEntry {
    int area = 0;
    std::string name;     // as in the map file, UTF-8
    std::string cityName; // the identifying city or county
    int32_t x = 0;
    int32_t y = 0;
    char tag = '\0';      // first character of the sixth field; 'X' pre-merger view only, '\0' none
};

// A record of the designated-city list (CITYLIST.TXT).
struct DesignatedCityEntry {
    std::string name; // UTF-8
    int32_t x = 0;
    int32_t y = 0;
    int area = 0;
    int flag = 0;     // 1: shown only while 重複可 is checked
};

// A record of the local government code list (CODES.TXT): the code of a name record or
// of a designated city, so that statistics keyed by code or by qualified name find it.
struct MunicipalityCode {
    std::string code;       // six digits, the check digit last
    char kind = 'M';        // 'M' municipality, 'W' ward of a designated city, 'D' the designated city
    int area = 0;
    int32_t x = 0;          // the name position, map units
    int32_t y = 0;
    std::string name;       // UTF-8, as in the map file
    std::string prefecture; // 北海道, 東京都, …
    std::string city;       // the county or designated city, empty when none
};

struct MapStore {
    MapStore();

    // The selected areas, ascending when set by the prefecture window.
    std::vector<int> selectedAreas;

    std::array<LineTable, kLineKindCount> lines;
    LineTable& line(LineKind k) { return lines[static_cast<int>(k)]; }
    const LineTable& line(LineKind k) const { return lines[static_cast<int>(k)]; }

    NameTable commonNames{7500}; // tag A: both views
    NameTable oldNames{2500};    // tag X: the pre-merger view
    NameTable newNames{2000};    // tag B: the current view

    std::vector<OfficeLocation> officeLocations;

    // The code list of all Japan, read with every load (empty for a folder without one).
    std::vector<MunicipalityCode> municipalityCodes;

    // After a load the bounding box of all line points, widened by 3 %; from the first
    // drawing on, the visible extent.
    Extent extent;

    // Date the boundary data is as of (SOURCE.txt's reference date, else the newest map
    // file date) as (year − 1980) × 10000 + month × 100 + day.
    int dataDate = 0;
    // Last-write date of the executable, "%d/%02d/%02d".
    std::string programDate;

    // Read at start-up; kept across loads.
    std::vector<DesignatedCityEntry> designatedCities;
    std::vector<DuplicateNameEntry> duplicateNames;

    // Empties every line table, name table and the office list.
    void clearMapData();
};

} // namespace oboro
