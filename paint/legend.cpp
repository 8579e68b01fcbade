#include "paint/legend.h"

#include "common/fields.h"
#include "common/numbers.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace oboro {

namespace {

const char* const kDigits[kLegendRows] = {"１", "２", "３", "４", "５", "６", "７", "８"};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A text of one line: line breaks taken out, leading blanks (and trailing ones when
// asked) dropped.
std::string cleanText(std::string_view s, bool trailing)
{
    std::string t;
    for (char c : s)
        if (c != '\r' && c != '\n')
            t += c;
    size_t b = 0, e = t.size();
    while (b < e && isBlank(t[b]))
        ++b;
    while (trailing && e > b && isBlank(t[e - 1]))
        --e;
    return t.substr(b, e - b);
}

std::string trimBlanks(std::string_view s) { return cleanText(s, true); }

std::string numberLine(int v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%10d", v);
    return buf;
}

// Reads the legend's lines one by one; the first failure is kept and told once.
class LineReader {
public:
    LineReader(const std::vector<std::string>& lines, size_t firstLine, const std::string& fileName)
        : lines_(lines), first_(firstLine), fileName_(fileName)
    {
    }

    bool failed() const { return !why_.empty(); }

    // Legend line k (1-based), or nothing (and the failure) when the file ends before it.
    const std::string* line(size_t k)
    {
        if (failed())
            return nullptr;
        const size_t i = first_ + k - 1;
        if (i >= lines_.size()) {
            fail(k, "行がありません（ファイルが途中で終わっています）");
            return nullptr;
        }
        return &lines_[i];
    }

    int number(size_t k, LegendRange range, const char* what)
    {
        const std::string* l = line(k);
        if (!l)
            return range.min;
        const std::optional<int> v = strictInt(fieldOr(splitFields(*l, SplitMode::Strict), 0));
        if (!v || *v < range.min || *v > range.max) {
            fail(k, std::string(what) + "は " + std::to_string(range.min) + " から " + std::to_string(range.max) +
                        " までの整数で書いてください");
            return range.min;
        }
        return *v;
    }

    Color color(size_t k, const std::string& text, const char* what)
    {
        const std::optional<uint32_t> v = strictColor(text);
        if (!v || *v > 0xFFFFFFu) {
            fail(k, std::string(what) + "は 0 から 0x00ffffff までの色の値で書いてください");
            return kBlack;
        }
        return *v;
    }

    Color colorLine(size_t k, const char* what)
    {
        const std::string* l = line(k);
        return l ? color(k, fieldOr(splitFields(*l, SplitMode::Strict), 0), what) : kBlack;
    }

    std::string text(size_t k, std::string t, const char* what)
    {
        if (sjisLength(t) > kLegendTextBytes)
            fail(k, std::string(what) + "が長すぎます（" + std::to_string(kLegendTextBytes) + " バイトまで）");
        return t;
    }

    void fail(size_t k, std::string why)
    {
        if (failed())
            return;
        line_ = first_ + k;
        why_ = std::move(why);
    }

    void tell(MessageSink& sink) const
    {
        sink.show(fileName_ + " の " + std::to_string(line_) + " 行目: " + why_ + "\n凡例は変更されません",
                  kLegendFileErrorTitle, MessageIcon::Exclamation);
    }

private:
    const std::vector<std::string>& lines_;
    size_t first_;
    std::string fileName_;
    size_t line_ = 0;
    std::string why_;
};

std::string fileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

} // namespace

std::string defaultLegendDescription(int r)
{
    return std::string("　説　明　") + kDigits[std::clamp(r, 0, kLegendRows - 1)];
}

std::array<LegendRow, kLegendRows> LegendSettings::defaultRows()
{
    std::array<LegendRow, kLegendRows> rows;
    for (int r = 0; r < kLegendRows; ++r)
        rows[r] = LegendRow{kStandardPaintColors[r], 0, defaultLegendDescription(r)};
    return rows;
}

bool isLegendPattern(int code) { return code == 0 || (code >= 2 && code <= 7); }

void LegendSettings::clampToRanges()
{
    const auto clampTo = [](int& v, LegendRange r) { v = std::clamp(v, r.min, r.max); };
    clampTo(rowCount, kLegendRowCountRange);
    clampTo(sampleWidth, kLegendSampleWidthRange);
    clampTo(sampleHeight, kLegendSampleHeightRange);
    clampTo(gap, kLegendGapRange);
    clampTo(x, kLegendPositionRange);
    clampTo(y, kLegendPositionRange);
    clampTo(fontSize, kLegendFontSizeRange);
    textColor &= 0xFFFFFFu;
    fillColor &= 0xFFFFFFu;
    frameColor &= 0xFFFFFFu;
    const auto oneLine = [](std::string& t) {
        t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == '\n' || c == '\r'; }), t.end());
        if (sjisLength(t) > kLegendTextBytes)
            t = truncateSjis(t, kLegendTextBytes);
    };
    oneLine(title);
    for (LegendRow& row : rows) {
        row.color &= 0xFFFFFFu;
        if (!isLegendPattern(row.pattern))
            row.pattern = 0;
        oneLine(row.text);
    }
}

