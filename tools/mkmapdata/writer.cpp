// Writing the program folder: map files, name lists, readings, office lists.
#include "mkmapdata.h"

#include "common/textfile.h"
#include "mapdata/datasource.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <map>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace oboro::mkmap {

namespace {

// Seats of the prefectural governments by prefecture code; 東京都's is in 新宿区.
const char* const kSeats[48] = {
    "", "札幌市", "青森市", "盛岡市", "仙台市", "秋田市", "山形市", "福島市", "水戸市", "宇都宮市",
    "前橋市", "さいたま市", "千葉市", "新宿区", "横浜市", "新潟市", "富山市", "金沢市", "福井市",
    "甲府市", "長野市", "岐阜市", "静岡市", "名古屋市", "津市", "大津市", "京都市", "大阪市", "神戸市",
    "奈良市", "和歌山市", "鳥取市", "松江市", "岡山市", "広島市", "山口市", "徳島市", "高松市",
    "松山市", "高知市", "福岡市", "佐賀市", "長崎市", "熊本市", "大分市", "宮崎市", "鹿児島市", "那覇市"};

// Seats of the subprefectures, in the order of the prefecture name file.
const char* const kSubprefSeats[14] = {"札幌市", "函館市", "江差町", "倶知安町", "室蘭市", "浦河町", "帯広市",
                                       "釧路市", "根室市", "岩見沢市", "旭川市", "留萌市", "稚内市", "網走市"};

// Approximate positions (WGS-84 longitude, latitude, to about 0.01°) of the seats, for
// prefecture-level data that has no municipalities to anchor them.
struct SeatPosition {
    const char* name;
    double lon, lat;
};
const SeatPosition kSeatPositions[] = {
    {"青森市", 140.740, 40.824}, {"盛岡市", 141.153, 39.704}, {"仙台市", 140.872, 38.269},
    {"秋田市", 140.102, 39.719}, {"山形市", 140.363, 38.240}, {"福島市", 140.468, 37.750},
    {"水戸市", 140.447, 36.341}, {"宇都宮市", 139.884, 36.566}, {"前橋市", 139.061, 36.391},
    {"さいたま市", 139.649, 35.857}, {"千葉市", 140.123, 35.605}, {"新宿区", 139.692, 35.690},
    {"横浜市", 139.642, 35.448}, {"甲府市", 138.568, 35.664}, {"長野市", 138.181, 36.651},
    {"新潟市", 139.023, 37.902}, {"岐阜市", 136.722, 35.391}, {"静岡市", 138.383, 34.977},
    {"名古屋市", 136.907, 35.180}, {"富山市", 137.211, 36.695}, {"金沢市", 136.626, 36.594},
    {"福井市", 136.222, 36.065}, {"津市", 136.509, 34.730}, {"大津市", 135.869, 35.004},
    {"京都市", 135.756, 35.021}, {"大阪市", 135.520, 34.686}, {"奈良市", 135.833, 34.686},
    {"和歌山市", 135.167, 34.226}, {"神戸市", 135.183, 34.691}, {"岡山市", 133.935, 34.662},
    {"広島市", 132.460, 34.397}, {"鳥取市", 134.238, 35.504}, {"松江市", 133.051, 35.472},
    {"山口市", 131.471, 34.186}, {"高松市", 134.043, 34.340}, {"松山市", 132.766, 33.842},
    {"徳島市", 134.559, 34.066}, {"高知市", 133.531, 33.560}, {"福岡市", 130.418, 33.606},
    {"佐賀市", 130.299, 33.249}, {"長崎市", 129.874, 32.745}, {"熊本市", 130.742, 32.790},
    {"大分市", 131.613, 33.238}, {"宮崎市", 131.424, 31.911}, {"鹿児島市", 130.558, 31.560},
    {"那覇市", 127.681, 26.212}, {"札幌市", 141.347, 43.064}, {"函館市", 140.729, 41.769},
    {"江差町", 140.140, 41.869}, {"倶知安町", 140.759, 42.902}, {"室蘭市", 140.974, 42.315},
    {"浦河町", 142.768, 42.168}, {"帯広市", 143.196, 42.924}, {"釧路市", 144.382, 42.985},
    {"根室市", 145.583, 43.330}, {"岩見沢市", 141.776, 43.196}, {"旭川市", 142.365, 43.771},
    {"留萌市", 141.637, 43.941}, {"稚内市", 141.673, 45.415}, {"網走市", 144.274, 44.021}};

struct CodeInfo {
    std::string code6, name, ruby;
};

// Readings and six-digit codes by five-digit code ("01100"), prefectures by two digits.
bool readReadings(const std::string& path, std::map<std::string, CodeInfo>& out, std::string& error)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        error = "読みがなファイル " + path + " を開けません";
        return false;
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (doc.isNull() || !doc.isArray()) {
        error = "読みがなファイル " + path + " は市区町村コードの JSON 配列ではありません: " + pe.errorString().toStdString();
        return false;
    }
    auto add = [&](const QJsonObject& o, int digits) {
        const std::string code = o.value("code").toString().toStdString();
        if (code.size() == 6)
            out[code.substr(0, digits)] = {code, o.value("name").toString().toStdString(),
                                           o.value("ruby").toString().toStdString()};
    };
    for (const QJsonValue& pv : doc.array()) {
        const QJsonObject p = pv.toObject();
        add(p, 2);
        for (const QJsonValue& mv : p.value("municipalities").toArray()) {
            const QJsonObject m = mv.toObject();
            add(m, 5);
            for (const QJsonValue& wv : m.value("wards").toArray())
                add(wv.toObject(), 5);
        }
    }
    return true;
}

