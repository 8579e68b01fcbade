#include "app/config.h"

#include "common/textfile.h"
#include "support/filesizelimit.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

// Every value different from its start-up value.
ConfigValues changedValues()
{
    ConfigValues v;
    v.SaveSettingsAtExit = true;
    v.SameColor = true;
    v.TimeOrder = 0;
    v.TownPaintColor = 0x112233;
    v.TownFontColor = 0x010203;
    v.IslandsColor = 0x445566;
    v.MountainColor = 0x778899;
    v.KanaFontColor = 0xAABBCC;
    v.SelectColor = 0xDDEEFF;
    v.clLetter = 0x123456;
    v.ExtraMarkFolder = "/home/user/記号";
    v.DefPrefColor = 0x000102;
    v.DefPrefSeatColor = 0x030405;
    v.DefPrefSize = 14;
    v.DefPrefSeatSize = 11;
    v.CoastColor = 0x060708;
    v.PrefColor = 0x090A0B;
    v.TownColor = 0x0C0D0E;
    v.NTownColor = 0x0F1011;
    v.BackColor = 0xFFFFFF;
    v.WakuColor = 0x121314;
    v.KuColor = 0x151617;
    v.DoColor = 0x18191A;
    v.FunColor = 0x1B1C1D;
    return v;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& l : lines)
        s += l + "\r\n";
    return s;
}

} // namespace

TEST(Config, RoundTripRestoresEveryValueButTheEditorColour)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/mapdata/config.ini";
    QDir().mkpath(dir.path() + "/mapdata");
    const ConfigValues written = changedValues();
    CollectingSink sink;
    ASSERT_TRUE(WriteConfig(path, written, sink));
    EXPECT_TRUE(sink.messages.empty());

    const TextFile file = readSjisFile(path);
    ASSERT_TRUE(file.ok());
    ASSERT_EQ(file.lines.size(), 24u);
    EXPECT_EQ(file.lines[0], "-1,終了時の設定保存");
    EXPECT_EQ(file.lines[1], "1,同一色");
    EXPECT_EQ(file.lines[3], std::to_string(0x112233) + ",TownPaintColor");
    EXPECT_EQ(file.lines[9], std::to_string(0x123456) + ",clLetter");
    EXPECT_EQ(file.lines[10], "/home/user/記号,//Extra Mark Folder");
    EXPECT_EQ(file.lines[23], std::to_string(0x1B1C1D) + ",FunColor");
    // On disk the file is Shift-JIS with "\n" line ends.
    const std::string bytes = test::readFileBytes(path);
    EXPECT_EQ(bytes.substr(0, 20), *utf8ToSjis("-1,終了時の設定保存\n"));

    ConfigValues read;
    const ConfigReadResult r = ReadConfig(path, read, &sink);
    EXPECT_EQ(r.status, TextFileStatus::Ok);
    EXPECT_TRUE(sink.messages.empty());
    ConfigValues expected = written;
    expected.clLetter = ConfigValues{}.clLetter; // line 10 is never read back
    EXPECT_EQ(read, expected);
}

TEST(Config, LineOneOffRestoresOnlyLinesTwoAndElevenButWritesAll)
{
    ConfigValues stored = changedValues();
    stored.SaveSettingsAtExit = false;
    std::vector<std::string> lines = configLines(stored);
    EXPECT_EQ(lines[0], "0,終了時の設定保存");

    ConfigValues read;
    applyConfigLines(lines, read);
    ConfigValues expected; // start-up values …
    expected.SaveSettingsAtExit = false;
    expected.SameColor = true;                       // … but line 2
    expected.ExtraMarkFolder = stored.ExtraMarkFolder; // and line 11
    EXPECT_EQ(read, expected);

    // At exit all 24 current values are written, whatever line 1 says.
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/config.ini";
    CollectingSink sink;
    ASSERT_TRUE(WriteConfig(path, stored, sink));
    const TextFile file = readSjisFile(path);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.lines, lines);
    EXPECT_EQ(file.lines[15], std::to_string(stored.CoastColor) + ",CoastColor");
}

