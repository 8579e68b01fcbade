#include "paint/datapaint.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace oboro {

namespace {

std::string trimmed(std::string_view s)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

int headingIndex(const std::vector<std::string>& headings, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        for (size_t i = 0; i < headings.size(); ++i)
            if (headings[i] == n)
                return static_cast<int>(i);
    return -1;
}

int decimalsOf(const std::string& s)
{
    const size_t dot = s.find('.');
    if (dot == std::string::npos)
        return 0;
    int n = 0;
    for (size_t i = dot + 1; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        ++n;
    return n;
}

// A value as statistics write it: blanks and thousands separators inside quotes allowed.
std::optional<double> statisticValue(const std::string& field)
{
    std::string s;
    for (char c : field)
        if (c != ',' && c != ' ')
            s += c;
    if (s.empty())
        return std::nullopt;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    const std::optional<double> v = strictReal(s);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

// The lines of the file: Shift-JIS, or UTF-8 when it starts with a byte order mark.
bool decodeLines(std::string_view bytes, std::vector<std::string>& lines, int& badLine)
{
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
        const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
        const QString text = QString::fromUtf8(raw);
        if (text.toUtf8() != raw) {
            badLine = 1;
            return false;
        }
        for (QString line : text.split(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            lines.push_back(line.toStdString());
        }
        if (!lines.empty() && lines.back().empty())
            lines.pop_back();
        return true;
    }
    TextFile t = decodeSjisText(bytes);
    if (!t.ok()) {
        badLine = t.badLine;
        return false;
    }
    lines = std::move(t.lines);
    return true;
}

// The fields of a line: the text field split, or, for a line with quotes as spreadsheets
// write them, fields in double quotes that may hold commas ("" is a quote).
std::vector<std::string> csvFields(const std::string& line)
{
    if (line.find('"') == std::string::npos)
        return splitFields(line, SplitMode::Text);
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r' && c != '\n') {
            fields.back() += c;
        }
    }
    return fields;
}

} // namespace

bool parseDataPaintFile(std::string_view bytes, const std::string& fileName, DataPaintFile& out, Message& error)
{
    auto fail = [&](const std::string& text) {
        error = Message{text, kDataErrorTitle, MessageIcon::Exclamation};
        return false;
    };
    auto failAt = [&](size_t line, const std::string& what) {
        return fail(fileName + " の " + std::to_string(line) + " 行目: " + what);
    };
    std::vector<std::string> lines;
    int badLine = 0;
    if (!decodeLines(bytes, lines, badLine))
        return failAt(static_cast<size_t>(badLine), "文字コードが Shift-JIS ではありません");
    std::vector<std::string> headings;
    if (!lines.empty())
        for (const std::string& h : csvFields(lines[0]))
            headings.push_back(trimmed(h));

    const int nameCol = headingIndex(headings, {"市区町村名"});
    const int colorCol = headingIndex(headings, {"カラー"});
    const int patternCol = headingIndex(headings, {"パターン"});
    const int codeCol = headingIndex(headings, {"コード", "団体コード", "市区町村コード"});
    DataPaintFile f;

    if (colorCol < 0 && patternCol < 0 && (codeCol >= 0 || nameCol >= 0)) {
        // Statistics by municipality.
        f.kind = codeCol >= 0 ? DataPaintFile::Kind::ByCode : DataPaintFile::Kind::ByName;
        const int keyCol = codeCol >= 0 ? codeCol : nameCol;
        std::vector<int> qualifierCols;
        for (const char* q : {"都道府県名", "都道府県", "郡市名", "郡・市", "郡名", "市名"}) {
            const int i = headingIndex(headings, {q});
            if (i >= 0)
                qualifierCols.push_back(i);
        }
        int valueCol = headingIndex(headings, {"値"});
        for (size_t i = 0; valueCol < 0 && i < headings.size(); ++i) {
            const int c = static_cast<int>(i);
            if (c != keyCol && c != nameCol && c != codeCol &&
                std::find(qualifierCols.begin(), qualifierCols.end(), c) == qualifierCols.end())
                valueCol = c;
        }
        if (valueCol < 0)
            return fail("データ１行目に値の見出しがありません\n\n「" + headings[keyCol] + "」のほかに値の列が要ります");
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> fields = csvFields(lines[i]);
            StatisticRow r;
            r.line = static_cast<int>(i + 1);
            r.key = trimmed(fieldOr(fields, keyCol));
            if (r.key.empty())
                continue; // a blank line or a line without a municipality (totals)
            for (int q : qualifierCols) {
                const std::string t = trimmed(fieldOr(fields, q));
                if (!t.empty())
                    r.qualifiers.push_back(t);
            }
            const std::string value = trimmed(fieldOr(fields, valueCol));
            if (const std::optional<double> v = statisticValue(value)) {
                r.hasValue = true;
                r.value = *v;
                r.decimals = decimalsOf(value);
            }
            f.rows.push_back(std::move(r));
        }
        out = std::move(f);
        return true;
    }

    if (nameCol < 0)
        return fail("データ１行目に「市区町村名」の見出しがありません");
    if (colorCol < 0)
        return fail("データ１行目に「カラー」の見出しがありません");
    if (patternCol < 0)
        return fail("データ１行目に「パターン」の見出しがありません");
    f.kind = DataPaintFile::Kind::Points;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = csvFields(lines[i]);
        const std::string color = trimmed(fieldOr(fields, colorCol));
        const std::string pattern = trimmed(fieldOr(fields, patternCol));
        if (color.empty() || pattern.empty())
            continue;
        const std::optional<int> x = strictInt(trimmed(fieldOr(fields, 0)));
        const std::optional<int> y = strictInt(trimmed(fieldOr(fields, 1)));
        if (!x || !y)
            return failAt(i + 1, "座標（1 列目と 2 列目）が数値ではありません");
        const std::optional<uint32_t> c = strictColor(color);
        if (!c)
            return failAt(i + 1, "カラーが数値ではありません");
        const std::optional<uint32_t> p = strictColor(pattern);
        if (!p)
            return failAt(i + 1, "パターンが数値ではありません");
        f.points.push_back(PointPaint{*x, *y, *c & 0xFFFFFF, static_cast<uint8_t>(*p & 0xFF)});
    }
    out = std::move(f);
    return true;
}