std::string checkDigitCode(const std::string& code5)
{
    // Local government codes end in a check digit over the first five digits.
    int s = 0;
    for (int i = 0; i < 5; ++i)
        s += (code5[i] - '0') * (6 - i);
    const int r = s % 11;
    const int cd = r == 0 ? 0 : (11 - r) % 10;
    return code5 + static_cast<char>('0' + cd);
}

std::string fmtPoint(PointI p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

void appendRecord(std::vector<std::string>& lines, char kind, size_t id, const std::vector<PointI>& pts)
{
    size_t start = 0;
    int piece = 0;
    while (true) {
        const size_t end = std::min(pts.size(), start + 1000);
        const size_t n = end - start;
        lines.push_back(std::string(1, kind) + "," + std::to_string(id) + (piece ? "-" + std::to_string(piece) : "") +
                        "," + std::to_string(n));
        for (size_t i = start; i < end; i += 5) {
            std::string line;
            for (size_t k = i; k < std::min(end, i + 5); ++k)
                line += (line.empty() ? "" : ",") + fmtPoint(pts[k]);
            lines.push_back(line);
        }
        if (end == pts.size())
            break;
        start = end - 1; // the next piece starts where this one ends
        ++piece;
    }
}

std::string labelLine(const std::string& text, PointI p, int size)
{
    return "○," + fmtPoint(p) + "," + text + "," + std::to_string(size) + ",0";
}

} // namespace

std::string referenceDateOfName(const std::string& path)
{
    const std::string name = fs::path(path).filename().string();
    const size_t at = name.find("N03-");
    if (at == std::string::npos)
        return {};
    // Groups of digits joined by '_' after "N03-": "21_210101", "21_14_210101", "20240101_13".
    std::vector<std::string> groups{""};
    for (size_t i = at + 4; i < name.size(); ++i) {
        const char c = name[i];
        if (c >= '0' && c <= '9')
            groups.back() += c;
        else if (c == '_')
            groups.emplace_back();
        else
            break;
    }
    for (size_t width : {size_t{8}, size_t{6}})
        for (const std::string& g : groups) {
            if (g.size() != width)
                continue;
            int y = std::stoi(g.substr(0, width - 4));
            const int m = std::stoi(g.substr(width - 4, 2));
            const int d = std::stoi(g.substr(width - 2, 2));
            if (width == 6)
                y += y <= 69 ? 2000 : 1900;
            if (!QDate(y, m, d).isValid())
                continue;
            char buf[16];
            std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", y, m, d);
            return buf;
        }
    return {};
}

