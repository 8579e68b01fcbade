#include "paint/paintfile.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <cstdio>

namespace oboro {

namespace {
constexpr int kPaletteLines = 1 + 2 * kPaintSlots;

std::string hex(uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08x", v);
    return buf;
}
} // namespace

std::vector<std::string> paintFileLines(const PaintFile& file, bool colorsOnly)
{
    std::vector<std::string> lines;
    lines.reserve(kPaletteLines + (colorsOnly ? 0 : file.records.size()));
    lines.push_back(hex(file.background));
    for (Color c : file.palette.colors)
        lines.push_back(hex(c));
    for (uint8_t p : file.palette.patterns)
        lines.push_back(hex(p));
    if (colorsOnly)
        return lines;
    for (const PaintRecord& r : file.records) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%8d,%8d,0x%08x,0x%08x", r.x, r.y, r.color, static_cast<unsigned>(r.pattern));
        lines.push_back(buf);
    }
    return lines;
}

bool parsePaintFile(std::string_view bytes, const std::string& fileName, bool colorsOnly, PaintFile& out,
                    std::string& error)
{
    const TextFile text = decodeSjisText(bytes);
    auto fail = [&](size_t line, const std::string& what) {
        error = fileName + " の " + std::to_string(line) + " 行目: " + what;
        return false;
    };
    if (!text.ok())
        return fail(static_cast<size_t>(text.badLine), "文字コードが Shift-JIS ではありません");
    if (text.lines.size() < static_cast<size_t>(kPaletteLines))
        return fail(text.lines.size() + 1, "背景色と塗り色の行（17 行）が足りません");
    PaintFile f;
    for (int i = 0; i < kPaletteLines; ++i) {
        const std::vector<std::string> fields = splitFields(text.lines[i]);
        const std::optional<uint32_t> v = fields.empty() ? std::nullopt : strictColor(fields[0]);
        if (!v)
            return fail(i + 1, i < 1 + kPaintSlots ? "色が数値ではありません" : "パターンが数値ではありません");
        if (i == 0)
            f.background = *v & 0xFFFFFF;
        else if (i <= kPaintSlots)
            f.palette.colors[i - 1] = *v & 0xFFFFFF;
        else
            f.palette.patterns[i - 1 - kPaintSlots] = static_cast<uint8_t>(*v & 0xFF);
    }
    if (!colorsOnly) {
        for (size_t i = kPaletteLines; i < text.lines.size(); ++i) {
            const std::vector<std::string> fields = splitFields(text.lines[i]);
            if (fieldOr(fields, 2).empty())
                continue; // no colour: not a record
            const std::optional<int> x = strictInt(fields[0]);
            const std::optional<int> y = strictInt(fields[1]);
            if (!x || !y)
                return fail(i + 1, "座標が数値ではありません");
            const std::optional<uint32_t> color = strictColor(fields[2]);
            if (!color)
                return fail(i + 1, "色が数値ではありません");
            std::optional<uint32_t> pattern = 0u;
            if (!fieldOr(fields, 3).empty())
                pattern = strictColor(fields[3]);
            if (!pattern)
                return fail(i + 1, "パターンが数値ではありません");
            PaintRecord r;
            r.x = *x;
            r.y = *y;
            r.color = *color & 0xFFFFFF;
            r.pattern = static_cast<uint8_t>(*pattern & 0xFF);
            f.records.push_back(r);
        }
    }
    out = std::move(f);
    return true;
}

} // namespace oboro
