#include "app/config.h"

#include "common/fields.h"
#include "common/log.h"
#include "common/numbers.h"

#include <QFileInfo>

#include <algorithm>

namespace oboro {

namespace {

const char* const kReadErrorTitle = "構成ファイルエラー";

std::string fileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

} // namespace

ConfigReadResult applyConfigLines(const std::vector<std::string>& lines, ConfigValues& v)
{
    ConfigReadResult result;
    result.linesRead = static_cast<int>(lines.size());
    const int count = std::min<int>(result.linesRead, kConfigLineCount);

    for (int n = 1; n <= count; ++n) {
        const std::vector<std::string> fields = splitFields(lines[n - 1], SplitMode::Strict);
        const std::string& first = fieldOr(fields, 0);
        const auto lenient = [&] { return lenientInt(first); };
        const auto lenientColor = [&] { return static_cast<uint32_t>(lenientInt(first)); };
        // Lines 4–9 must hold an integer; a bad value keeps the line's current value.
        const auto strictColorInto = [&](uint32_t& target) {
            if (const std::optional<int> value = strictInt(first))
                target = static_cast<uint32_t>(*value);
            else
                result.badLines.push_back(n);
        };

        // Font sizes outside the range of their up-downs (6..50) would draw absurd or
        // empty texts: such a value keeps the line's current value.
        const auto fontSizeInto = [&](int& target) {
            const int size = lenient();
            if (size >= kMinPrefFontSize && size <= kMaxPrefFontSize)
                target = size;
        };

        if (n == 1) {
            v.SaveSettingsAtExit = lenient() != 0;
            continue;
        }
        if (n == 2) {
            v.SameColor = lenient() != 0;
            continue;
        }
        if (n == 10)
            continue; // written for the record only
        if (n == 11) {
            v.ExtraMarkFolder = first; // the split cuts a folder name at its first blank
            continue;
        }
        if (!v.SaveSettingsAtExit)
            continue;

        switch (n) {
        case 3: v.TimeOrder = lenient(); break;
        case 4: strictColorInto(v.TownPaintColor); break;
        case 5: strictColorInto(v.TownFontColor); break;
        case 6: strictColorInto(v.IslandsColor); break;
        case 7: strictColorInto(v.MountainColor); break;
        case 8: strictColorInto(v.KanaFontColor); break;
        case 9: strictColorInto(v.SelectColor); break;
        case 12: v.DefPrefColor = lenientColor(); break;
        case 13: v.DefPrefSeatColor = lenientColor(); break;
        case 14: fontSizeInto(v.DefPrefSize); break;
        case 15: fontSizeInto(v.DefPrefSeatSize); break;
        case 16: v.CoastColor = lenientColor(); break;
        case 17: v.PrefColor = lenientColor(); break;
        case 18: v.TownColor = lenientColor(); break;
        case 19: v.NTownColor = lenientColor(); break;
        case 20: v.BackColor = lenientColor(); break;
        case 21: v.WakuColor = lenientColor(); break;
        case 22: v.KuColor = lenientColor(); break;
        case 23: v.DoColor = lenientColor(); break;
        case 24: v.FunColor = lenientColor(); break;
        default: break;
        }
    }
    return result;
}

ConfigReadResult ReadConfig(const std::string& path, ConfigValues& values, MessageSink* sink)
{
    const TextFile file = readSjisFile(path);
    if (!file.ok()) {
        ConfigReadResult result;
        result.status = file.status;
        // A missing file is the normal first start: the start-up values stay, silently.
        if (file.status != TextFileStatus::NotFound && sink)
            sink->show(textFileErrorMessage(file.status, path, file.badLine) + "\n構成ファイルを使わずに標準の設定で起動します",
                       kReadErrorTitle, MessageIcon::Exclamation);
        return result;
    }
    ConfigValues read = values;
    ConfigReadResult result = applyConfigLines(file.lines, read);
    values = read;
    if (!result.badLines.empty() && sink) {
        std::string lines;
        for (int n : result.badLines)
            lines += (lines.empty() ? "" : "，") + std::to_string(n);
        sink->show(fileNameOf(path) + " の " + lines + " 行目の色の値が整数ではありません\nその行は標準の色を使います",
                   kReadErrorTitle, MessageIcon::Exclamation);
    }
    return result;
}

std::vector<std::string> configLines(const ConfigValues& v)
{
    const auto num = [](long long value, const char* comment) { return std::to_string(value) + "," + comment; };
    const auto col = [](uint32_t c, const char* comment) { return formatColorDecimal(c) + "," + comment; };
    return {
        std::string(v.SaveSettingsAtExit ? "-1" : "0") + ",終了時の設定保存",
        num(v.SameColor ? 1 : 0, "同一色"),
        num(v.TimeOrder, "TimeOrder"),
        col(v.TownPaintColor, "TownPaintColor"),
        col(v.TownFontColor, "TownFontColor"),
        col(v.IslandsColor, "IslandsColor"),
        col(v.MountainColor, "MountainColor"),
        col(v.KanaFontColor, "KanaFontColor"),
        col(v.SelectColor, "SelectColor"),
        col(v.clLetter, "clLetter"),
        v.ExtraMarkFolder + ",//Extra Mark Folder",
        col(v.DefPrefColor, "//DefPrefColor"),
        col(v.DefPrefSeatColor, "//DefPrefSeatColor"),
        num(v.DefPrefSize, "//DefPrefSize"),
        num(v.DefPrefSeatSize, "//DefPrefSeatSize"),
        col(v.CoastColor, "CoastColor"),
        col(v.PrefColor, "PrefColor"),
        col(v.TownColor, "TownColor"),
        col(v.NTownColor, "NTownColor"),
        col(v.BackColor, "BackColor"),
        col(v.WakuColor, "WakuColor"),
        col(v.KuColor, "KuColor"),
        col(v.DoColor, "DoColor"),
        col(v.FunColor, "FunColor"),
    };
}

Message configWriteErrorMessage()
{
    return Message{"構成ファイルを書き込めません　　　", "ファイル書き込みエラー　", MessageIcon::Exclamation};
}

bool WriteConfig(const std::string& path, const ConfigValues& values, MessageSink& sink)
{
    logLine("config_writeの実行");
    logLine("configファイル名：" + path);
    int badLine = 0;
    const TextFileStatus status = writeSjisFile(path, configLines(values), &badLine);
    if (status == TextFileStatus::Ok)
        return true;
    std::string reason = textFileErrorMessage(status, path, badLine);
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    logLine(reason);
    sink.show(configWriteErrorMessage());
    return false;
}

} // namespace oboro