std::vector<std::string> sourceLines(const BuildOptions& options, const MapModel& model)
{
    std::vector<std::string> lines{"mkmapdata で作成した地図データ",
                                   "入力: " + fs::path(options.input).filename().string()};
    const std::string date = options.date.empty() ? referenceDateOfName(options.input) : options.date;
    if (!date.empty())
        lines.push_back(kSourceDateKey + date);
    const std::string credit = options.credit.value_or(
        model.municipal ? "「国土数値情報（行政区域データ）」（国土交通省）を加工して作成" : "");
    const std::string terms = options.terms.value_or(
        model.municipal ? "国土数値情報ダウンロードサイトコンテンツ利用規約（CC BY 4.0 互換）" : "");
    if (!credit.empty())
        lines.push_back(kSourceCreditKey + credit);
    if (!terms.empty())
        lines.push_back(kSourceLicenceKey + terms);
    lines.push_back(options.datum == Datum::Wgs84 ? "加工: 経緯度を世界測地系から旧日本測地系の地図単位に変換"
                                                  : "加工: 経緯度を地図単位に変換 (旧日本測地系として)");
    lines.push_back("加工: 隣り合う面の共有境界を弧に組み直し、名称の位置を各面の内側に置いた");
    lines.push_back("加工: 線テーブルに収まるよう弧を簡略化 (許容幅は下表)");
    for (const std::string& note : options.notes)
        lines.push_back("加工: " + note);
    lines.push_back("全52地域の線データ語数 (簡略化の許容幅、地図単位):");
    for (size_t i = 0; i < model.tables.size(); ++i) {
        const TableUse& t = model.tables[i];
        char tol[32];
        std::snprintf(tol, sizeof tol, "%g", i < model.tolerances.size() ? model.tolerances[i] : 0.0);
        lines.push_back("  " + t.name + " " + std::to_string(t.words) + " / " + std::to_string(t.capacity) + "  " + tol);
    }
    if (!options.readings.empty())
        lines.push_back("読みがな・団体コード: " + fs::path(options.readings).filename().string());
    if (!options.readingsSource.empty())
        lines.push_back("読みがな・団体コードの出典: " + options.readingsSource);
    return lines;
}

