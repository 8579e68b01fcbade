// Label files: reading, writing back, and refusing files that are not label files.
#include "common/textfile.h"
#include "labels/labelfile.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace oboro {
namespace {

TEST(LabelFile, ReadsFiveAndSixFieldLinesWithBlanksInsideTheText)
{
    QTemporaryDir dir;
    const std::string path = test::writeSjisFile(dir.path(), "a.lbl",
                                                 "○,175800,170700,横浜 みなとみらい,8,8388608\r\n"
                                                 "◎,-5,0x,新宿,12\n"
                                                 "\n"
                                                 "○,1,2,,50,0x0000ff\n");
    const LabelFileRead r = readLabelFile(path, LabelReadOptions{});
    // "0x" is not an integer position: the file is refused, naming its line.
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.text, "ラベルデータファイル " + path + " の 2 行目が正しくありません\n座標が整数ではありません");

    const std::string good = test::writeSjisFile(dir.path(), "b.lbl",
                                                 "○,175800,170700,横浜 みなとみらい,8,8388608\r\n"
                                                 "◎,-5,0,新宿,12\n"
                                                 "\n"
                                                 "○,1,2,,50,0x0000ff\n");
    const LabelFileRead ok = readLabelFile(good, LabelReadOptions{});
    ASSERT_TRUE(ok.ok) << ok.message.text;
    ASSERT_EQ(ok.rows.size(), 3u);
    EXPECT_EQ(ok.rows[0], (LabelRow{"○", 175800, 170700, "横浜 みなとみらい", 8, true, false, false, false, 0, 8388608}));
    EXPECT_EQ(ok.rows[1].color, 0u); // five fields: black
    EXPECT_EQ(ok.rows[1].x, -5);
    EXPECT_EQ(ok.rows[2].text, "");
    EXPECT_EQ(ok.rows[2].color, 0x0000FFu);
}

TEST(LabelFile, RoundTripKeepsTextsAndColoursAndLeavesHiddenRowsOut)
{
    QTemporaryDir dir;
    LabelTable t;
    for (int i = 0; i < 10; ++i) {
        LabelRow r;
        r.x = 170000 + i;
        r.y = 160000 - i;
        r.text = "ラベル " + std::to_string(i) + " 番";
        r.size = 6 + i;
        r.color = static_cast<Color>(0x010203 * i);
        r.shown = i != 2 && i != 5 && i != 7;
        t.append(r);
    }
    CollectingSink sink;
    const std::string path = dir.filePath("out.lbl").toStdString();
    ASSERT_TRUE(writeLabelFile(path, t, sink));
    const std::string bytes = test::readFileBytes(path);
    EXPECT_EQ(bytes.substr(0, bytes.find('\n')), *utf8ToSjis("○,170000,160000,ラベル 0 番,6,0"));
    const LabelFileRead back = readLabelFile(path, LabelReadOptions{});
    ASSERT_TRUE(back.ok);
    ASSERT_EQ(back.rows.size(), 7u); // three hidden rows are not written
    std::vector<LabelRow> shown;
    for (const LabelRow& r : t.rows())
        if (r.shown)
            shown.push_back(r);
    EXPECT_EQ(back.rows, shown);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(LabelFile, PathGivesTheStationFlagsAndStationFilesNeedTheStationSwitch)
{
    QTemporaryDir dir;
    const std::string path = test::writeSjisFile(dir.path(), "鉄道路線/JR主要駅.lbl", "○,1,2,東京,8\n");
    const LabelFileRead off = readLabelFile(path, LabelReadOptions{4, false});
    ASSERT_TRUE(off.ok);
    EXPECT_TRUE(off.rows.empty());
    const LabelFileRead on = readLabelFile(path, LabelReadOptions{4, true});
    ASSERT_EQ(on.rows.size(), 1u);
    EXPECT_TRUE(on.rows[0].jr && on.rows[0].mainStations && on.rows[0].rail);
    EXPECT_EQ(on.rows[0].fileNumber, 4);
    EXPECT_EQ(labelCell(on.rows[0], LabelColumn::FileNumber), "4");
    EXPECT_EQ(labelCell(on.rows[0], LabelColumn::Rail), "●");
}

TEST(LabelFile, BadFilesAreRefusedWithTheFileAndLine)
{
    QTemporaryDir dir;
    struct Case {
        std::string bytes;
        std::string message; // after "ラベルデータファイル <path> "
    };
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "o,1,2,x,8\n";
    const Case cases[] = {
        {"o,1,2,x,8\n\x81\x7f,1,2,x,8\n", "を読み込むことができません\nファイルの文字コードが Shift-JIS ではありません\nf.lbl の 2 行目"},
        {"o,1,2,x,8\no,abc,2,x,8\n", "の 2 行目が正しくありません\n座標が整数ではありません"},
        {"o,1,2,x\n", "の 1 行目が正しくありません\nマーク,経度座標,緯度座標,ラベル,サイズ[,色] の形ではありません"},
        {"o,1,2,x,0\n", "の 1 行目が正しくありません\nサイズは 1 から 500 までの整数です"},
        {"o,1,2,x,8,red\n", "の 1 行目が正しくありません\n色が数値ではありません"},
        {many, "のラベルが多すぎます\nラベルは 20000 行までです"},
    };
    for (const Case& c : cases) {
        const std::string path = test::writeFile(dir.path(), "f.lbl", c.bytes);
        const LabelFileRead r = readLabelFile(path, LabelReadOptions{});
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.rows.empty()) << r.message.text;
        EXPECT_EQ(r.message.text, "ラベルデータファイル " + path + " " + c.message);
        EXPECT_EQ(r.message.icon, MessageIcon::Exclamation);
    }
    const LabelFileRead missing = readLabelFile(dir.filePath("none.lbl").toStdString(), LabelReadOptions{});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message.title, kLabelOpenErrorTitle);
}

} // namespace
} // namespace oboro
