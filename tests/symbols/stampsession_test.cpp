// The stamps of the open map on the bundled map of Kanagawa: stamping by click and by
// longitude and latitude, undo, hide, clear, files, the full table and the custom symbols.
#include "app/mapsession.h"
#include "common/dms.h"
#include "common/paths.h"
#include "mapdata/namelists.h"
#include "support/testsupport.h"
#include "symbols/customsymbols.h"
#include "symbols/symbolpalette.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace oboro {
namespace {

constexpr Color kInk = 0x123456; // no other layer draws in this colour

long inkPixels(const QImage& img, const QRect& where = QRect())
{
    const QRect r = where.isNull() ? img.rect() : where.intersected(img.rect());
    long n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) == toPixel(kInk);
    return n;
}

class StampSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        Canvas::installFontSubstitutions();
        // A program folder of its own: the custom symbols are written into its mark folder.
        ASSERT_TRUE(test::copyFolder(test::bundledDataDir() + "/mapdata", folder.path() + "/mapdata"));
        ASSERT_TRUE(test::copyFolder(test::bundledDataDir() + "/mark", folder.path() + "/mark"));
        setProgramFolder(folder.path());
        ASSERT_TRUE(session.selectAreas({13}, false));
        session.setStampColor(kInk);
        sink.messages.clear();
    }
    void TearDown() override { setProgramFolder(test::bundledDataDir()); }
    QImage picture() const { return session.canvas.image().copy(); }
    std::function<bool(const Message&)> answer(bool ok)
    {
        return [this, ok](const Message& m) {
            asked.push_back(m);
            return ok;
        };
    }

    QTemporaryDir folder;
    CollectingSink sink;
    MapSession session{sink};
    std::vector<Message> asked;
};

TEST_F(StampSession, AClickStampsTheSymbolWhereTheCursorShowsItAndRedrawsKeepIt)
{
    ASSERT_TRUE(session.chooseSymbol(116)); // 名所旧跡
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Stamp);
    session.stampAt(100, 100);
    ASSERT_EQ(session.stamps.size(), 1u);
    const StampRecord& r = session.stamps[0];
    EXPECT_EQ(r.symbol, 116);
    EXPECT_EQ(r.color, kInk);
    EXPECT_EQ(r.size, 16);
    EXPECT_TRUE(r.transparent);
    const QPoint centre = MapToPixel(session.view, r.x, r.y);
    EXPECT_LE((centre - QPoint(116, 116)).manhattanLength(), 1);
    const QRect box(centre.x() - 8, centre.y() - 8, 16, 16);
    const long shown = inkPixels(session.canvas.image(), box);
    EXPECT_GT(shown, 10);
    EXPECT_EQ(inkPixels(session.canvas.image()), shown);
    session.redraw();
    EXPECT_EQ(inkPixels(session.canvas.image(), box), shown);
    // The readout names the point where the stamp lands.
    EXPECT_EQ(session.readoutPoint(QPoint(100, 100)), QPoint(116, 116));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(StampSession, UndoThreeTimesAfterTwoStampsLeavesNone)
{
    session.chooseSymbol(200);
    session.stampAt(100, 100);
    session.stampAt(200, 200);
    ASSERT_EQ(session.stamps.size(), 2u);
    for (int i = 0; i < 3; ++i)
        session.undoStamp();
    EXPECT_TRUE(session.stamps.empty());
    EXPECT_EQ(inkPixels(session.canvas.image()), 0);
}

TEST_F(StampSession, HiddenStampsAreNotDrawnAndComeBackWhenShown)
{
    session.chooseSymbol(202);
    session.stampAt(150, 150);
    const QImage with = picture();
    session.toggleStampsShown();
    EXPECT_FALSE(session.tools.symbolsShown);
    EXPECT_EQ(inkPixels(session.canvas.image()), 0);
    session.toggleStampsShown();
    EXPECT_EQ(picture(), with);
}

TEST_F(StampSession, ClearAsksAndCancelKeepsTheStamps)
{
    session.chooseSymbol(200);
    session.stampAt(100, 100);
    session.clearStamps(answer(false));
    EXPECT_EQ(session.stamps.size(), 1u);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, kClearStampsText);
    session.clearStamps(answer(true));
    EXPECT_TRUE(session.stamps.empty());
    EXPECT_EQ(inkPixels(session.canvas.image()), 0);
}

TEST_F(StampSession, StampingWhileDisabledShowsTheMessageAndDisarmsUntilEnabled)
{
    session.chooseSymbol(104);
    session.toggleStampingDisabled();
    EXPECT_NE(session.activeMouseTool(), MouseToolId::Stamp);
    session.chooseSymbol(104); // choosing again arms it, but stamping stays off
    EXPECT_EQ(session.activeMouseTool(), MouseToolId::Stamp);
    EXPECT_TRUE(session.symbolPalette.disabled);
    session.stampWhilePaused();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kStampingOffText);
    EXPECT_FALSE(session.symbolPalette.armed);
    EXPECT_TRUE(session.stamps.empty());
    session.toggleStampingDisabled();
    EXPECT_TRUE(session.stampingArmed());
    EXPECT_EQ(session.symbolPalette.symbol, 104);
}

