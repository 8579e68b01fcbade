#include "common/fields.h"

#include <gtest/gtest.h>

using namespace oboro;

namespace {
struct SplitCase {
    const char* text;
    SplitMode mode;
    std::vector<std::string> fields;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << '[' << c.text << ']'; }

class FieldSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(FieldSplit, SplitsAsTheReadersExpect)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(splitFields(c.text, c.mode), c.fields) << "text: [" << c.text << "]";
}

const SplitCase kCases[] = {
    {"", SplitMode::Strict, {}},
    {"\n", SplitMode::Strict, {}},
    {"A,100,200,高松市\n", SplitMode::Strict, {"A", "100", "200", "高松市"}},
    {"1 2\t3", SplitMode::Strict, {"1", "2", "3"}},
    {"  7, 8", SplitMode::Strict, {"7", "8"}},
    // a blank directly before a comma yields an extra empty field
    {"a ,b", SplitMode::Strict, {"a", "", "b"}},
    {"a,,b", SplitMode::Strict, {"a", "", "b"}},
    {",a", SplitMode::Strict, {"", "a"}},
    // a trailing comma gives no trailing empty field
    {"a,b,", SplitMode::Strict, {"a", "b"}},
    {",", SplitMode::Strict, {""}},
    {"16711680,//CoastColor\n", SplitMode::Strict, {"16711680", "//CoastColor"}},
    // text mode keeps blanks inside a field and skips leading ones
    {"  北 区 ,b c\n", SplitMode::Text, {"北 区 ", "b c"}},
    {"x\ty,z", SplitMode::Text, {"x\ty", "z"}},
    {"a,b,", SplitMode::Text, {"a", "b"}},
    {"one\ntwo", SplitMode::Text, {"one", "two"}},
};
INSTANTIATE_TEST_SUITE_P(Cases, FieldSplit, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(FieldSplitCap, FieldHoldsAtMost1023Characters)
{
    const std::string longField(1500, 'x');
    const auto f = splitFields(longField + ",tail", SplitMode::Strict);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].size(), 1023u);
    EXPECT_EQ(f[1], "tail");
}
} // namespace
