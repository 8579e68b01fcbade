// What the map data folder says about itself (SOURCE.txt): the credit drawn on the map
// and the date the boundaries are as of.
#include "common/paths.h"
#include "mapdata/datasource.h"
#include "mapdata/loader.h"
#include "support/testsupport.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace oboro;

namespace {

void setFileDate(const std::string& path, QDate d)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(d, QTime(12, 0)), QFileDevice::FileModificationTime));
}

TEST(DataSource, ReferenceDates)
{
    const struct {
        const char* text;
        QDate date;
    } cases[] = {
        {"2021/01/01", QDate(2021, 1, 1)}, {"2024-03-31", QDate(2024, 3, 31)}, {"1920/10/1", QDate(1920, 10, 1)},
        {"2021/02/30", QDate()},           {"2021/01", QDate()},               {"2021/01/01 12:00", QDate()},
        {"2021-01/01", QDate()},           {"令和3年", QDate()},                {"", QDate()},
    };
    for (const auto& c : cases) {
        const std::optional<QDate> d = parseReferenceDate(c.text);
        EXPECT_EQ(d.value_or(QDate()), c.date) << c.text;
    }
}

TEST(DataSource, CreditAndDateFromTheFileWhateverTheFolderIsCalled)
{
    QTemporaryDir dir;
    test::writeSjisFile(dir.path(), "MAPDATA/source.TXT",
                        "mkmapdata で作成した地図データ\r\n基準日: 2020/01/01\r\n出典: 「行政区域データ」を加工して作成\r\n"
                        "出典: 二つ目は使わない\r\n");
    const DataSource s = readDataSource(dir.path());
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.credit, "「行政区域データ」を加工して作成");
    EXPECT_EQ(s.referenceDate, QDate(2020, 1, 1));
    EXPECT_EQ(s.lines.size(), 4u);

    // No file, or one that is not Shift-JIS: nothing, and so no credit on the map.
    QTemporaryDir empty;
    EXPECT_FALSE(readDataSource(empty.path()).found);
    EXPECT_TRUE(readDataSource(empty.path()).credit.empty());
    test::writeFile(empty.path(), "mapdata/SOURCE.txt", "\xff\xff\xff\n");
    EXPECT_FALSE(readDataSource(empty.path()).found);
}

TEST(DataSource, TheReferenceDateWinsOverTheFileDates)
{
    QTemporaryDir dir;
    setFileDate(test::writeFile(dir.path(), "mapdata/13.MAP", "Z\n"), QDate(2025, 6, 1));
    // Without a reference date: the newest map file, as files copied with their dates.
    EXPECT_EQ(boundaryDataDate(dir.path()), QDate(2025, 6, 1));
    test::writeSjisFile(dir.path(), "mapdata/SOURCE.txt", "出典: x\n");
    EXPECT_EQ(boundaryDataDate(dir.path()), QDate(2025, 6, 1));
    test::writeSjisFile(dir.path(), "mapdata/SOURCE.txt", "基準日: 2021/01/01\n");
    EXPECT_EQ(boundaryDataDate(dir.path()), QDate(2021, 1, 1));
    setProgramFolder(dir.path());
    EXPECT_EQ(scanDataDate(), 410101); // what the prefecture window shows

    QTemporaryDir none;
    EXPECT_FALSE(boundaryDataDate(none.path()).has_value());
}

TEST(DataSource, TheBundledDataIsOfJanuaryFirst2021WithTheNationalCredit)
{
    const DataSource s = readDataSource(test::bundledDataDir());
    ASSERT_TRUE(s.found);
    EXPECT_EQ(s.credit, "「国土数値情報（行政区域データ）」（国土交通省）を加工して作成");
    EXPECT_EQ(s.referenceDate, QDate(2021, 1, 1));
    EXPECT_EQ(boundaryDataDate(test::bundledDataDir()), QDate(2021, 1, 1));
}

} // namespace
