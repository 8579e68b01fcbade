// Symbol files (.mrk, .mks) and the drawing of stamps on small pictures.
#include "common/textfile.h"
#include "support/mapfixtures.h"
#include "support/testsupport.h"
#include "symbols/stamplayer.h"
#include "symbols/stamps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace oboro {
namespace {

const std::vector<StampRecord> kRecords = {
    {100, 21000, 3000, 0x0000FF, 16, true},
    {505, -5, 0, 0x123456, 14, false},
    {241, 2147483647, -2147483647, 0xFFFFFF, 18, true},
};

TEST(StampFiles, MrkAndMksWriteTheirLinesAndReadBackTheSameRecords)
{
    QTemporaryDir dir;
    CollectingSink sink;
    const std::string mrk = (dir.path() + "/a.mrk").toStdString();
    const std::string mks = (dir.path() + "/a.mks").toStdString();
    ASSERT_TRUE(writeStampFile(mrk, kRecords, StampFileKind::Mrk, sink));
    ASSERT_TRUE(writeStampFile(mks, kRecords, StampFileKind::Mks, sink));
    EXPECT_EQ(test::readFileBytes(mrk), "3,STAMP_CT\n100,21000,3000,255,16,1\n505,-5,0,1193046,14,0\n"
                                        "241,2147483647,-2147483647,16777215,18,1\n");
    EXPECT_EQ(test::readFileBytes(mks), test::readFileBytes(mrk).substr(11));
    for (auto [path, kind] : {std::pair{mrk, StampFileKind::Mrk}, std::pair{mks, StampFileKind::Mks}}) {
        const StampFileRead r = readStampFile(path, kind);
        ASSERT_TRUE(r.ok()) << r.error->text;
        EXPECT_EQ(r.records, kRecords);
    }
    EXPECT_TRUE(sink.messages.empty());
    // Nothing is left beside the files.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST(StampFiles, ReadersTakeHexColoursBlanksAndAnyNonZeroTransparency)
{
    const StampFileRead r = parseStampLines({"2,STAMP_CT", " 200, 1,2,0x00ff00,18,7", "", "201,3,4,0,14,0",
                                             "this line after the announced records is not read"},
                                            StampFileKind::Mrk, "x.mrk");
    ASSERT_TRUE(r.ok()) << r.error->text;
    EXPECT_EQ(r.records, (std::vector<StampRecord>{{200, 1, 2, 0x00FF00, 18, true}, {201, 3, 4, 0, 14, false}}));
}

TEST(StampFiles, AMalformedLineRefusesTheFileNamingFileAndLine)
{
    struct Case {
        const char* what;
        StampFileKind kind;
        std::vector<std::string> lines;
        const char* where; // "<file> の <line> 行目"
    };
    const std::string ok = "100,1,2,255,16,1";
    const Case cases[] = {
        {"no count line", StampFileKind::Mrk, {ok}, "bad.mrk の 1 行目"},
        {"empty file", StampFileKind::Mrk, {}, "bad.mrk の 1 行目"},
        {"negative count", StampFileKind::Mrk, {"-1,STAMP_CT"}, "bad.mrk の 1 行目"},
        {"more than the table holds", StampFileKind::Mrk, {"1001,STAMP_CT", ok}, "bad.mrk の 1 行目"},
        {"fewer records than announced", StampFileKind::Mrk, {"3,STAMP_CT", ok, ok}, "bad.mrk の 4 行目"},
        {"five fields", StampFileKind::Mks, {ok, "100,1,2,255,16"}, "bad.mrk の 2 行目"},
        {"a word for a number", StampFileKind::Mks, {"100,x,2,255,16,1"}, "bad.mrk の 1 行目"},
        {"a number out of range", StampFileKind::Mks, {"100,99999999999,2,255,16,1"}, "bad.mrk の 1 行目"},
        {"a colour beyond 24 bits", StampFileKind::Mks, {ok, ok, "100,1,2,0x1000000,16,1"}, "bad.mrk の 3 行目"},
        {"an unknown symbol", StampFileKind::Mks, {"99,1,2,255,16,1"}, "bad.mrk の 1 行目"},
        {"mark 8", StampFileKind::Mks, {"508,1,2,255,16,1"}, "bad.mrk の 1 行目"},
        {"size 15", StampFileKind::Mks, {"100,1,2,255,15,1"}, "bad.mrk の 1 行目"},
    };
    for (const Case& c : cases) {
        const StampFileRead r = parseStampLines(c.lines, c.kind, "bad.mrk");
        ASSERT_FALSE(r.ok()) << c.what;
        EXPECT_TRUE(r.records.empty()) << c.what;
        EXPECT_NE(r.error->text.find(c.where), std::string::npos) << c.what << ": " << r.error->text;
        EXPECT_EQ(r.error->title, kStampFileTitle) << c.what;
        EXPECT_EQ(r.error->icon, MessageIcon::Exclamation) << c.what;
    }
}

TEST(StampFiles, AReadStopsAtTheRoomLeftInTheTable)
{
    std::vector<std::string> lines(3, "100,1,2,255,16,1");
    EXPECT_TRUE(parseStampLines(lines, StampFileKind::Mks, "m.mks", 3).ok());
    const StampFileRead r = parseStampLines(lines, StampFileKind::Mks, "m.mks", 2);
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error->text.find("m.mks の 3 行目"), std::string::npos) << r.error->text;
}

TEST(StampFiles, UnreadableAndUnwritableFilesAreToldByName)
{
    QTemporaryDir dir;
    const StampFileRead missing = readStampFile((dir.path() + "/none.mrk").toStdString(), StampFileKind::Mrk);
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error->text.find("none.mrk"), std::string::npos);
    const std::string notSjis = test::writeFile(dir.path(), "bad.mks", "100,1,2,255,16,1\n\x82\n");
    const StampFileRead bad = readStampFile(notSjis, StampFileKind::Mks);
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error->text.find("bad.mks の 2 行目"), std::string::npos) << bad.error->text;

    CollectingSink sink;
    EXPECT_FALSE(writeStampFile((dir.path() + "/no/such/folder/a.mrk").toStdString(), kRecords, StampFileKind::Mrk, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, kStampSaveErrorTitle);
}

