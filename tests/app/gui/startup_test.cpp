// Start-up pieces without the window: the data date scan and the start screen picture.
#include "app/startup.h"
#include "support/testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

namespace oboro {
namespace {

void touchAt(const QString& dir, const std::string& rel, const QDate& date)
{
    const std::string path = test::writeFile(dir, rel, "x\n");
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(date, QTime(12, 0)), QFileDevice::FileModificationTime));
}

TEST(DataDateScan, NewestMapFileWinsAndMissingFilesAreSkipped)
{
    QTemporaryDir dir;
    touchAt(dir.path(), "mapdata/01.map", QDate(2019, 3, 31));
    touchAt(dir.path(), "mapdata/13.map", QDate(2021, 7, 15));
    touchAt(dir.path(), "mapdata/52.map", QDate(2020, 12, 1));
    // Not a map file of the 52: ignored even though it is newer.
    touchAt(dir.path(), "mapdata/53.map", QDate(2024, 1, 1));
    touchAt(dir.path(), "mapdata/yomi.lst", QDate(2024, 1, 1));
    const auto d = scanDataDate(dir.path());
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(*d, QDate(2021, 7, 15));
    EXPECT_EQ(packDataDate(*d), 410715);
    EXPECT_EQ(formatDate(*d), "2021/07/15");
}

TEST(DataDateScan, FolderAndFileNamesMatchWhateverTheirCase)
{
    QTemporaryDir dir;
    touchAt(dir.path(), "MAPDATA/47.MAP", QDate(2010, 4, 1));
    const auto d = scanDataDate(dir.path());
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(*d, QDate(2010, 4, 1));
}

TEST(DataDateScan, NoMapFilesGiveNoDate)
{
    QTemporaryDir dir;
    EXPECT_FALSE(scanDataDate(dir.path()).has_value());
    EXPECT_EQ(scanDataDate(dir.path() + "/does-not-exist"), std::nullopt);
}

TEST(ProgramFolder, CurrentDirectoryUnlessTheCommandLineNamesAnother)
{
    QTemporaryDir cwd, other;
    const QString missing = other.path() + "/nothing-here";
    struct Case {
        QStringList args;
        QString folder; // empty: refused
    } cases[] = {
        {{"oboro"}, cwd.path()},
        {{"oboro", "--folder", other.path()}, other.path()},
        {{"oboro", "--folder", missing}, QString()},
        {{"oboro", "--folder"}, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const FolderChoice choice = chooseProgramFolder(c.args, cwd.path());
        EXPECT_EQ(choice.folder, c.folder.isEmpty() ? QString() : QDir(c.folder).absolutePath());
        EXPECT_EQ(choice.error.empty(), !c.folder.isEmpty());
    }
}

TEST(StartScreen, DateLineNamesTheDataDateOrSaysTheDataIsMissing)
{
    const auto withDate = startScreenTexts(QDate(2021, 7, 5));
    ASSERT_EQ(withDate.size(), 15u);
    EXPECT_EQ(withDate.back().text, "使用している行政区界データの最終更新日は 2021/07/05 です");
    EXPECT_EQ(withDate.back().x, 143);
    EXPECT_EQ(withDate.back().y, 480);
    const auto without = startScreenTexts(std::nullopt);
    ASSERT_EQ(without.size(), 15u);
    EXPECT_EQ(without.back().text.find("最終更新日"), std::string::npos);
    EXPECT_NE(without.back().text.find("見つかりません"), std::string::npos);
}

TEST(StartScreen, PictureHoldsOnlyTheGreenTextsOnTheBackground)
{
    Canvas::installFontSubstitutions();
    const Color background = 0xFFFFE1;
    const QDate date(2021, 7, 15);
    Canvas canvas(50, 50, 0);
    drawStartScreen(canvas, background, date);
    ASSERT_EQ(canvas.width(), 600);
    ASSERT_EQ(canvas.height(), 600);

    // Where each text lies, measured with the start screen's font.
    Canvas probe(1, 1);
    probe.setFont(kStartTextSize, kStartTextColor);
    std::vector<QRect> boxes;
    for (const StartText& t : startScreenTexts(date))
        boxes.emplace_back(t.x, t.y, probe.textWidth(t.text), probe.textHeight(t.text));

    std::set<Color> colours;
    std::vector<int> greenIn(boxes.size(), 0);
    int greenOutside = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 600; ++x) {
            const Color c = *canvas.pixel(x, y);
            colours.insert(c);
            if (c != kStartTextColor)
                continue;
            bool inside = false;
            for (size_t i = 0; i < boxes.size(); ++i)
                if (boxes[i].contains(x, y))
                    ++greenIn[i], inside = true;
            greenOutside += inside ? 0 : 1;
        }
    }
    EXPECT_EQ(colours, (std::set<Color>{background, kStartTextColor}));
    EXPECT_EQ(greenOutside, 0);
    for (size_t i = 0; i < boxes.size(); ++i)
        EXPECT_GT(greenIn[i], 20) << "text " << i << " not drawn";
}

} // namespace
} // namespace oboro
