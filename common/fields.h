#pragma once
// The field splitter every text-file reader uses.
#include <string>
#include <string_view>
#include <vector>

namespace oboro {

enum class SplitMode {
    // Comma, space, tab or newline close a field; no field contains blanks, and a
    // blank directly before a comma yields an extra empty field.
    Strict,
    // Inside a field only a comma or a newline closes it; blanks inside are kept
    // (leading blanks are still skipped).
    Text,
};

// Longest field kept; characters beyond it are dropped up to the field's end.
inline constexpr int kMaxFieldChars = 1023;

// Splits one text line (which may end in a newline). An empty text gives no fields,
// a trailing comma gives no trailing empty field.
std::vector<std::string> splitFields(std::string_view line, SplitMode mode = SplitMode::Strict);

// Field i of a split, or an empty string when the line has fewer fields.
inline const std::string& fieldOr(const std::vector<std::string>& f, size_t i)
{
    static const std::string empty;
    return i < f.size() ? f[i] : empty;
}

} // namespace oboro