std::vector<double> classBounds(std::vector<double> values, int classes, ClassMethod method)
{
    classes = std::clamp(classes, kMinClasses, kMaxClasses);
    std::vector<double> bounds;
    if (values.empty())
        return bounds;
    std::sort(values.begin(), values.end());
    const double lo = values.front(), hi = values.back();
    bounds.push_back(lo);
    const size_t n = values.size();
    for (int k = 1; k < classes; ++k) {
        if (method == ClassMethod::EqualIntervals) {
            // Weighted so that no difference of extreme values overflows; held in order.
            const double t = static_cast<double>(k) / classes;
            const double b = lo == hi ? lo : lo * (1.0 - t) + hi * t;
            bounds.push_back(std::clamp(b, bounds.back(), hi));
        } else {
            bounds.push_back(values[std::min(n - 1, n * static_cast<size_t>(k) / static_cast<size_t>(classes))]);
        }
    }
    bounds.push_back(hi);
    return bounds;
}

int classOf(double value, const std::vector<double>& bounds)
{
    const int classes = static_cast<int>(bounds.size()) - 1;
    int k = 0;
    for (int i = 1; i < classes; ++i)
        if (value >= bounds[i])
            k = i;
    return k;
}

std::string formatClassNumber(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s == "-0" || (s.rfind("-0.", 0) == 0 && s.find_first_not_of("-0.") == std::string::npos))
        s.erase(0, 1);
    const bool negative = !s.empty() && s[0] == '-';
    const size_t start = negative ? 1 : 0;
    size_t end = s.find('.');
    if (end == std::string::npos)
        end = s.size();
    for (long i = static_cast<long>(end) - 3; i > static_cast<long>(start); i -= 3)
        s.insert(static_cast<size_t>(i), ",");
    return s;
}

