#pragma once
// The names of the map files of all 52 areas, read once and kept, so a municipality
// search answers without reading every map file again.
//
// For each area the index keeps, for every name, the first name record (a line whose
// first field begins with 'A', 'B' or 'X') whose fourth field is that name: exactly what
// a scan of that area's file from the top would stop at. Names are compared byte for
// byte in Shift-JIS, as they stand in the files.
//
// The index is built lazily on the first question. Before answering it checks the
// size, modification time and identity of every map file (52 stat calls) and reads
// again only the files that changed, appeared or vanished; a name editor that rewrites
// a map file may also call invalidate() to force the next question to read it again.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace oboro {

struct NameOccurrence {
    int area = 0;
    int32_t x = 0; // second field, lenient decimal
    int32_t y = 0; // third field
    char tag = 'A'; // 'A' common, 'B' post-merger, 'X' pre-merger
    bool operator==(const NameOccurrence&) const = default;
};

class MapNameIndex {
public:
    MapNameIndex();

    // The first record of the name in each area whose map file holds it, in ascending
    // area order. sjisName is the Shift-JIS name.
    std::vector<NameOccurrence> occurrences(std::string_view sjisName);
    // The first record of the name in one area's map file; nullopt when the file does
    // not hold it or cannot be read.
    std::optional<NameOccurrence> lookup(int area, std::string_view sjisName);

    // Forget what was read: one area (1..52) or, with 0, all of them.
    void invalidate(int area = 0);

    // Map files read since construction (for tests and benchmarks).
    int filesRead() const { return filesRead_; }

    // Brings the index up to date with the files (done by every question).
    void refresh();

private:
    struct FileStamp {
        bool exists = false;
        int64_t size = 0;
        int64_t mtimeNs = 0;
        uint64_t inode = 0;
        std::string path;
        bool operator==(const FileStamp&) const = default;
    };
    struct AreaState {
        bool valid = false;
        FileStamp stamp;
        std::vector<std::string> names; // the names this area contributed
    };

    void readArea(int area, const FileStamp& stamp);
    void dropArea(int area);
    static FileStamp stampOf(const std::string& path);

    std::vector<AreaState> areas_;
    // name → first record per area, ascending area
    std::unordered_map<std::string, std::vector<NameOccurrence>> names_;
    int filesRead_ = 0;
};

// Scan of one map file text for the first record of a name, as the index answers it
// (the reference the index is tested against).
std::optional<NameOccurrence> scanMapText(std::string_view bytes, int area, std::string_view sjisName);

} // namespace oboro