bool writeModel(const BuildOptions& options, const MapModel& model, std::string& error,
                std::vector<std::string>* written)
{
    std::map<std::string, CodeInfo> codes;
    if (!options.readings.empty() && !readReadings(options.readings, codes, error))
        return false;
    auto readingOf = [&](const std::string& code5, const std::string& name) -> std::string {
        auto it = codes.find(code5);
        return it != codes.end() && it->second.name == name ? it->second.ruby : std::string();
    };

    std::error_code ec;
    const fs::path out(options.outDir);
    fs::create_directories(out, ec);
    if (ec) {
        error = "出力フォルダ " + options.outDir + " を作れません: " + ec.message();
        return false;
    }
    const fs::path final = out / "mapdata";
    const fs::path tmp = out / ("mapdata.tmp-" + std::to_string(getpid()));
    fs::remove_all(tmp, ec);
    fs::create_directories(tmp / "OfficeLoc", ec);
    fs::create_directories(tmp / "Office", ec);
    if (ec) {
        error = "一時フォルダ " + tmp.string() + " を作れません: " + ec.message();
        return false;
    }
    std::vector<std::string> report;
    auto put = [&](const std::string& rel, const std::vector<std::string>& lines) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (sjisLength(lines[i]) > 98) {
                error = rel + " の " + std::to_string(i + 1) + " 行目が98バイトを超えます: " + lines[i];
                return false;
            }
        int bad = 0;
        const auto st = writeSjisFile((tmp / rel).string(), lines, &bad);
        if (st != TextFileStatus::Ok) {
            error = textFileErrorMessage(st, (tmp / rel).string(), bad);
            return false;
        }
        report.push_back("mapdata/" + rel + " (" + std::to_string(lines.size()) + " 行)");
        return true;
    };
    auto fail = [&]() {
        fs::remove_all(tmp, ec);
        return false;
    };

    // Map files: names first, then the arcs of the area, then the end record.
    std::vector<std::vector<std::string>> files(53);
    for (const Region& r : model.regions)
        if (!r.name.empty())
            files[r.area].push_back("A," + fmtPoint(r.anchor) + "," + r.name);
    static const char kindOrder[] = "CPWTK";
    for (char kind : std::string(kindOrder))
        for (size_t i = 0; i < model.arcs.size(); ++i) {
            const Arc& a = model.arcs[i];
            if (a.kind != kind)
                continue;
            std::set<int> areas{model.regions[a.left].area};
            if (a.right >= 0)
                areas.insert(model.regions[a.right].area);
            for (int area : areas)
                appendRecord(files[area], kind, i + 1, a.points);
        }
    for (int area = 1; area <= 52; ++area) {
        files[area].push_back("Z");
        char name[16];
        std::snprintf(name, sizeof name, "%02d.MAP", area);
        if (!put(name, files[area]))
            return fail();
    }

    // Designated cities and names that occur more than once in one prefecture.
    std::vector<std::string> citylist, extra;
    for (const DesignatedCity& c : model.cities)
        citylist.push_back(c.name + "," + fmtPoint(c.anchor) + "," + std::to_string(c.area) + ",0");
    for (const DuplicateName& d : model.duplicates)
        extra.push_back(std::to_string(d.area) + "," + d.name + "," + d.ident + "," + fmtPoint(d.anchor));
    if (!put("CITYLIST.TXT", citylist) || !put("EXTRA.TXT", extra))
        return fail();

    // Local government codes of every name record and designated city (six digits with
    // the check digit), so that statistics keyed by code find their municipality:
    // code, kind (M municipality, W ward, D designated city), area, the name position,
    // name, prefecture, and the county or designated city. The map files stay as they are.
    std::vector<std::string> codeLines;
    auto code6Of = [&](const std::string& code5) {
        auto it = codes.find(code5);
        return it != codes.end() ? it->second.code6 : checkDigitCode(code5);
    };
    std::set<std::string> citiesCoded;
    for (const Region& r : model.regions) {
        if (r.name.empty() || r.code.size() != 5)
            continue;
        codeLines.push_back(code6Of(r.code) + "," + (r.ward ? "W" : "M") + "," + std::to_string(r.area) + "," +
                            fmtPoint(r.anchor) + "," + r.name + "," + r.pref + "," + r.city);
        if (!r.ward || citiesCoded.count(r.pref + r.city))
            continue;
        citiesCoded.insert(r.pref + r.city);
        for (const DesignatedCity& c : model.cities) {
            if (c.name != r.city || c.area != r.area)
                continue;
            for (const auto& [code, info] : codes)
                if (code.size() == 5 && code.compare(0, 2, r.code, 0, 2) == 0 && info.name == r.city)
                    codeLines.push_back(info.code6 + ",D," + std::to_string(c.area) + "," + fmtPoint(c.anchor) + "," +
                                        c.name + "," + r.pref + ",");
            break;
        }
    }
    if (!put("CODES.TXT", codeLines))
        return fail();

    // Readings of every name record and every designated city.
    std::vector<std::string> yomi;
    for (const Region& r : model.regions)
        if (!r.name.empty())
            yomi.push_back(fmtPoint(r.anchor) + "," + r.name + "," + readingOf(r.code, r.name));
    std::map<std::string, std::string> cityReading;
    for (const auto& [code, info] : codes)
        if (code.size() == 5)
            cityReading.emplace(info.name, info.ruby);
    for (const DesignatedCity& c : model.cities)
        yomi.push_back(fmtPoint(c.anchor) + "," + c.name + "," + (cityReading.count(c.name) ? cityReading[c.name] : ""));
    if (!put("yomi.lst", yomi))
        return fail();

    // Prefecture names: 1..46 by area code, 47 Hokkaido, then the 14 subprefectures.
    // Seats: 1..46 by area code, then the 14 subprefecture seats (札幌 first, the seat
    // of Hokkaido as well).
    std::map<std::string, PointI> anchorOf; // municipality or designated city → anchor
    for (const Region& r : model.regions)
        if (!r.name.empty() && !r.ward && !anchorOf.count(r.pref + r.name))
            anchorOf[r.pref + r.name] = r.anchor;
    for (const DesignatedCity& c : model.cities)
        for (const Region& r : model.regions)
            if (r.ward && r.city == c.name && r.area == c.area) {
                anchorOf[r.pref + c.name] = c.anchor;
                break;
            }
    std::vector<std::string> prefname, prefseat;
    auto prefOfArea = [](int area) { return prefectureOfArea(area); };
    for (int k = 1; k <= 47; ++k) {
        const int p = prefOfArea(k);
        if (!model.hasPrefAnchor[p])
            continue;
        prefname.push_back(labelLine(k <= 46 ? areaName(k) : "北海道", model.prefAnchor[p], 10));
    }
    for (const auto& [name, anchor] : model.subprefNames)
        if (!(anchor == PointI{}))
            prefname.push_back(labelLine(name, anchor, 8));
    {
        auto seat = [&](const char* pref, const char* city) {
            if (!model.municipal) {
                for (const SeatPosition& s : kSeatPositions)
                    if (std::string(s.name) == city)
                        prefseat.push_back(labelLine(city, wgs84ToTokyoUnits(s.lon, s.lat), 8));
                return;
            }
            auto it = anchorOf.find(std::string(pref) + city);
            if (it != anchorOf.end())
                prefseat.push_back(labelLine(city, it->second, 8));
        };
        static const char* const kPrefNamesLocal[48] = {
            "", "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県",
            "群馬県", "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県", "石川県", "福井県",
            "山梨県", "長野県", "岐阜県", "静岡県", "愛知県", "三重県", "滋賀県", "京都府", "大阪府",
            "兵庫県", "奈良県", "和歌山県", "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県",
            "香川県", "愛媛県", "高知県", "福岡県", "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県",
            "鹿児島県", "沖縄県"};
        for (int k = 1; k <= 46; ++k)
            seat(kPrefNamesLocal[prefOfArea(k)], kSeats[prefOfArea(k)]);
        for (const char* s : kSubprefSeats)
            seat("北海道", s);
    }
    if (!put("prefname.lbl", prefname) || !put("prefseat.lbl", prefseat))
        return fail();

    // Office locations (at the label anchors) and office lists of every area.
    std::vector<std::vector<std::string>> officeLoc(53), officeCsv(53);
    std::set<std::string> cityDone;
    auto officeLine = [&](const std::string& code5, const std::string& name, const std::string& reading,
                          const std::string& address) {
        auto it = codes.find(code5);
        const std::string code6 = it != codes.end() ? it->second.code6 : checkDigitCode(code5);
        return code6 + "," + name + "," + reading + ",000-0000," + address + ",000-000-0000,,,";
    };
    for (const Region& r : model.regions) {
        if (r.name.empty())
            continue;
        if (r.ward && !cityDone.count(r.pref + r.city)) {
            cityDone.insert(r.pref + r.city);
            officeLoc[r.area].push_back(labelLine(r.city, anchorOf[r.pref + r.city], 8));
            std::string cityCode;
            for (const auto& [code, info] : codes)
                if (code.size() == 5 && code.compare(0, 2, r.code, 0, 2) == 0 && info.name == r.city)
                    cityCode = code;
            if (!cityCode.empty())
                officeCsv[r.area].push_back(officeLine(cityCode, r.city, codes[cityCode].ruby, r.pref + r.city));
        }
        if (!r.ward)
            officeLoc[r.area].push_back(labelLine(r.name, r.anchor, 8));
        // Addresses run prefecture, county or designated city, municipality or ward.
        officeCsv[r.area].push_back(officeLine(r.code, r.name, readingOf(r.code, r.name), r.pref + r.city + r.name));
    }
    for (int area = 1; area <= 52; ++area) {
        char name[64];
        if (area != 52) {
            std::snprintf(name, sizeof name, "OfficeLoc/%02d市町村役場.lbl", area);
            if (!put(name, officeLoc[area]))
                return fail();
        }
        std::snprintf(name, sizeof name, "Office/%02d%s役所.csv", area, areaName(area).c_str());
        if (!put(name, officeCsv[area]))
            return fail();
    }
    std::vector<std::string> prefOffices;
    for (int p = 1; p <= 47; ++p) {
        auto it = codes.find(std::string(1, '0' + p / 10) + std::string(1, '0' + p % 10));
        if (it == codes.end())
            continue;
        prefOffices.push_back(it->second.code6 + "," + it->second.name + "," + it->second.ruby + ",000-0000," +
                              it->second.name + (model.municipal ? kSeats[p] : "") + ",000-000-0000,,,");
    }
    if (!put("Office/都道府県庁.csv", prefOffices))
        return fail();

    // Source, date, credit and processing, for the program and whoever reads the folder.
    if (!put("SOURCE.txt", sourceLines(options, model)))
        return fail();

    // The program keeps fixed numbers of these records; say so when the data has more.
    const std::pair<const char*, std::pair<size_t, size_t>> limits[] = {
        {"EXTRA.TXT", {extra.size(), 100}},       {"CITYLIST.TXT", {citylist.size(), 200}},
        {"yomi.lst", {yomi.size(), 4000}},        {"prefname.lbl", {prefname.size(), 70}},
        {"prefseat.lbl", {prefseat.size(), 70}}};
    for (const auto& [file, counts] : limits)
        if (counts.first > counts.second)
            report.push_back("警告: " + std::string(file) + " の " + std::to_string(counts.first) +
                             " 件はプログラムが読む " + std::to_string(counts.second) + " 件を超えます");
    size_t offices = 0, names = 0;
    for (int area = 1; area <= 51; ++area)
        offices += officeLoc[area].size();
    for (const Region& r : model.regions)
        names += !r.name.empty();
    if (offices > 2500)
        report.push_back("警告: 役場位置 " + std::to_string(offices) + " 件は全地域選択時の上限 2500 件を超えます");
    if (names > 7500)
        report.push_back("警告: 市区町村名 " + std::to_string(names) + " 件は全地域選択時の上限 7500 件を超えます");

    // Put the finished folder in place of the old one.
    const fs::path old = out / ("mapdata.old-" + std::to_string(getpid()));
    const bool hadOld = fs::exists(final);
    if (hadOld)
        fs::rename(final, old, ec);
    if (!ec)
        fs::rename(tmp, final, ec);
    if (ec) {
        error = "出力フォルダ " + final.string() + " を置き換えられません: " + ec.message();
        if (hadOld && !fs::exists(final))
            fs::rename(old, final, ec);
        return fail();
    }
    fs::remove_all(old, ec);
    if (written)
        *written = report;
    return true;
}

} // namespace oboro::mkmap
