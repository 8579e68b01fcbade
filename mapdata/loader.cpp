#include "mapdata/loader.h"

#include "common/numbers.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "mapdata/datasource.h"
#include "mapdata/namelists.h"
#include "mapdata/rawtext.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace oboro {

namespace {

// A point line starts (after blanks) with a digit or a sign; a record line with a letter.
bool looksLikePointLine(std::string_view line)
{
    for (char c : line) {
        if (c == ' ' || c == '\t')
            continue;
        return (c >= '0' && c <= '9') || c == '-' || c == '+';
    }
    return false;
}

std::string fileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

} // namespace

std::string mapFilePath(int area)
{
    return programPathf("\\MAPDATA\\%02d.MAP", area);
}
std::string officeLocationFilePath(int area)
{
    return programPathf("\\MAPDATA\\OfficeLoc\\%02d市町村役場.lbl", area);
}

MapLoader::MapLoader(MapStore& target, const LoadOptions& opt, MessageSink& sink) : s_(target), opt_(opt), sink_(sink)
{
    s_.clearMapData();
    xy_.resize(2 * kMaxRecordPoints);
}

void MapLoader::report(int line, const char* what)
{
    problems_.add(line, what);
}

void MapLoader::flushReports(const std::string& fileName)
{
    problems_.flush(fileName, sink_);
}

void MapLoader::nameRecord(std::string_view line, int lineNo, char tag)
{
    const RawFields f(line);
    const int t = tag == 'A' ? 0 : tag == 'X' ? 1 : 2;
    NameTable& table = t == 0 ? s_.commonNames : t == 1 ? s_.oldNames : s_.newNames;
    if (f.count() < 4 || f[3].empty()) {
        report(lineNo, "名前の行に項目が足りません");
        return;
    }
    const std::optional<int32_t> x = parseInt32(f[1]);
    const std::optional<int32_t> y = parseInt32(f[2]);
    if (!x || !y) {
        report(lineNo, "座標が数値ではありません");
        return;
    }
    std::optional<std::string> name = sjisToUtf8(f[3]);
    if (!name) {
        report(lineNo, "文字コードが Shift-JIS ではありません");
        return;
    }
    if (table.count() >= table.capacity) {
        if (!namesFull_[t]) {
            namesFull_[t] = true;
            sink_.show("市町村名データが多すぎます（" + std::to_string(table.capacity) + " 件まで読み込みました）",
                       "データエラー");
        }
        return;
    }
    NameEntry e;
    e.x = *x;
    e.y = *y;
    e.mark = seen_[t].insert(*name).second ? 's' : 'd';
    e.name = std::move(*name);
    table.entries.push_back(std::move(e));
}

void MapLoader::storeIn(LineKind kind, const char* overflowText, int n)
{
    LineTable& table = s_.line(kind);
    if (!table.overflowed() && table.append(xy_.data(), n))
        return;
    table.markOverflowed();
    sink_.show(overflowText, "データエラー");
}

void MapLoader::storeRecord(char kind, int area, int n)
{
    for (int i = 0; i < n; ++i) {
        const int32_t x = xy_[2 * i], y = xy_[2 * i + 1];
        minX_ = std::min<int64_t>(minX_, x);
        minY_ = std::min<int64_t>(minY_, y);
        maxX_ = std::max<int64_t>(maxX_, x);
        maxY_ = std::max<int64_t>(maxY_, y);
    }
    anyPoint_ = true;
    const bool borders = !(isHokkaidoPart(area) && !opt_.hokkaidoSubprefBorders);
    switch (kind) {
    case 'C':
        storeIn(LineKind::Coast, "海岸線データが多すぎます", n);
        break;
    case 'P':
        storeIn(LineKind::Pref, "都府県界線データが多すぎます", n);
        break;
    case 'U':
        storeIn(LineKind::NewPref, "新都府県界線データが多すぎます", n);
        break;
    case 'R':
        storeIn(LineKind::OldPref, "旧都府県界線データが多すぎます", n);
        break;
    case 'T':
        if (borders)
            storeIn(LineKind::Town, "市町村境界線データが多すぎます", n);
        break;
    case 'N':
        if (borders)
            storeIn(LineKind::NTown, "旧市町村境界線データが多すぎます", n);
        break;
    case 'O':
        if (borders)
            storeIn(LineKind::OTown, "旧市町村境界線データが多すぎます", n);
        break;
    case 'K':
        if (borders && !(area == 18 && opt_.preMergerBorders))
            storeIn(LineKind::Ku, "行政区データが多すぎます", n);
        break;
    case 'L':
        if (borders)
            storeIn(LineKind::LakeBorder, "湖水境界線データが多すぎます", n);
        break;
    case 'Q':
        if (borders)
            storeIn(LineKind::LakePref, "湖水県境界線データが多すぎます", n);
        break;
    case 'S':
        storeIn(LineKind::HLake, "北海道湖水線データが多すぎます", n);
        break;
    case 'W':
        if (isDividedArea(area)) {
            if (opt_.hokkaidoSubprefBorders)
                storeIn(LineKind::Pref, "都府県界線データが多すぎます", n);
        } else {
            storeIn(LineKind::Lake, "湖水線データが多すぎます", n);
        }
        break;
    default:
        break; // an unknown kind: read for the extent only
    }
}

