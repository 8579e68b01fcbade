#include "symbols/stamps.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <QFileInfo>

namespace oboro {

const char* const kMapSymbolNames[kMapSymbolCount] = {
    "都府県庁", "町村役場", "小中学校", "大学",   "郵便局", "警察署", "消防出張所",
    "交番，派出所", "消防署", "病院",   "ホテル", "工場",   "銀行",   "神社",
    "寺院",     "港",       "名所旧跡", "発電所", "市役所", "高校",   "公民館",
};

std::string symbolFileName(int symbol, int size)
{
    if (symbol >= 500)
        return "mark" + std::to_string(symbol - 500) + ".bmp";
    if (isMapSymbol(symbol)) {
        if (size == kSmallStamp)
            return std::to_string(symbol) + "s.bmp";
        if (size == kLargeStamp)
            return std::to_string(symbol) + "m.bmp";
    }
    return std::to_string(symbol) + ".bmp";
}

int symbolBox(int symbol, int size)
{
    return isMapSymbol(symbol) && isStampSize(size) ? size : kStandardStamp;
}

std::vector<std::string> stampFileLines(const std::vector<StampRecord>& records, StampFileKind kind)
{
    std::vector<std::string> lines;
    lines.reserve(records.size() + 1);
    if (kind == StampFileKind::Mrk)
        lines.push_back(std::to_string(records.size()) + ",STAMP_CT");
    for (const StampRecord& r : records)
        lines.push_back(std::to_string(r.symbol) + "," + std::to_string(r.x) + "," + std::to_string(r.y) + "," +
                        std::to_string(r.color) + "," + std::to_string(r.size) + "," + (r.transparent ? "1" : "0"));
    return lines;
}

namespace {

bool blank(const std::string& line) { return line.find_first_not_of(" \t\r") == std::string::npos; }

Message lineError(const std::string& fileName, size_t line, const std::string& why)
{
    return Message{"地図記号ファイルを読み込めません\n" + fileName + " の " + std::to_string(line) + " 行目: " + why,
                   kStampFileTitle, MessageIcon::Exclamation};
}

// One record line, or the reason it is refused.
std::optional<StampRecord> parseRecord(const std::string& line, std::string& why)
{
    const std::vector<std::string> f = splitFields(line);
    if (f.size() < 6) {
        why = "項目が 6 つありません";
        return std::nullopt;
    }
    std::optional<int> v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = i == 3 ? std::optional<int>() : strictInt(f[static_cast<size_t>(i)]);
        if (i != 3 && !v[i]) {
            why = "数値ではない項目があります";
            return std::nullopt;
        }
    }
    const std::optional<uint32_t> color = strictColor(f[3]);
    if (!color || *color > 0xFFFFFFu) {
        why = "色の値が違っています";
        return std::nullopt;
    }
    if (!isKnownSymbol(*v[0])) {
        why = "記号番号 " + f[0] + " はありません";
        return std::nullopt;
    }
    if (!isStampSize(*v[4])) {
        why = "記号の大きさは 14, 16, 18 のいずれかです";
        return std::nullopt;
    }
    return StampRecord{*v[0], *v[1], *v[2], *color, *v[4], *v[5] != 0};
}

} // namespace

StampFileRead parseStampLines(const std::vector<std::string>& lines, StampFileKind kind, const std::string& fileName,
                              int room)
{
    StampFileRead out;
    size_t first = 0;
    // The records the .mrk count line announces; the .mks file holds one per line.
    std::optional<int> announced;
    if (kind == StampFileKind::Mrk) {
        const std::vector<std::string> f = lines.empty() ? std::vector<std::string>{} : splitFields(lines[0]);
        announced = f.size() >= 2 && f[1] == "STAMP_CT" ? strictInt(f[0]) : std::nullopt;
        if (!announced || *announced < 0) {
            out.error = lineError(fileName, 1, "記号数の行 \"個数,STAMP_CT\" がありません");
            return out;
        }
        if (*announced > room) {
            out.error = lineError(fileName, 1,
                                  "記号は " + std::to_string(kStampCapacity) + " 個までです (" +
                                      std::to_string(*announced) + " 個)");
            return out;
        }
        first = 1;
    }
    for (size_t i = first; i < lines.size(); ++i) {
        if (announced && static_cast<int>(out.records.size()) == *announced)
            break; // what follows the announced records is not read
        if (blank(lines[i]))
            continue;
        if (static_cast<int>(out.records.size()) >= room) {
            out.records.clear();
            out.error = lineError(fileName, i + 1, "記号は " + std::to_string(kStampCapacity) + " 個までです");
            return out;
        }
        std::string why;
        const std::optional<StampRecord> r = parseRecord(lines[i], why);
        if (!r) {
            out.records.clear();
            out.error = lineError(fileName, i + 1, why);
            return out;
        }
        out.records.push_back(*r);
    }
    if (announced && static_cast<int>(out.records.size()) < *announced) {
        out.error = lineError(fileName, lines.size() + 1,
                              std::to_string(*announced) + " 個の記号のうち " + std::to_string(out.records.size()) +
                                  " 個しかありません");
        out.records.clear();
    }
    return out;
}

StampFileRead readStampFile(const std::string& path, StampFileKind kind, int room)
{
    const TextFile file = readSjisFile(path);
    if (!file.ok()) {
        StampFileRead out;
        out.error = Message{textFileErrorMessage(file.status, path, file.badLine), kStampFileTitle,
                            MessageIcon::Exclamation};
        return out;
    }
    return parseStampLines(file.lines, kind, QFileInfo(QString::fromStdString(path)).fileName().toStdString(), room);
}

bool writeStampFile(const std::string& path, const std::vector<StampRecord>& records, StampFileKind kind,
                    MessageSink& sink)
{
    const TextFileStatus status = writeSjisFile(path, stampFileLines(records, kind));
    if (status == TextFileStatus::Ok)
        return true;
    sink.show(textFileErrorMessage(status, path), kStampSaveErrorTitle, MessageIcon::Exclamation);
    return false;
}

} // namespace oboro
