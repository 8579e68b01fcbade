// The search box's history and the search paint through the main window, on a copy of
// the bundled program folder: searches, a restart, the right-click menu and the main
// menu, and the paint of a searched name.
#include "app/gui/topen.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "common/textfile.h"
#include "paint/paint.h"
#include "search/gui/tdatacheck.h"
#include "search/searchhistory.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::copyFolder;
using test::QuietDialogs;

class SearchHistoryWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Canvas::installFontSubstitutions();
        ASSERT_TRUE(copyFolder(test::bundledDataDir(), folder.path()));
        setProgramFolder(folder.path());
        dialogs = std::make_shared<QuietDialogs>();
        setMessageInterceptor([this](const Message& m) {
            dialogs->shown.push_back(m);
            return true;
        });
        start();
    }
    void TearDown() override
    {
        w.reset();
        setMessageInterceptor(nullptr);
        DiagnosticLog::instance().close();
    }
    void start()
    {
        w = std::make_unique<TOpen>(nullptr, dialogs);
        w->ken()->areaBox(12)->setChecked(true);
        w->ken()->Button1->click();
    }
    // 終　了, then the program started again on the same folder.
    void restart()
    {
        ASSERT_TRUE(w->exitProgram());
        w.reset();
        start();
    }
    // Types a name into the search box and presses 検　索; a choice window takes its
    // first place.
    void searchFor(const char* typed)
    {
        w->ComboBox1->setEditText(QString::fromUtf8(typed));
        QTimer::singleShot(0, w.get(), [this] {
            if (w->choiceWindow()->isVisible() && w->choiceWindow()->itemCount() > 0)
                w->choiceWindow()->item(0)->click();
        });
        w->Button9->click();
    }
    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < w->ComboBox1->count(); ++i)
            out << w->ComboBox1->itemText(i);
        return out;
    }
    std::string historyFile() const { return test::readFileBytes(programPath(kHistoryFileName)); }
    QImage picture() const { return w->MapImage->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

    QTemporaryDir folder;
    std::shared_ptr<QuietDialogs> dialogs;
    std::unique_ptr<TOpen> w;
};

const QStringList kFiveNewestFirst = {"立川市", "鎌倉市", "町田市", "横須賀市", "八王子市"};

