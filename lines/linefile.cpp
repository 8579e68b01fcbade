#include "lines/linefile.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <cctype>
#include <cstdio>

namespace oboro {

namespace {

// The leading number of a header field: blanks, a sign and at least one digit.
std::optional<long long> leadingNumber(const std::string& field)
{
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+'))
        negative = field[i++] == '-';
    if (i >= field.size() || !std::isdigit(static_cast<unsigned char>(field[i])))
        return std::nullopt;
    long long v = 0;
    for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])); ++i)
        v = std::min(v * 10 + (field[i] - '0'), 100000000000LL);
    return negative ? -v : v;
}

struct Range {
    const char* what;
    long long lo, hi;
};

} // namespace

std::vector<std::string> formatLineFile(const LineData& data)
{
    std::vector<std::string> out;
    out.reserve(data.points.size() + 1);
    char buf[160];
    const LineStyle& s = data.style;
    std::snprintf(buf, sizeof buf, "K,%5d,%5d,%d,%d,%d,%d,%d,%d//K/1/Points/Color/LineType/Size/Arrow/Asize/Step", 1,
                  static_cast<int>(data.points.size()), static_cast<int>(s.color), s.type, s.size, s.arrow,
                  s.arrowSize, s.step);
    out.emplace_back(buf);
    for (const QPoint& p : data.points) {
        std::snprintf(buf, sizeof buf, "%7d,%7d", p.x(), p.y());
        out.emplace_back(buf);
    }
    return out;
}

LineFileParse parseLineFile(const std::vector<std::string>& lines)
{
    LineFileParse out;
    const auto fail = [&](int line, std::string reason) {
        out.data.reset();
        out.badLine = line;
        out.reason = std::move(reason);
        return out;
    };
    if (lines.empty())
        return fail(1, "見出し行がありません");
    const std::vector<std::string> head = splitFields(lines[0], SplitMode::Strict);
    if (head.size() < 9)
        return fail(1, "見出し行の項目が足りません（9 項目必要です）");
    // Points, colour, line type, size, arrow, arrow size, step.
    static const Range ranges[7] = {{"点の数", 0, 100000000},
                                    {"色", 0, 0xFFFFFF},
                                    {"線種", 0, kLineTypeCount - 1},
                                    {"線サイズ", kMinLineSize, kMaxLineSize},
                                    {"矢印", 0, 2},
                                    {"矢印サイズ", kMinArrowSize, kMaxArrowSize},
                                    {"ステップ", 0, kMaxArrowStep}};
    long long v[7];
    for (int i = 0; i < 7; ++i) {
        const std::string& field = head[static_cast<size_t>(i) + 2];
        // Colours may also be written in hexadecimal ("0x000000ff").
        std::optional<long long> n = leadingNumber(field);
        if (i == 1 && field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X'))
            n = std::isxdigit(static_cast<unsigned char>(field[2])) ? std::optional<long long>(parseColor(field))
                                                                    : std::nullopt;
        if (!n)
            return fail(1, std::string("見出し行の") + ranges[i].what + "が数ではありません");
        if (*n < ranges[i].lo || *n > ranges[i].hi)
            return fail(1, std::string("見出し行の") + ranges[i].what + "は " + std::to_string(ranges[i].lo) +
                               " から " + std::to_string(ranges[i].hi) + " までです");
        v[i] = *n;
    }
    LineData d;
    d.style = LineStyle{static_cast<Color>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3]),
                        static_cast<int>(v[4]), static_cast<int>(v[5]), static_cast<int>(v[6])};
    const size_t wanted = static_cast<size_t>(v[0]);
    d.points.reserve(std::min<size_t>(wanted, lines.size()));
    for (size_t i = 1; i < lines.size() && d.points.size() < wanted; ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::vector<std::string> f = splitFields(lines[i], SplitMode::Text);
        if (f.size() < 2)
            return fail(lineNo, "点の行は x,y の 2 項目です");
        const size_t pairs = f.size() >= 4 ? std::min<size_t>(f.size() / 2, 5) : 1;
        for (size_t k = 0; k < pairs && d.points.size() < wanted; ++k) {
            const std::optional<int> x = strictInt(f[2 * k]);
            const std::optional<int> y = strictInt(f[2 * k + 1]);
            if (!x || !y)
                return fail(lineNo, "座標値が整数ではありません");
            d.points.emplace_back(*x, *y);
        }
    }
    out.data = std::move(d);
    return out;
}

std::optional<LineData> readLineFile(const std::string& path, MessageSink& sink)
{
    const TextFile file = readSjisFile(path);
    if (!file.ok()) {
        sink.show(textFileErrorMessage(file.status, path, file.badLine), kLineFileReadTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    LineFileParse p = parseLineFile(file.lines);
    if (!p.data) {
        sink.show("地図線ファイル " + path + " の " + std::to_string(p.badLine) + " 行目を読めません\n" + p.reason,
                  kLineFileReadTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return std::move(p.data);
}

bool writeLineFile(const std::string& path, const LineData& data, MessageSink& sink)
{
    int badLine = 0;
    const TextFileStatus st = writeSjisFile(path, formatLineFile(data), &badLine);
    if (st != TextFileStatus::Ok) {
        sink.show(textFileErrorMessage(st, path, badLine), kLineFileWriteTitle, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace oboro