TEST(SymbolNumbers, FilesAndBoxesFollowTheSymbolAndSize)
{
    EXPECT_EQ(symbolFileName(104, 14), "104s.bmp");
    EXPECT_EQ(symbolFileName(104, 16), "104.bmp");
    EXPECT_EQ(symbolFileName(104, 18), "104m.bmp");
    EXPECT_EQ(symbolFileName(503, 18), "mark3.bmp");
    EXPECT_EQ(symbolFileName(230, 14), "230.bmp");
    EXPECT_EQ(symbolBox(104, 14), 14);
    EXPECT_EQ(symbolBox(104, 18), 18);
    EXPECT_EQ(symbolBox(230, 14), 16);
    EXPECT_EQ(symbolBox(503, 18), 16);
}

// ---- drawing

// A mark folder with a test picture: black pixels at the two corners of its box, the
// rest white, for every size of symbol 100, for 200, and blank.bmp.
class StampDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int side : {14, 16, 18}) {
            QImage img(side, side, QImage::Format_RGB32);
            img.fill(Qt::white);
            img.setPixel(0, 0, 0xFF000000u);
            img.setPixel(side - 1, side - 1, 0xFF000000u);
            ASSERT_TRUE(img.save(dir.path() + "/" + QString::fromStdString(symbolFileName(100, side)), "BMP"));
            if (side == 16) {
                ASSERT_TRUE(img.save(dir.path() + "/200.bmp", "BMP"));
            }
        }
        QImage blank(16, 16, QImage::Format_RGB32);
        blank.fill(Qt::white);
        ASSERT_TRUE(blank.save(dir.path() + "/blank.bmp", "BMP"));
        images.setFolder(dir.path());
        // Left half green, right half blue: a transparent stamp shows both.
        canvas.resize(40, 40, 0x00FF00);
        canvas.setBrush(0xFF0000);
        canvas.fillRect(20, 0, 40, 40);
    }
    // The stamp's centre (20, 20) in the unit view.
    StampRecord at(int symbol, int size, bool transparent) const
    {
        return StampRecord{symbol, 20, 600 - 20, 0x0000FF, size, transparent};
    }
    Color px(int x, int y) const { return *canvas.pixel(x, y); }

    QTemporaryDir dir;
    SymbolImages images;
    Canvas canvas;
    ViewState view = test::unitView();
    CollectingSink sink;
};

