// The paint options of the headless command.
#include "app/rendercommand.h"

#include <gtest/gtest.h>

using namespace oboro;

TEST(RenderCommandPaint, PaintAndDataOptions)
{
    const RenderArguments a = parseRenderArguments({"--areas", "13", "--out", "m.png", "--paint", "a.pnt", "--data",
                                                    "d.csv", "--classes", "8", "--class-method=quantile"});
    ASSERT_TRUE(a.options) << a.error;
    EXPECT_EQ(a.options->paintFile, "a.pnt");
    EXPECT_EQ(a.options->dataFile, "d.csv");
    EXPECT_EQ(a.options->classes, 8);
    EXPECT_TRUE(a.options->quantiles);
    const RenderArguments d = parseRenderArguments({"--areas", "13", "--out", "m.png", "--data", "d.csv"});
    ASSERT_TRUE(d.options);
    EXPECT_EQ(d.options->classes, 5);
    EXPECT_FALSE(d.options->quantiles);

    struct Case {
        QStringList args;
        const char* error;
    };
    const Case refused[] = {
        {{"--classes", "1"}, "--classes は 2 から 8 までの整数です: 1"},
        {{"--classes", "9"}, "--classes は 2 から 8 までの整数です: 9"},
        {{"--class-method", "jenks"}, "--class-method は equal か quantile です: jenks"},
        {{"--paint="}, "--paint のファイル名が空です"},
    };
    for (const Case& c : refused) {
        const RenderArguments r = parseRenderArguments(QStringList{"--areas", "13", "--out", "m.png"} + c.args);
        EXPECT_FALSE(r.options);
        EXPECT_EQ(r.error, c.error);
    }
}