TEST_F(StampSession, AFullTableRefusesTheNextStamp)
{
    session.chooseSymbol(200);
    session.stamps.assign(kStampCapacity, StampRecord{});
    session.stampAt(100, 100);
    EXPECT_EQ(session.stamps.size(), static_cast<size_t>(kStampCapacity));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kStampTableFullText);
}

TEST_F(StampSession, LongitudeAndLatitudePlaceTheStampThere)
{
    session.chooseSymbol(113);
    session.stampAtLonLat("139.3800", "35.2700", false);
    session.stampAtLonLat("139.3800", "35.2700", true);
    ASSERT_EQ(session.stamps.size(), 2u);
    const int x = longitudeToMapX(parseDms("139.3800")), y = latitudeToMapY(parseDms("35.2700"));
    EXPECT_EQ(QPoint(session.stamps[0].x, session.stamps[0].y), QPoint(x, y));
    EXPECT_EQ(QPoint(session.stamps[1].x, session.stamps[1].y), QPoint(x + 30, y - 45));
    EXPECT_FALSE(session.symbolPalette.pending);

    session.stampAtLonLat("139.38", "35.2700", false);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kDmsErrorText);
    EXPECT_EQ(session.stamps.size(), 2u);
}

TEST_F(StampSession, ARefusedFileChangesNothingAndAGoodOneReplacesOrAdds)
{
    session.chooseSymbol(200);
    session.stampAt(100, 100);
    session.stampAt(120, 100);
    const auto before = session.stamps;
    const QImage shown = picture();
    const std::string bad = test::writeFile(folder.path(), "bad.mrk", "2,STAMP_CT\n100,1,2,255,16,1\n100,1,2\n");
    EXPECT_FALSE(session.readStamps(bad, StampFileKind::Mrk, false));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_NE(sink.messages[0].text.find("bad.mrk の 3 行目"), std::string::npos) << sink.messages[0].text;
    EXPECT_EQ(session.stamps, before);
    EXPECT_EQ(picture(), shown);

    const std::string mks = (folder.path() + "/saved.mks").toStdString();
    ASSERT_TRUE(session.writeStamps(mks, StampFileKind::Mks));
    ASSERT_TRUE(session.readStamps(mks, StampFileKind::Mks, true));
    EXPECT_EQ(session.stamps.size(), 4u);
    ASSERT_TRUE(session.readStamps(mks, StampFileKind::Mks, false));
    EXPECT_EQ(session.stamps, before);
    EXPECT_EQ(session.symbolPalette.lastFileName, "saved.mks");
}

TEST_F(StampSession, NoStampsNoMksFile)
{
    const std::string mks = (folder.path() + "/empty.mks").toStdString();
    EXPECT_FALSE(session.writeStamps(mks, StampFileKind::Mks));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kNoStampsToSaveText);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(mks)));
}

TEST_F(StampSession, CustomSymbolsAreCopiedInAndOutAndDeleted)
{
    session.chooseSymbol(221);
    session.stampAt(100, 100);
    EXPECT_TRUE(session.stamps.empty());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, kBlankCustomText);

    // The user's folder: 221 is a copy of the star.
    QTemporaryDir mine;
    ASSERT_TRUE(QFile::copy(folder.path() + "/mark/208.bmp", mine.path() + "/221.bmp"));
    EXPECT_FALSE(session.copyCustomSymbolsIn(folder.path() + "/MARK", answer(true)));
    EXPECT_EQ(sink.messages.back().text, kSameFolderText);
    EXPECT_FALSE(session.copyCustomSymbolsIn(mine.path(), answer(false)));
    EXPECT_FALSE(QFile::exists(folder.path() + "/mark/221.bmp"));
    ASSERT_TRUE(session.copyCustomSymbolsIn(mine.path(), answer(true)));
    EXPECT_EQ(asked.back().text, copyInQuestion(mine.path()));
    EXPECT_TRUE(QFile::exists(folder.path() + "/mark/221.bmp"));
    session.stampAt(100, 100);
    ASSERT_EQ(session.stamps.size(), 1u);
    EXPECT_GT(inkPixels(session.canvas.image()), 10);

    QTemporaryDir out;
    ASSERT_TRUE(session.copyCustomSymbolsOut(out.path(), answer(true)));
    EXPECT_EQ(test::readFileBytes((out.path() + "/221.bmp").toStdString()),
              test::readFileBytes((mine.path() + "/221.bmp").toStdString()));

    ASSERT_TRUE(session.deleteCustomSymbols(answer(true)));
    EXPECT_FALSE(QFile::exists(folder.path() + "/mark/221.bmp"));
    EXPECT_TRUE(QFile::exists(folder.path() + "/mark/208.bmp"));
    // The palette starts again; the stamp of the deleted symbol is drawn blank.
    EXPECT_EQ(session.symbolPalette.color, 0x0000FFu);
    EXPECT_FALSE(session.symbolPalette.armed);
    EXPECT_EQ(sink.messages.back().text, missingSymbolText("221.bmp"));
}

} // namespace
} // namespace oboro
