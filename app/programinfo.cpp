#include "app/programinfo.h"

#include "app/startup.h"

#include <cstring>

namespace oboro {

std::string programUsage()
{
    return std::string("白地図 Oboro ") + kProgramVersion +
           ": 都道府県を選んで日本の白地図を描き、市区町村を塗り分けて画像に保存します。\n"
           "\n"
           "使い方: oboro [--folder フォルダ]\n"
           "        oboro render --areas 13,14 --out 地図.png [オプション]   (oboro render --help)\n"
           "        oboro --help | --version\n"
           "\n"
           "  --folder   プログラムフォルダ (地図データの mapdata フォルダがあるところ。既定は現在のフォルダ)\n"
           "  render     ウインドウを開かずに地図を描いて画像ファイルに書く\n"
           "  --help     この説明を表示して終わる\n"
           "  --version  版とライセンスを表示して終わる\n";
}

std::string programVersionText()
{
    return std::string("Oboro ") + kProgramVersion + " (" + kMainCaption + ")\n" + licenceNotice();
}

std::string licenceNotice()
{
    return std::string("ライセンス: ") + kLicenceName +
           "\n"
           "Oboro はフリーソフトウェアです。Free Software Foundation が公表した GNU General Public License\n"
           "第3版またはそれ以降の版の条件のもとで再配布・改変できます。Oboro は無保証です。\n"
           "ライセンスの全文: https://www.gnu.org/licenses/gpl-3.0.html (ソースの LICENSE ファイル)\n";
}

std::string aboutText(const DataSource& source, const std::string& fullLicence)
{
    std::string text = std::string("白地図 Oboro ") + kProgramVersion + "\n\n" + licenceNotice() + "\n";
    text += "地図データ (mapdata/SOURCE.txt)\n";
    if (!source.found) {
        text += "  地図データの出典ファイルがありません。地図データの出典と利用条件はその入手元に従ってください。\n";
    } else {
        if (!source.credit.empty())
            text += "  地図に表示する出典: " + source.credit + "\n";
        for (const std::string& line : source.lines)
            text += "  " + line + "\n";
    }
    if (!fullLicence.empty())
        text += "\n" + fullLicence;
    return text;
}

std::optional<std::string> informationRequest(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return programUsage();
        if (std::strcmp(argv[i], "--version") == 0)
            return programVersionText();
        if (std::strcmp(argv[i], "--folder") == 0)
            ++i; // its value is a folder name, whatever it looks like
    }
    return std::nullopt;
}

std::string displayProblem(const EnvironmentLookup& env)
{
    const std::string platform = env("QT_QPA_PLATFORM");
    const bool x11 = !env("DISPLAY").empty();
    const bool wayland = !env("WAYLAND_DISPLAY").empty();
    const std::string advice = "。デスクトップの中で起動してください (画像だけなら oboro render で描けます)";
    // The first of a ';'-separated list is the one tried first; others are fallbacks.
    const std::string first = platform.substr(0, platform.find(';'));
    if (first.empty())
        return x11 || wayland ? std::string() : "画面がありません (DISPLAY も WAYLAND_DISPLAY も設定されていません)" + advice;
    if (first.rfind("xcb", 0) == 0 && !x11 && platform.find("wayland") == std::string::npos)
        return "画面がありません (QT_QPA_PLATFORM=" + platform + " ですが DISPLAY が設定されていません)" + advice;
    if (first.rfind("wayland", 0) == 0 && !wayland && !x11)
        return "画面がありません (QT_QPA_PLATFORM=" + platform + " ですが WAYLAND_DISPLAY が設定されていません)" + advice;
    return {}; // offscreen, minimal, vnc, eglfs …: no display server needed
}

std::string displayUnreachableText()
{
    return "画面に接続できません (DISPLAY や WAYLAND_DISPLAY の画面が開けません)。デスクトップの中で起動してください";
}

} // namespace oboro
