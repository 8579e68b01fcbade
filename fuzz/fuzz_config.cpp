// Fuzz target for the configuration file reader: any bytes, read as the file's lines,
// must neither crash the reader nor change when written back and read again.
#include "app/config.h"
#include "common/textfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The lines as the file reader gives them: split at "\n", "\r" before it dropped,
    // the whole input refused when it is not Shift-JIS.
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        const size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos)
            end = all.size();
        size_t stop = end;
        if (stop > pos && all[stop - 1] == '\r')
            --stop;
        std::optional<std::string> text = oboro::sjisToUtf8(all.substr(pos, stop - pos));
        if (!text)
            return 0;
        lines.push_back(std::move(*text));
        pos = next;
    }

    oboro::ConfigValues read;
    const oboro::ConfigReadResult result = oboro::applyConfigLines(lines, read);
    if (result.badLines.size() > 6)
        std::abort();

    // What the program would write at exit reads back to the same values.
    oboro::ConfigValues again;
    const oboro::ConfigReadResult second = oboro::applyConfigLines(oboro::configLines(read), again);
    if (!(again == read) || !second.badLines.empty())
        std::abort();
    return 0;
}
