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
    const oboro::TextFile text =
        oboro::decodeSjisText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!text.ok())
        return 0;
    const std::vector<std::string>& lines = text.lines;

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
