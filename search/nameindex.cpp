#include "search/nameindex.h"

#include "common/numbers.h"
#include "common/paths.h"
#include "mapdata/loader.h"
#include "mapdata/rawtext.h"
#include "mapdata/store.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

namespace oboro {

namespace {

// The name record a line holds, if any: first field beginning with A, B or X and a
// fourth field. Lines longer than the readers' buffer are not records.
bool nameRecordOf(std::string_view line, std::string_view& name, NameOccurrence& occ)
{
    if (line.empty() || line.size() > static_cast<size_t>(kMaxMapLineBytes))
        return false;
    // Cheap first test: a name record starts (after blanks) with its tag.
    size_t p = 0;
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t'))
        ++p;
    if (p >= line.size())
        return false;
    const char c = line[p];
    if (c != 'A' && c != 'B' && c != 'X')
        return false;
    const RawFields f(line);
    if (f.count() < 4 || f[0].empty())
        return false;
    occ.tag = f[0][0];
    occ.x = lenientInt(f[1]);
    occ.y = lenientInt(f[2]);
    name = f[3];
    return true;
}

} // namespace

std::optional<NameOccurrence> scanMapText(std::string_view bytes, int area, std::string_view sjisName)
{
    RawLines lines(bytes);
    std::string_view line, name;
    NameOccurrence occ;
    while (lines.next(line)) {
        if (nameRecordOf(line, name, occ) && name == sjisName) {
            occ.area = area;
            return occ;
        }
    }
    return std::nullopt;
}

MapNameIndex::MapNameIndex() : areas_(kAreaCount + 1) {}

MapNameIndex::FileStamp MapNameIndex::stampOf(const std::string& path)
{
    FileStamp s;
    s.path = path;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return s;
    s.exists = true;
    s.size = static_cast<int64_t>(st.st_size);
    s.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = static_cast<uint64_t>(st.st_ino);
    return s;
}

void MapNameIndex::invalidate(int area)
{
    if (area == 0) {
        for (AreaState& a : areas_)
            a.valid = false;
    } else if (area >= 1 && area <= kAreaCount) {
        areas_[area].valid = false;
    }
}

void MapNameIndex::dropArea(int area)
{
    for (const std::string& n : areas_[area].names) {
        auto it = names_.find(n);
        if (it == names_.end())
            continue;
        auto& v = it->second;
        v.erase(std::remove_if(v.begin(), v.end(), [area](const NameOccurrence& o) { return o.area == area; }),
                v.end());
        if (v.empty())
            names_.erase(it);
    }
    areas_[area].names.clear();
}

void MapNameIndex::readArea(int area, const FileStamp& stamp)
{
    dropArea(area);
    AreaState& st = areas_[area];
    st.stamp = stamp;
    st.valid = true;
    if (!stamp.exists)
        return; // a file that cannot be opened holds no name
    const std::optional<std::string> bytes = readWholeFile(stamp.path);
    ++filesRead_;
    if (!bytes) {
        st.stamp.exists = false;
        return;
    }
    RawLines lines(*bytes);
    std::string_view line, name;
    NameOccurrence occ;
    occ.area = area;
    while (lines.next(line)) {
        if (!nameRecordOf(line, name, occ))
            continue;
        auto [it, fresh] = names_.try_emplace(std::string(name));
        auto& v = it->second;
        auto pos = std::lower_bound(v.begin(), v.end(), area,
                                    [](const NameOccurrence& o, int a) { return o.area < a; });
        if (pos != v.end() && pos->area == area)
            continue; // the scan stops at the first record of a name
        v.insert(pos, occ);
        st.names.push_back(it->first);
    }
}

void MapNameIndex::refresh()
{
    // One resolution of the folder, then a plain stat per file; only a name that is not
    // spelled "NN.MAP" on disk goes through the case-insensitive resolution.
    const std::string folder = programPath("\\MAPDATA");
    for (int area = 1; area <= kAreaCount; ++area) {
        char name[16];
        std::snprintf(name, sizeof name, "/%02d.MAP", area);
        FileStamp stamp = stampOf(folder + name);
        if (!stamp.exists)
            stamp = stampOf(mapFilePath(area));
        AreaState& st = areas_[area];
        if (!st.valid || !(st.stamp == stamp))
            readArea(area, stamp);
    }
}

std::vector<NameOccurrence> MapNameIndex::occurrences(std::string_view sjisName)
{
    refresh();
    const auto it = names_.find(std::string(sjisName));
    if (it == names_.end())
        return {};
    return it->second;
}

std::optional<NameOccurrence> MapNameIndex::lookup(int area, std::string_view sjisName)
{
    if (area < 1 || area > kAreaCount)
        return std::nullopt;
    refresh();
    const auto it = names_.find(std::string(sjisName));
    if (it == names_.end())
        return std::nullopt;
    for (const NameOccurrence& o : it->second)
        if (o.area == area)
            return o;
    return std::nullopt;
}

} // namespace oboro