void MapLoader::readMapFile(std::string_view bytes, int area, const std::string& fileName)
{
    for (auto& s : seen_)
        s.clear();
    enum class State { Normal, InRecord, Resync } state = State::Normal;
    char kind = 0;
    int n = 0, got = 0, headerLine = 0;
    RawLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        const int no = lines.number();
        if (line.size() > static_cast<size_t>(kMaxMapLineBytes)) {
            report(no, "行が長すぎます（98 バイトまで）");
            state = State::Resync; // a record it belongs to is dropped with the rest of its point lines
            continue;
        }
        if (state == State::InRecord) {
            if (!looksLikePointLine(line)) {
                report(headerLine, "線データの点の行が足りません");
                state = State::Normal; // this line starts the next record
            } else {
                const int want = std::min(5, n - got);
                const PointLineStatus st = parsePointLine(line, want, xy_.data() + 2 * got);
                if (st != PointLineStatus::Ok) {
                    report(no,
                           st == PointLineStatus::TooFewFields ? "点の座標が足りません" : "座標が数値ではありません");
                    state = State::Resync;
                    continue;
                }
                got += want;
                if (got == n) {
                    storeRecord(kind, area, n);
                    state = State::Normal;
                }
                continue;
            }
        }
        if (state == State::Resync) {
            if (looksLikePointLine(line))
                continue;
            state = State::Normal;
        }
        // A record line.
        const RawFields f(line);
        if (f.count() == 0)
            continue; // an empty line holds nothing
        const char tag = f[0].empty() ? '\0' : f[0][0];
        if (tag == 'A' || tag == 'X' || tag == 'B') {
            nameRecord(line, no, tag);
            continue;
        }
        if (tag == 'Z')
            continue;
        const std::optional<int32_t> count = f.count() >= 3 ? parseInt32(f[2]) : std::nullopt;
        if (!count) {
            report(no, "線データの点数が読めません");
            state = State::Resync;
            continue;
        }
        if (*count < 1 || *count > kMaxRecordPoints) {
            report(no, "線データの点数が 1 から 1000 の範囲にありません");
            state = State::Resync;
            continue;
        }
        kind = tag;
        n = *count;
        got = 0;
        headerLine = no;
        state = State::InRecord;
    }
    if (state == State::InRecord)
        report(headerLine, "線データの途中でファイルが終わっています");
    flushReports(fileName);
}

