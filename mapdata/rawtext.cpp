#include "mapdata/rawtext.h"

#include <cstdio>

namespace oboro {

std::optional<std::string> readWholeFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string bytes;
    char buf[1 << 16];
    bool failed = false;
    for (;;) {
        const size_t got = std::fread(buf, 1, sizeof buf, f);
        bytes.append(buf, got);
        if (got < sizeof buf) {
            failed = std::ferror(f) != 0;
            break;
        }
    }
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return bytes;
}

namespace {
inline bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
} // namespace

RawFields::RawFields(std::string_view line)
{
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end) {
        const char c = *p;
        if (isBlank(c)) {
            ++p;
            continue;
        }
        if (c == ',') { // a comma outside a field closes an empty field
            if (count_ < kMax)
                f_[count_] = std::string_view();
            ++count_;
            ++p;
            continue;
        }
        const char* start = p;
        while (p < end && *p != ',' && !isBlank(*p))
            ++p;
        if (count_ < kMax)
            f_[count_] = std::string_view(start, static_cast<size_t>(p - start));
        ++count_;
        if (p < end)
            ++p; // the closing character belongs to the field
    }
}

std::optional<int32_t> parseInt32(std::string_view s)
{
    size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        neg = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        const unsigned d = static_cast<unsigned char>(s[i]) - '0';
        if (d > 9)
            return std::nullopt;
        v = v * 10 + d;
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (neg)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

PointLineStatus parsePointLine(std::string_view line, int pairs, int32_t* out)
{
    const char* p = line.data();
    const char* const end = p + line.size();
    for (int k = 0; k < 2 * pairs; ++k) {
        while (p < end && isBlank(*p))
            ++p;
        if (p == end)
            return PointLineStatus::TooFewFields;
        bool neg = false;
        if (*p == '-' || *p == '+') {
            neg = *p == '-';
            ++p;
        }
        const char* digits = p;
        uint64_t v = 0;
        while (p < end) {
            const unsigned d = static_cast<unsigned char>(*p) - '0';
            if (d > 9)
                break;
            if (v <= 2147483648ULL)
                v = v * 10 + d;
            ++p;
        }
        if (p == digits || (p < end && *p != ',' && !isBlank(*p)))
            return PointLineStatus::NotNumeric; // an empty field or other characters in it
        if (p < end)
            ++p; // the closing character
        if (v > (neg ? 2147483648ULL : 2147483647ULL))
            return PointLineStatus::NotNumeric;
        out[k] = neg ? static_cast<int32_t>(-static_cast<int64_t>(v)) : static_cast<int32_t>(v);
    }
    return PointLineStatus::Ok;
}

std::string_view cutSjis(std::string_view s, size_t maxBytes)
{
    if (s.size() <= maxBytes)
        return s;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        const size_t len = lead ? 2 : 1;
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return s.substr(0, i);
}

std::string lineLabel(int line)
{
    return std::to_string(line) + " 行目";
}

namespace {
constexpr int kListedProblems = 10;
}

void LineProblems::add(int line, std::string_view what)
{
    ++count_;
    if (static_cast<int>(listed_.size()) < kListedProblems)
        listed_.push_back(lineLabel(line) + "：" + std::string(what));
}

void LineProblems::flush(const std::string& fileName, MessageSink& sink)
{
    if (count_ == 0)
        return;
    std::string text = "データファイル " + fileName + " に読めない行があります（読み飛ばしました）\n";
    for (const std::string& p : listed_)
        text += "\n" + p;
    if (count_ > static_cast<int>(listed_.size()))
        text += "\nほか " + std::to_string(count_ - static_cast<int>(listed_.size())) + " 行";
    sink.show(text, "データファイルエラー", MessageIcon::Exclamation);
    listed_.clear();
    count_ = 0;
}

} // namespace oboro