TEST_F(StampDrawing, EachSizeIsCentredOnItsPointInItsColour)
{
    for (int size : {14, 16, 18}) {
        for (bool transparent : {true, false}) {
            SetUp();
            drawStamps(canvas, view, {at(100, size, transparent)}, images, sink);
            const int left = 20 - size / 2;
            const int right = left + size - 1;
            const std::string what = std::to_string(size) + (transparent ? " transparent" : " opaque");
            EXPECT_EQ(px(left, left), 0x0000FFu) << what;
            EXPECT_EQ(px(right, right), 0x0000FFu) << what;
            // Outside the box the map is untouched.
            EXPECT_EQ(px(left - 1, left), 0x00FF00u) << what;
            EXPECT_EQ(px(right + 1, right), 0xFF0000u) << what;
            EXPECT_EQ(px(left, left - 1), 0x00FF00u) << what;
            // White pixels: the map through a transparent stamp; the map colour under the
            // centre (blue at (20, 20)) behind an opaque one, over the whole box.
            EXPECT_EQ(px(left + 1, left), transparent ? 0x00FF00u : 0xFF0000u) << what;
            EXPECT_EQ(px(right, left), transparent ? 0xFF0000u : 0xFF0000u) << what;
            EXPECT_EQ(px(left, right), transparent ? 0x00FF00u : 0xFF0000u) << what;
        }
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(StampDrawing, OtherSymbolsKeepTheStandardBoxWhateverTheSize)
{
    drawStamps(canvas, view, {at(200, 14, true)}, images, sink);
    EXPECT_EQ(px(12, 12), 0x0000FFu);
    EXPECT_EQ(px(27, 27), 0x0000FFu);
}

TEST_F(StampDrawing, AStampAtTheEdgeIsClipped)
{
    StampRecord r = at(100, 16, false);
    r.x = 2;
    drawStamps(canvas, view, {r}, images, sink);
    EXPECT_EQ(px(9, 27), 0x0000FFu); // the lower right corner
    EXPECT_EQ(px(10, 27), 0x00FF00u);
}

TEST_F(StampDrawing, AMissingFileIsDrawnBlankAfterOneMessage)
{
    // 201.bmp does not exist: blank, which is all white, so only an opaque stamp shows
    // (a square of the colour under its centre).
    drawStamps(canvas, view, {at(201, 16, false), at(201, 16, false)}, images, sink);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, missingSymbolText("201.bmp"));
    EXPECT_EQ(sink.messages[0].title, "カスタム記号");
    EXPECT_EQ(px(12, 12), 0xFF0000u);
}

TEST_F(StampDrawing, WithoutBlankTooNothingIsDrawnAndOneMessageSaysSo)
{
    QFile::remove(dir.path() + "/blank.bmp");
    images.reload();
    const QImage before = canvas.image().copy();
    drawStamps(canvas, view, {at(201, 16, false), at(202, 16, false), at(201, 14, true)}, images, sink);
    EXPECT_EQ(canvas.image(), before);
    int blankMessages = 0;
    for (const Message& m : sink.messages)
        blankMessages += m.text == kNoBlankSymbolText;
    EXPECT_EQ(blankMessages, 1);
}

TEST_F(StampDrawing, PrintSizesDrawTheSymbolAsMuchLarger)
{
    canvas.setDetailScale(DetailScale{2, 1});
    drawStamps(canvas, view, {at(200, 16, true)}, images, sink);
    // 32 pixels from (4, 4): the corner pixels are 2 × 2.
    EXPECT_EQ(px(4, 4), 0x0000FFu);
    EXPECT_EQ(px(5, 5), 0x0000FFu);
    EXPECT_EQ(px(35, 35), 0x0000FFu);
    EXPECT_EQ(px(6, 6), 0x00FF00u);
}

// ---- the bundled bitmaps

TEST(BundledMarks, EverySymbolHasItsPictureAtItsSizes)
{
    const QString mark = test::bundledDataDir() + "/mark/";
    auto check = [&](const std::string& file, int side) {
        const QImage img(mark + QString::fromStdString(file));
        ASSERT_FALSE(img.isNull()) << file;
        EXPECT_EQ(img.size(), QSize(side, side)) << file;
        int black = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const QRgb p = img.pixel(x, y) & 0xFFFFFF;
                EXPECT_TRUE(p == 0 || p == 0xFFFFFF) << file; // black on white only
                black += p == 0;
            }
        if (file != kBlankSymbolFile)
            EXPECT_GT(black, 8) << file;
        else
            EXPECT_EQ(black, 0);
    };
    for (int n = kFirstMapSymbol; n <= kLastMapSymbol; ++n)
        for (int size : {14, 16, 18})
            check(symbolFileName(n, size), size);
    for (int n = kFirstNumberedMark; n <= kLastNumberedMark; ++n)
        check(symbolFileName(n, 16), 16);
    for (int n = kFirstOtherSymbol; n <= kLastOtherSymbol; ++n)
        check(symbolFileName(n, 16), 16);
    check(kBlankSymbolFile, 16);
}

TEST(BundledMarks, AreWhatTheirDrawerWrites)
{
    QTemporaryDir out;
    QProcess drawer;
    drawer.start(QStringLiteral(MKMARKS_EXE), {QStringLiteral("--out"), out.path()});
    ASSERT_TRUE(drawer.waitForFinished(60000));
    ASSERT_EQ(drawer.exitCode(), 0) << drawer.readAllStandardError().toStdString();
    const QDir committed(test::bundledDataDir() + "/mark");
    const QStringList made = QDir(out.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(made, committed.entryList(QDir::Files, QDir::Name));
    for (const QString& f : made)
        EXPECT_TRUE(test::readFileBytes((out.path() + "/" + f).toStdString()) ==
                    test::readFileBytes(committed.filePath(f).toStdString()))
            << f.toStdString() << " differs: run scripts/bundle-data.sh";
}

} // namespace
} // namespace oboro