void MapLoader::readOfficeLocations(std::string_view bytes, const std::string& fileName)
{
    RawLines lines(bytes);
    std::string_view line;
    while (lines.next(line)) {
        const int no = lines.number();
        if (line.size() > static_cast<size_t>(kMaxMapLineBytes)) {
            report(no, "行が長すぎます（98 バイトまで）");
            continue;
        }
        const RawFields f(line);
        if (f.count() == 0)
            continue;
        if (f.count() < 4) {
            report(no, "項目が足りません");
            continue;
        }
        const std::optional<int32_t> x = parseInt32(f[1]);
        const std::optional<int32_t> y = parseInt32(f[2]);
        if (!x || !y) {
            report(no, "座標が数値ではありません");
            continue;
        }
        std::optional<std::string> mark = sjisToUtf8(cutSjis(f[0], 7));
        std::optional<std::string> text = sjisToUtf8(cutSjis(f[3], 31));
        if (!mark || !text) {
            report(no, "文字コードが Shift-JIS ではありません");
            continue;
        }
        if (static_cast<int>(s_.officeLocations.size()) >= kOfficeLocationCapacity) {
            if (!officeFull_) {
                officeFull_ = true;
                sink_.show("市町村役場の位置データが多すぎます（" + std::to_string(kOfficeLocationCapacity) +
                               " 件まで読み込みました）",
                           "データエラー");
            }
            continue;
        }
        OfficeLocation loc;
        loc.mark = std::move(*mark);
        loc.x = *x;
        loc.y = *y;
        loc.text = std::move(*text);
        loc.size = lenientInt(f[4]);
        s_.officeLocations.push_back(std::move(loc));
    }
    flushReports(fileName);
}

void MapLoader::finish()
{
    static const LineKind kChecked[] = {LineKind::Coast, LineKind::Pref,  LineKind::NewPref, LineKind::OldPref,
                                        LineKind::Town,  LineKind::NTown, LineKind::OTown,   LineKind::Ku};
    for (LineKind k : kChecked) {
        if (s_.line(k).overflowed())
            sink_.show(std::string(lineTableInfo(k).constantName) + "を超過しました　　　　", "データ個数オーバー",
                       MessageIcon::Exclamation);
    }
    if (anyPoint_)
        s_.extent = widenExtent(minX_, minY_, maxX_, maxY_);
}

Extent widenExtent(int64_t minX, int64_t minY, int64_t maxX, int64_t maxY)
{
    const float mx = static_cast<float>(static_cast<double>(maxX - minX) * 0.0001);
    const float my = static_cast<float>(static_cast<double>(maxY - minY) * 0.0001);
    const float m = std::max(mx, my);
    // The margin is taken in single precision; the sums are not rounded to it again, so
    // an extent of 1000 units (m = 0.1f, 300·m slightly above 30) loses the unit below.
    const double margin = 300.0 * static_cast<double>(m);
    auto side = [](double v) {
        v = std::trunc(v);
        return static_cast<int32_t>(std::clamp(v, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
    };
    Extent e;
    e.minX = side(static_cast<double>(minX) - margin);
    e.minY = side(static_cast<double>(minY) - margin);
    e.maxX = side(static_cast<double>(maxX) + margin);
    e.maxY = side(static_cast<double>(maxY) + margin);
    return e;
}

bool loadMapFiles(MapStore& store, const std::vector<int>& areas, const LoadOptions& opt, MessageSink& sink,
                  std::string* missingFile)
{
    MapStore fresh;
    MapLoader loader(fresh, opt, sink);
    auto fail = [&](const std::string& path) {
        if (missingFile)
            *missingFile = path;
        return false;
    };
    for (int area : areas) {
        const std::string path = mapFilePath(area);
        const std::optional<std::string> bytes = readWholeFile(path);
        if (!bytes)
            return fail(path);
        loader.readMapFile(*bytes, area, fileNameOf(path));
    }
    for (int area : areas) {
        if (area == 52)
            continue;
        const std::string path = officeLocationFilePath(area);
        const std::optional<std::string> bytes = readWholeFile(path);
        if (!bytes)
            return fail(path);
        loader.readOfficeLocations(*bytes, fileNameOf(path));
    }
    loader.finish();

    store.lines = std::move(fresh.lines);
    store.commonNames = std::move(fresh.commonNames);
    store.oldNames = std::move(fresh.oldNames);
    store.newNames = std::move(fresh.newNames);
    store.officeLocations = std::move(fresh.officeLocations);
    store.extent = fresh.extent;
    store.selectedAreas = areas;
    store.municipalityCodes = readMunicipalityCodeList(sink);
    return true;
}

int scanDataDate()
{
    const std::optional<QDate> d = boundaryDataDate(programFolder());
    return d && d->isValid() ? (d->year() - 1980) * 10000 + d->month() * 100 + d->day() : 0;
}

std::string formatDataDate(int date)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%02d/%02d", date / 10000 + 1980, date / 100 % 100, date % 100);
    return buf;
}

} // namespace oboro
