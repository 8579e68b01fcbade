#include "mapdata/namelists.h"

#include "common/numbers.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/rawtext.h"

#include <QFileInfo>
#include <algorithm>

namespace oboro {

namespace {

std::string fileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// Calls f(fields, lineNumber) for every non-empty line with at least five fields.
template <class F> void forEachRecord(std::string_view bytes, LineProblems& problems, F&& f)
{
    RawLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        const RawFields fields(line);
        if (fields.count() == 0)
            continue;
        if (fields.count() < 5) {
            problems.add(lines.number(), "項目が足りません");
            continue;
        }
        if (!f(fields))
            problems.add(lines.number(), "文字コードが Shift-JIS ではありません");
    }
}

} // namespace

std::string designatedCityListPath()
{
    return programPath("\\MAPDATA\\CITYLIST.TXT");
}
std::string duplicateNameListPath()
{
    return programPath("\\MAPDATA\\EXTRA.TXT");
}

std::vector<DesignatedCityEntry> parseDesignatedCityList(std::string_view bytes, const std::string& fileName,
                                                         MessageSink& sink)
{
    std::vector<DesignatedCityEntry> list;
    LineProblems problems;
    forEachRecord(bytes, problems, [&](const RawFields& f) {
        std::optional<std::string> name = sjisToUtf8(f[0]);
        if (!name)
            return false;
        DesignatedCityEntry e;
        e.name = std::move(*name);
        e.x = lenientInt(f[1]);
        e.y = lenientInt(f[2]);
        e.area = lenientInt(f[3]);
        e.flag = lenientInt(f[4]) != 0 ? 1 : 0;
        list.push_back(std::move(e));
        return true;
    });
    problems.flush(fileName, sink);
    return list;
}

std::vector<DuplicateNameEntry> parseDuplicateNameList(std::string_view bytes, const std::string& fileName,
                                                       MessageSink& sink)
{
    std::vector<DuplicateNameEntry> list;
    LineProblems problems;
    forEachRecord(bytes, problems, [&](const RawFields& f) {
        std::optional<std::string> name = sjisToUtf8(f[1]);
        std::optional<std::string> city = sjisToUtf8(f[2]);
        if (!name || !city)
            return false;
        DuplicateNameEntry e;
        e.area = lenientInt(f[0]);
        e.name = std::move(*name);
        e.cityName = std::move(*city);
        e.x = lenientInt(f[3]);
        e.y = lenientInt(f[4]);
        e.tag = f.count() >= 6 && !f[5].empty() ? f[5][0] : '\0';
        list.push_back(std::move(e));
        return true;
    });
    problems.flush(fileName, sink);
    return list;
}

std::string municipalityCodeListPath()
{
    return programPath("\\MAPDATA\\CODES.TXT");
}

std::vector<MunicipalityCode> parseMunicipalityCodeList(std::string_view bytes, const std::string& fileName,
                                                        MessageSink& sink)
{
    std::vector<MunicipalityCode> list;
    LineProblems problems;
    RawLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        const RawFields f(line);
        if (f.count() == 0)
            continue;
        if (f.count() < 6) {
            problems.add(lines.number(), "項目が足りません");
            continue;
        }
        const std::string_view code = f[0];
        const bool digits = code.size() == 6 && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
        const std::optional<int32_t> area = parseInt32(f[2]);
        const std::optional<int32_t> x = parseInt32(f[3]);
        const std::optional<int32_t> y = parseInt32(f[4]);
        const char kind = f[1].size() == 1 ? f[1][0] : '\0';
        if (!digits || !area || !x || !y || (kind != 'M' && kind != 'W' && kind != 'D')) {
            problems.add(lines.number(), "コード・種別・座標が正しくありません");
            continue;
        }
        std::optional<std::string> name = sjisToUtf8(f[5]);
        std::optional<std::string> pref = sjisToUtf8(f[6]);
        std::optional<std::string> city = sjisToUtf8(f[7]);
        if (!name || !pref || !city) {
            problems.add(lines.number(), "文字コードが Shift-JIS ではありません");
            continue;
        }
        MunicipalityCode e;
        e.code = std::string(code);
        e.kind = kind;
        e.area = *area;
        e.x = *x;
        e.y = *y;
        e.name = std::move(*name);
        e.prefecture = std::move(*pref);
        e.city = std::move(*city);
        list.push_back(std::move(e));
    }
    problems.flush(fileName, sink);
    return list;
}

std::vector<MunicipalityCode> readMunicipalityCodeList(MessageSink& sink)
{
    const std::string path = municipalityCodeListPath();
    const std::optional<std::string> bytes = readWholeFile(path);
    return bytes ? parseMunicipalityCodeList(*bytes, fileNameOf(path), sink) : std::vector<MunicipalityCode>{};
}

void readDesignatedCityList(MapStore& store, MessageSink& sink)
{
    const std::string path = designatedCityListPath();
    const std::optional<std::string> bytes = readWholeFile(path);
    store.designatedCities =
        bytes ? parseDesignatedCityList(*bytes, fileNameOf(path), sink) : std::vector<DesignatedCityEntry>{};
}

void readDuplicateNameList(MapStore& store, MessageSink& sink)
{
    const std::string path = duplicateNameListPath();
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) {
        store.duplicateNames.clear();
        sink.show(kDuplicateListMissingText, kDuplicateListMissingTitle, MessageIcon::Exclamation);
        return;
    }
    store.duplicateNames = parseDuplicateNameList(*bytes, fileNameOf(path), sink);
}

bool inDuplicateList(const MapStore& store, std::string_view name)
{
    for (const DuplicateNameEntry& e : store.duplicateNames)
        if (e.name == name)
            return true;
    return false;
}

} // namespace oboro