std::vector<ClassRow> classRows(const std::vector<double>& bounds, int decimals, const PaintPalette& palette)
{
    std::vector<ClassRow> rows;
    if (bounds.size() < 2)
        return rows;
    // Enough decimals that neighbouring bounds read differently (where they differ).
    int d = std::clamp(decimals, 0, 6);
    for (int extra = 0; extra < 4; ++extra, ++d) {
        bool distinct = true;
        for (size_t i = 1; i < bounds.size(); ++i)
            if (bounds[i] != bounds[i - 1] && formatClassNumber(bounds[i], d) == formatClassNumber(bounds[i - 1], d))
                distinct = false;
        if (distinct)
            break;
    }
    for (size_t k = 0; k + 1 < bounds.size() && k < static_cast<size_t>(kPaintSlots); ++k) {
        ClassRow r;
        r.slot = static_cast<int>(k);
        r.color = palette.colors[k];
        r.pattern = palette.patterns[k];
        r.text = formatClassNumber(bounds[k], d) + " – " + formatClassNumber(bounds[k + 1], d);
        rows.push_back(std::move(r));
    }
    return rows;
}

namespace {

bool sameQualifier(const std::string& q, const MunicipalityCode& e)
{
    if (q == e.city || q == e.prefecture)
        return true;
    // "東京" for 東京都, "神奈川" for 神奈川県.
    for (const char* suffix : {"都", "道", "府", "県"})
        if (q + suffix == e.prefecture)
            return true;
    return false;
}

void addPlaces(const MunicipalityCode& e, const std::vector<MunicipalityCode>& codes, RowTarget& t)
{
    if (e.kind != 'D') {
        t.places.push_back(&e);
        return;
    }
    // A designated city: all its wards.
    for (const MunicipalityCode& w : codes)
        if (w.kind == 'W' && w.prefecture == e.prefecture && w.city == e.name)
            t.places.push_back(&w);
}

} // namespace

RowTarget findRowTarget(const StatisticRow& row, DataPaintFile::Kind kind, const std::vector<MunicipalityCode>& codes)
{
    RowTarget t;
    std::vector<const MunicipalityCode*> found;
    if (kind == DataPaintFile::Kind::ByCode) {
        std::string code;
        for (char c : row.key)
            if (c != ' ')
                code += c;
        const bool digits = !code.empty() && std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (digits && (code.size() == 4 || code.size() == 5))
            code = std::string(5 - code.size(), '0') + code; // the leading zero a spreadsheet dropped
        if (!digits || code.size() < 5 || code.size() > 6) {
            t.problem = "コードが 5 桁または 6 桁の数字ではありません";
            return t;
        }
        for (const MunicipalityCode& e : codes)
            if (e.code.compare(0, code.size(), code) == 0)
                found.push_back(&e);
        if (found.empty()) {
            t.problem = "コードが見つかりません";
            return t;
        }
    } else {
        std::string name = row.key;
        std::vector<std::string> qualifiers = row.qualifiers;
        // name(qualifier), in either kind of bracket.
        for (const auto& [open, close] : {std::pair<std::string, std::string>{"(", ")"}, {"（", "）"}}) {
            const size_t o = name.find(open);
            if (o != std::string::npos && name.size() >= close.size() &&
                name.compare(name.size() - close.size(), close.size(), close) == 0 && o > 0) {
                qualifiers.push_back(trimmed(name.substr(o + open.size(), name.size() - close.size() - o - open.size())));
                name = trimmed(name.substr(0, o));
            }
        }
        for (const MunicipalityCode& e : codes) {
            const bool named = name == e.name || name == e.prefecture + e.name ||
                               (!e.city.empty() && (name == e.city + e.name || name == e.prefecture + e.city + e.name));
            if (!named)
                continue;
            if (std::all_of(qualifiers.begin(), qualifiers.end(), [&](const std::string& q) { return sameQualifier(q, e); }))
                found.push_back(&e);
        }
        if (found.empty()) {
            t.problem = "市区町村名が見つかりません";
            return t;
        }
        if (found.size() > 1) {
            std::string where;
            for (const MunicipalityCode* e : found)
                where += (where.empty() ? "" : "、") + e->prefecture + e->city + e->name;
            t.problem = "同じ名前が " + std::to_string(found.size()) + " か所にあります（" + where +
                        "）: 都道府県名か郡市名で区別してください";
            return t;
        }
    }
    for (const MunicipalityCode* e : found)
        addPlaces(*e, codes, t);
    return t;
}

} // namespace oboro
