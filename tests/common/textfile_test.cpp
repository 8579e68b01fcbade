#include "common/log.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

TEST(Sjis, RoundTripsTheAwkwardCharacters)
{
    // 髙 (IBM extension), ① (NEC special), ～ (full-width tilde) survive UTF-8 → CP932 → UTF-8.
    for (const std::string text : {"髙島屋", "①②", "～", "ｶﾀｶﾅ", "高松市,100"}) {
        const auto sjis = utf8ToSjis(text);
        ASSERT_TRUE(sjis) << text;
        EXPECT_EQ(sjisToUtf8(*sjis), text) << text;
        EXPECT_EQ(sjisLength(text), sjis->size()) << text;
    }
}

TEST(Sjis, FileBytesRoundTrip)
{
    // 0x8160 is the wave dash of Shift-JIS files; it reads as ～ and is written back unchanged.
    const std::string bytes = "\xFB\xFC\x87\x40\x81\x60\xB6";
    const auto text = sjisToUtf8(bytes);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "髙①～ｶ");
    EXPECT_EQ(utf8ToSjis(*text), bytes);
    EXPECT_EQ(utf8ToSjis("〜"), std::string("\x81\x60")); // a wave dash typed in UTF-8 too
}

TEST(Sjis, BadBytesAreRefused)
{
    EXPECT_FALSE(sjisToUtf8(std::string("\x82", 1)));     // truncated double-byte character
    EXPECT_FALSE(sjisToUtf8(std::string("\x82\x20", 2))); // invalid trail byte
    EXPECT_FALSE(utf8ToSjis("😀"));                      // no CP932 form
}

TEST(Sjis, TruncateKeepsWholeCharacters)
{
    EXPECT_EQ(truncateSjis("北海道南部", 7), "北海道");
    EXPECT_EQ(truncateSjis("ab北", 3), "ab");
}

TEST(SjisFile, ReadsLinesWithEitherLineEnd)
{
    QTemporaryDir dir;
    const std::string sjisName = *utf8ToSjis("高松市");
    const std::string path = test::writeFile(dir.path(), "a.txt", "A,1,2," + sjisName + "\r\nZ\nlast");
    const TextFile f = readSjisFile(path);
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(f.lines, (std::vector<std::string>{"A,1,2,高松市", "Z", "last"}));
    EXPECT_EQ(f.lineBytes, (std::vector<size_t>{12, 1, 4}));
}

TEST(SjisFile, ReportsMissingFileAndBadEncodingWithLine)
{
    QTemporaryDir dir;
    EXPECT_EQ(readSjisFile(dir.path().toStdString() + "/none.txt").status, TextFileStatus::NotFound);
    const std::string path = test::writeFile(dir.path(), "utf8.txt", "ok\n高松市\n");
    const TextFile f = readSjisFile(path);
    EXPECT_EQ(f.status, TextFileStatus::BadEncoding);
    EXPECT_EQ(f.badLine, 2);
    EXPECT_TRUE(f.lines.empty());
    EXPECT_EQ(textFileErrorMessage(f.status, path, f.badLine), "ファイルの文字コードが Shift-JIS ではありません\nutf8.txt の 2 行目");
}

TEST(SjisFile, WriteIsAtomicAndRoundTrips)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/out.lst";
    ASSERT_EQ(writeSjisFile(path, {"髙山市,たかやまし", "～"}), TextFileStatus::Ok);
    EXPECT_EQ(readSjisFile(path).lines, (std::vector<std::string>{"髙山市,たかやまし", "～"}));
    // A line without a CP932 form leaves the old file untouched.
    int bad = 0;
    EXPECT_EQ(writeSjisFile(path, {"ok", "😀"}, &bad), TextFileStatus::NotEncodable);
    EXPECT_EQ(bad, 2);
    EXPECT_EQ(readSjisFile(path).lines.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind
}

TEST(SjisFile, WriteIntoMissingFolderFailsCleanly)
{
    QTemporaryDir dir;
    EXPECT_EQ(writeSjisFile(dir.path().toStdString() + "/no/such/dir/x.txt", {"a"}), TextFileStatus::WriteError);
}

TEST(ProgramPaths, FolderSpellingsNameOneFolder)
{
    QTemporaryDir dir;
    test::writeFile(dir.path(), "mapdata/config.ini", "x\n");
    test::writeFile(dir.path(), "mapdata/Office/13東京都役所.csv", "y\n");
    const std::string expected = (dir.path() + "/mapdata/config.ini").toStdString();
    for (const char* rel : {"\\mapdata\\config.ini", "\\MAPDATA\\config.ini", "\\Mapdata\\CONFIG.INI", "/MApdata/config.ini"})
        EXPECT_EQ(resolvePath(dir.path(), rel).toStdString(), expected) << rel;
    EXPECT_EQ(resolvePath(dir.path(), "\\MAPDATA\\office\\13東京都役所.csv").toStdString(),
              (dir.path() + "/mapdata/Office/13東京都役所.csv").toStdString());
    // A file that does not exist yet keeps its name, in the existing folder.
    EXPECT_EQ(resolvePath(dir.path(), "\\MAPDATA\\townlist.lst").toStdString(),
              (dir.path() + "/mapdata/townlist.lst").toStdString());
    setProgramFolder(dir.path());
    EXPECT_EQ(programPathf("\\MAPDATA\\%02d.MAP", 7), (dir.path() + "/mapdata/07.MAP").toStdString());
}

TEST(DiagnosticLogFile, WritesShiftJisLines)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/OboroLog.txt";
    ASSERT_TRUE(DiagnosticLog::instance().open(path));
    logLine("作業ファイル読込");
    DiagnosticLog::instance().close();
    logLine("closed: not written");
    EXPECT_EQ(test::readFileBytes(path), *utf8ToSjis("作業ファイル読込") + "\n");
}
