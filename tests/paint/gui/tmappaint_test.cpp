#include "common/gui/messagebox.h"
#include "paint/gui/tmappaint.h"
#include "paint/gui/tpbrush.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace oboro;

namespace {
QToolButton* button(TMapPaint& w, const char* name) { return w.findChild<QToolButton*>(QString::fromLatin1(name)); }
} // namespace

TEST(TMapPaintWindow, SwatchSelectsItsSlotAndShowsItFlat)
{
    TMapPaint w;
    w.setSwatchesEnabled(true);
    QSignalSpy spy(&w, &TMapPaint::slotSelected);
    w.swatch(3)->click();
    EXPECT_EQ(w.selectedSlot, 3);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 3);
    EXPECT_TRUE(w.swatch(3)->isChecked());
    w.swatch(5)->click();
    EXPECT_FALSE(w.swatch(3)->isChecked());
    w.deselectSlots();
    EXPECT_EQ(w.selectedSlot, -1);
}

TEST(TMapPaintWindow, ColourChangeTakesTheChooserPattern)
{
    TMapPaint w;
    // Pattern 6 chosen for slot 2 through the chooser ...
    button(w, "PatternButton2")->click();
    w.patternChooser()->radio(1)->setChecked(true);
    EXPECT_EQ(w.palette.patterns[1], 6);
    // ... then a colour change of slot 5 gives slot 5 pattern 6 as well.
    w.chooseColor = [](Color) { return std::optional<Color>(0x123456); };
    button(w, "ColorButton5")->click();
    EXPECT_EQ(w.palette.colors[4], 0x123456u);
    EXPECT_EQ(w.palette.patterns[4], 6);
    // A cancelled dialog changes nothing.
    w.chooseColor = [](Color) { return std::optional<Color>(); };
    button(w, "ColorButton1")->click();
    EXPECT_EQ(w.palette.colors[0], kStandardPaintColors[0]);
}

TEST(TMapPaintWindow, StandardAfterAColourSetGivesStandardSolidSlots)
{
    TMapPaint w;
    w.colorSetGroup->button(3)->click();
    EXPECT_EQ(w.palette.colors[0], 0xE8FFDFu);
    w.palette.patterns[2] = 4;
    w.colorSetGroup->button(0)->click();
    EXPECT_EQ(w.palette.colors, kStandardPaintColors);
    EXPECT_EQ(w.palette.patterns[2], 0);
}

TEST(TMapPaintWindow, CloseAsksFirst)
{
    TMapPaint w;
    w.show();
    bool answer = false;
    std::vector<Message> seen;
    setMessageInterceptor([&](const Message& m) {
        seen.push_back(m);
        return answer;
    });
    w.BtnClose->click();
    EXPECT_TRUE(w.isVisible());
    answer = true;
    w.BtnClose->click();
    EXPECT_FALSE(w.isVisible());
    setMessageInterceptor(nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "ペイントウインドウの終了");
    EXPECT_EQ(seen[0].icon, MessageIcon::Question);
}
