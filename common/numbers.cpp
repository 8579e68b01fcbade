#include "common/numbers.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace oboro {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads an optionally signed decimal number at text[i...]; returns the number of
// characters used (0 when there are no digits). Saturates at the 32-bit limits and
// tells whether it had to.
size_t readDecimal(std::string_view text, size_t i, long long& value, bool* overflow = nullptr)
{
    const size_t start = i;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        neg = text[i] == '-';
        ++i;
    }
    const size_t digits = i;
    long long v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (v <= 1LL << 40)
            v = v * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digits)
        return 0;
    if (neg)
        v = -v;
    const bool over = v > INT_MAX || v < INT_MIN;
    if (overflow)
        *overflow = over;
    value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v;
    return i - start;
}

} // namespace

int lenientInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    long long v = 0;
    if (readDecimal(text, i, v) == 0)
        return 0;
    return static_cast<int>(v);
}

std::optional<int> strictInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    long long v = 0;
    bool overflow = false;
    const size_t used = readDecimal(text, i, v, &overflow);
    if (used == 0 || overflow)
        return std::nullopt;
    size_t j = i + used;
    while (j < text.size() && isSpace(text[j]))
        ++j;
    if (j != text.size())
        return std::nullopt;
    return static_cast<int>(v);
}

double lenientReal(std::string_view text)
{
    std::string s(text);
    return std::strtod(s.c_str(), nullptr);
}

std::optional<double> strictReal(std::string_view text)
{
    std::string s(text);
    const char* b = s.c_str();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(b, &end);
    if (end == b || errno == ERANGE)
        return std::nullopt;
    while (*end && isSpace(*end))
        ++end;
    if (*end)
        return std::nullopt;
    return v;
}

namespace {
std::optional<uint32_t> readColor(std::string_view text, bool strict)
{
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    uint64_t v = 0;
    size_t j = i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        j = i + 2;
        const size_t digits = j;
        while (j < text.size()) {
            const char c = text[j];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            v = (v << 4 | uint64_t(d)) & 0xFFFFFFFFFFull;
            ++j;
        }
        if (j == digits)
            return strict ? std::nullopt : std::optional<uint32_t>(0);
    } else {
        long long d = 0;
        const size_t used = readDecimal(text, i, d);
        if (used == 0)
            return strict ? std::nullopt : std::optional<uint32_t>(0);
        j = i + used;
        v = static_cast<uint64_t>(static_cast<uint32_t>(static_cast<int32_t>(d)));
    }
    if (strict) {
        while (j < text.size() && isSpace(text[j]))
            ++j;
        if (j != text.size() || v > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<uint32_t>(v);
}
} // namespace

uint32_t parseColor(std::string_view text) { return readColor(text, false).value_or(0); }
std::optional<uint32_t> strictColor(std::string_view text) { return readColor(text, true); }

std::string formatColorDecimal(uint32_t color)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(color));
    return buf;
}

std::string formatColorHex(uint32_t color)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08x", color);
    return buf;
}

} // namespace oboro