TEST(Config, ShortFileKeepsTheDefaultsOfItsMissingLines)
{
    QTemporaryDir dir;
    const std::string path = test::writeSjisFile(dir.path(), "config.ini",
                                                 "-1,終了時の設定保存\n0,同一色\n0,TimeOrder\n255,TownPaintColor\n");
    ConfigValues read;
    CollectingSink sink;
    const ConfigReadResult r = ReadConfig(path, read, &sink);
    EXPECT_EQ(r.linesRead, 4);
    EXPECT_TRUE(sink.messages.empty());
    ConfigValues expected;
    expected.TimeOrder = 0;
    expected.TownPaintColor = 255;
    EXPECT_EQ(read, expected);
}

TEST(Config, BadValuesKeepTheirDefaultInStrictLinesAndReadLenientlyElsewhere)
{
    std::vector<std::string> lines = configLines(ConfigValues{});
    lines[3] = "abc,TownPaintColor";   // strict: not an integer → default kept
    lines[4] = "12x,TownFontColor";    // strict: trailing garbage → default kept
    lines[5] = ",IslandsColor";        // strict: empty → default kept
    lines[6] = "  4660 ,MountainColor"; // strict: surrounding blanks are fine
    lines[13] = "12pt,//DefPrefSize";  // lenient: leading digits
    lines[14] = "99999999999,//DefPrefSeatSize"; // a size beyond 6..50 keeps its value
    lines[15] = "blue,CoastColor";     // lenient: no digits gives 0
    lines[10] = "/mnt/my marks,//Extra Mark Folder"; // cut at the first blank
    QTemporaryDir dir;
    const std::string path = test::writeSjisFile(dir.path(), "config.ini", joinLines(lines));

    ConfigValues read;
    CollectingSink sink;
    const ConfigReadResult r = ReadConfig(path, read, &sink);
    EXPECT_EQ(r.badLines, (std::vector<int>{4, 5, 6}));
    ConfigValues expected;
    expected.MountainColor = 4660;
    expected.DefPrefSize = 12;
    expected.CoastColor = 0;
    expected.ExtraMarkFolder = "/mnt/my";
    EXPECT_EQ(read, expected);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "config.ini の 4，5，6 行目の色の値が整数ではありません\nその行は標準の色を使います");
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Exclamation);
}

TEST(Config, MissingFileIsSilentAndWrongEncodingKeepsDefaultsAndReports)
{
    QTemporaryDir dir;
    ConfigValues read = changedValues();
    const ConfigValues before = read;
    CollectingSink sink;
    EXPECT_EQ(ReadConfig(dir.path().toStdString() + "/none.ini", read, &sink).status, TextFileStatus::NotFound);
    EXPECT_TRUE(sink.messages.empty());

    // Valid first line, then bytes that are not Shift-JIS: nothing is applied at all.
    const std::string path = test::writeFile(dir.path(), "config.ini", "0,x\n1,y\n\x81\x20\xFF\xFF,TimeOrder\n");
    EXPECT_EQ(ReadConfig(path, read, &sink).status, TextFileStatus::BadEncoding);
    EXPECT_EQ(read, before);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("Shift-JIS"), std::string::npos);
    EXPECT_NE(sink.messages[0].text.find("3 行目"), std::string::npos);
}

TEST(Config, UnwritableFileIsReportedAndTheOldFileStaysWhole)
{
    QTemporaryDir dir;
    CollectingSink sink;
    // A folder that cannot exist (its parent is a file).
    test::writeFile(dir.path(), "mapdata", "not a folder");
    EXPECT_FALSE(WriteConfig(dir.path().toStdString() + "/mapdata/config.ini", ConfigValues{}, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], (Message{"構成ファイルを書き込めません　　　", "ファイル書き込みエラー　",
                                         MessageIcon::Exclamation}));

    // A full disk while the file is rewritten: the old file is kept as it was.
    const std::string path = test::writeFile(dir.path(), "config.ini", "old contents\n");
    {
        test::FileSizeLimit full(64);
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(WriteConfig(path, changedValues(), sink));
    }
    EXPECT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(test::readFileBytes(path), "old contents\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // mapdata, config.ini
}
