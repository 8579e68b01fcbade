#include "common/fields.h"

namespace oboro {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
} // namespace

std::vector<std::string> splitFields(std::string_view line, SplitMode mode)
{
    std::vector<std::string> fields;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        if (isBlank(c)) { // blanks outside a field
            ++i;
            continue;
        }
        if (c == ',') { // a comma outside a field closes an empty field
            fields.emplace_back();
            ++i;
            continue;
        }
        // Inside a field up to its closing character, which is consumed.
        std::string field;
        while (i < n) {
            const char d = line[i];
            const bool closes = d == ',' || d == '\n' || (mode == SplitMode::Strict && isBlank(d));
            if (closes) {
                ++i;
                break;
            }
            if (field.size() < static_cast<size_t>(kMaxFieldChars))
                field.push_back(d);
            ++i;
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

} // namespace oboro