std::vector<std::string> legendFileLines(const LegendSettings& s)
{
    std::vector<std::string> out;
    for (int v : {s.rowCount, s.sampleWidth, s.sampleHeight, s.gap, s.x, s.y, s.fontSize})
        out.push_back(numberLine(v));
    for (Color c : {s.textColor, s.frameColor, s.fillColor})
        out.push_back(formatColorHex(c));
    out.push_back(s.title);
    for (int r = 0; r < std::clamp(s.rowCount, 1, kLegendRows); ++r) {
        const LegendRow& row = s.rows[r];
        out.push_back(formatColorHex(row.color) + "," + formatColorHex(row.pattern) + "," + row.text);
    }
    return out;
}

size_t legendLineCount(const std::vector<std::string>& lines, size_t firstLine)
{
    if (firstLine >= lines.size())
        return 0;
    const std::optional<int> n = strictInt(fieldOr(splitFields(lines[firstLine], SplitMode::Strict), 0));
    if (!n || *n < kLegendRowCountRange.min || *n > kLegendRowCountRange.max)
        return 0;
    return 11 + static_cast<size_t>(*n);
}

std::optional<LegendSettings> parseLegendLines(const std::vector<std::string>& lines, size_t firstLine,
                                               const LegendSettings& base, const std::string& fileName,
                                               MessageSink& sink)
{
    LineReader in(lines, firstLine, fileName);
    LegendSettings s = base;
    s.rowCount = in.number(1, kLegendRowCountRange, "凡例数");
    s.sampleWidth = in.number(2, kLegendSampleWidthRange, "色記号の幅");
    s.sampleHeight = in.number(3, kLegendSampleHeightRange, "色記号の高さ");
    s.gap = in.number(4, kLegendGapRange, "色記号の間隔");
    s.x = in.number(5, kLegendPositionRange, "横位置");
    s.y = in.number(6, kLegendPositionRange, "縦位置");
    s.fontSize = in.number(7, kLegendFontSizeRange, "文字サイズ");
    s.textColor = in.colorLine(8, "文字色");
    s.frameColor = in.colorLine(9, "枠色");
    s.fillColor = in.colorLine(10, "枠内色");
    // The title line is the title whole (blanks inside it kept).
    if (const std::string* l = in.line(11))
        s.title = in.text(11, trimBlanks(*l), "タイトル");
    for (LegendRow& row : s.rows)
        row.text.clear();
    for (int r = 0; r < s.rowCount && !in.failed(); ++r) {
        const size_t k = 12 + static_cast<size_t>(r);
        const std::string* l = in.line(k);
        if (!l)
            break;
        // Colour, pattern code, then the description: the rest of the line, commas and
        // blanks inside it kept.
        const size_t c1 = l->find(',');
        if (c1 == std::string::npos) {
            in.fail(k, "色,パターン,説明 の形で書いてください");
            break;
        }
        const size_t c2 = l->find(',', c1 + 1);
        const std::string colorText = l->substr(0, c1);
        const std::string patternText = l->substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
        LegendRow& row = s.rows[r];
        row.color = in.color(k, trimBlanks(colorText), "色");
        const std::optional<uint32_t> pattern = strictColor(trimBlanks(patternText));
        // Only the lowest 8 bits of the pattern field count.
        if (!pattern || !isLegendPattern(static_cast<int>(*pattern & 0xFFu)))
            in.fail(k, "パターンは 0, 2, 3, 4, 5, 6, 7 のいずれかで書いてください");
        else
            row.pattern = static_cast<uint8_t>(*pattern & 0xFFu);
        const std::string_view rest =
            c2 == std::string::npos ? std::string_view() : std::string_view(*l).substr(c2 + 1);
        row.text = in.text(k, cleanText(rest, false), "説明");
    }
    if (in.failed()) {
        in.tell(sink);
        return std::nullopt;
    }
    return s;
}

std::optional<LegendSettings> readLegendFile(const std::string& path, const LegendSettings& base, MessageSink& sink)
{
    const TextFile file = readSjisFile(path);
    if (!file.ok()) {
        sink.show(textFileErrorMessage(file.status, path, file.badLine) + "\n凡例は変更されません",
                  kLegendFileErrorTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return parseLegendLines(file.lines, 0, base, fileNameOf(path), sink);
}

bool writeLegendFile(const std::string& path, const LegendSettings& s, MessageSink& sink)
{
    LegendSettings clean = s;
    clean.clampToRanges();
    int badLine = 0;
    const TextFileStatus status = writeSjisFile(path, legendFileLines(clean), &badLine);
    if (status == TextFileStatus::Ok)
        return true;
    sink.show(textFileErrorMessage(status, path, badLine), kLegendFileErrorTitle, MessageIcon::Exclamation);
    return false;
}

} // namespace oboro