TEST_F(SearchHistoryWindow, FiveSearchesAreKeptNewestFirstAcrossARestart)
{
    EXPECT_TRUE(w->action("MTimeOrder")->isEnabled());
    EXPECT_TRUE(w->action("MTimeOrder")->isChecked());
    for (const char* n : {"八王子市", "横須賀市", "町田市", "鎌倉市", "立川市"})
        searchFor(n);
    EXPECT_EQ(items(), kFiveNewestFirst);
    EXPECT_EQ(w->ComboBox1->currentText(), QStringLiteral("立川市")); // the typed text stays
    // Searching one of them again leaves the list as it is.
    searchFor("町田市");
    EXPECT_EQ(items(), kFiveNewestFirst);

    restart();
    EXPECT_EQ(items(), kFiveNewestFirst);
    EXPECT_EQ(historyFile(), utf8ToSjis("立川市\r\n鎌倉市\r\n町田市\r\n横須賀市\r\n八王子市\r\n").value());

    // Text order is kept in the configuration and comes back with the program.
    w->action("MKanjiOrder")->trigger();
    EXPECT_TRUE(w->action("MKanjiOrder")->isChecked());
    EXPECT_FALSE(w->action("MTimeOrder")->isChecked());
    const QStringList sorted = {"横須賀市", "鎌倉市", "町田市", "八王子市", "立川市"}; // Shift-JIS order
    EXPECT_EQ(items(), sorted);
    restart();
    EXPECT_TRUE(w->action("MKanjiOrder")->isChecked());
    searchFor("府中市");
    EXPECT_EQ(items(), (QStringList{"横須賀市", "鎌倉市", "町田市", "八王子市", "府中市", "立川市"}));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(SearchHistoryWindow, RightClickMenuAndMainMenuEditTheList)
{
    for (const char* n : {"八王子市", "横須賀市", "町田市", "鎌倉市", "立川市"})
        searchFor(n);
    // この市区町村名を削除する: the entry the box shows, after the question; the rest sorted.
    w->ComboBox1->setEditText(QStringLiteral("町田市"));
    dialogs->answer = false;
    w->action("N7")->trigger();
    EXPECT_EQ(items(), kFiveNewestFirst);
    dialogs->answer = true;
    w->action("N7")->trigger();
    ASSERT_EQ(dialogs->asked.size(), 2u);
    EXPECT_EQ(dialogs->asked[1], (Message{"町田市 を検索履歴から削除しますか？     ", "検索履歴の編集",
                                          MessageIcon::Question}));
    EXPECT_EQ(items(), (QStringList{"横須賀市", "鎌倉市", "八王子市", "立川市"}));
    EXPECT_EQ(historyFile(), utf8ToSjis("横須賀市\r\n鎌倉市\r\n八王子市\r\n立川市\r\n").value());
    // A text that is no entry: nothing is asked.
    w->ComboBox1->setEditText(QStringLiteral("市区町村名"));
    w->action("N7")->trigger();
    EXPECT_EQ(dialogs->asked.size(), 2u);

    // すべての市区町村名を削除する asks; 検索した市町村名を空にする does not.
    dialogs->answer = false;
    w->action("N8")->trigger();
    EXPECT_EQ(items().size(), 4);
    EXPECT_EQ(dialogs->asked.back().title, "検索履歴の削除");
    dialogs->answer = true;
    w->action("N8")->trigger();
    EXPECT_TRUE(items().isEmpty());
    searchFor("立川市");
    ASSERT_TRUE(w->action("MClearHistory")->isEnabled());
    const size_t asked = dialogs->asked.size();
    w->action("MClearHistory")->trigger();
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(dialogs->asked.size(), asked);
    // The emptied list is written at exit.
    restart();
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(historyFile(), "");
}

TEST_F(SearchHistoryWindow, AFullListDropsItsOldestNameAndStaysFull)
{
    w.reset();
    std::string file;
    for (int i = 0; i < kHistoryCapacity; ++i)
        file += "名" + std::to_string(100 + i) + "町\r\n";
    test::writeFile(folder.path(), "mapdata/townlist.lst", utf8ToSjis(file).value());
    start();
    ASSERT_EQ(items().size(), kHistoryCapacity);
    searchFor("町田市");
    EXPECT_EQ(items().size(), kHistoryCapacity);
    EXPECT_EQ(items().front(), QStringLiteral("町田市"));
    EXPECT_EQ(items().back(), QStringLiteral("名148町"));
    restart();
    EXPECT_EQ(items().size(), kHistoryCapacity);
    EXPECT_EQ(items().front(), QStringLiteral("町田市"));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(SearchHistoryWindow, ABadHistoryFileKeepsItsGoodLines)
{
    w.reset();
    test::writeFile(folder.path(), "mapdata/townlist.lst",
                    utf8ToSjis("府中市\r\n").value() + "\x82\xA0\x82\r\n" + utf8ToSjis("町田市\r\n").value());
    start();
    EXPECT_EQ(items(), (QStringList{"府中市", "町田市"}));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_NE(dialogs->shown[0].text.find("townlist.lst"), std::string::npos);
    EXPECT_NE(dialogs->shown[0].text.find("2 行目"), std::string::npos);
}

TEST_F(SearchHistoryWindow, SearchPaintFillsTheSearchedMunicipalityAlone)
{
    ASSERT_TRUE(w->CBTownPaint->isEnabled());
    w->CBTownPaint->click();
    ASSERT_TRUE(w->switches.CBTownPaint);
    searchFor("府中市"); // in 東京 and 広島: the choice window takes 東京
    ASSERT_EQ(w->store.selectedAreas, std::vector<int>{12});
    EXPECT_EQ(items(), QStringList{"府中市"});
    // Names and the centre mark are drawn over the fills: without them both pictures show
    // the fills alone.
    w->CBTownName->click();
    ASSERT_FALSE(w->switches.CBTownName);
    ASSERT_FALSE(w->switches.CBCenter);
    const Color colour = w->display.TownPaintColor;
    const QImage painted = picture();
    long n = 0;
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            n += painted.pixel(x, y) == toPixel(colour);
    EXPECT_GT(n, 500);

    // Off: the plain map. Filling 府中市's name records on it with the paint tool's fill
    // gives exactly the picture the search paint drew.
    w->CBTownPaint->click();
    ASSERT_FALSE(w->switches.CBTownPaint);
    for (const NameEntry& e : w->store.commonNames.entries)
        if (e.name == "府中市") {
            const QPoint p = MapToPixel(w->view, e.x, e.y);
            regionFill(w->canvas, p.x(), p.y(), colour, 0, FillTarget(w->canvas, w->display, p.x(), p.y()));
        }
    EXPECT_EQ(w->canvas.image().convertToFormat(QImage::Format_RGB32), painted);
    EXPECT_TRUE(dialogs->shown.empty());
}

} // namespace
} // namespace oboro
