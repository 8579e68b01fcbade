#include "labels/labeltable.h"

#include "common/numbers.h"
#include "common/textfile.h"

#include <algorithm>
#include <numeric>

namespace oboro {

std::string labelCell(const LabelRow& row, LabelColumn column)
{
    const auto dot = [](bool on) { return on ? std::string(kLabelShownMark) : std::string(); };
    switch (column) {
    case LabelColumn::Mark: return row.mark;
    case LabelColumn::X: return std::to_string(row.x);
    case LabelColumn::Y: return std::to_string(row.y);
    case LabelColumn::Text: return row.text;
    case LabelColumn::Size: return std::to_string(row.size);
    case LabelColumn::Shown: return dot(row.shown);
    case LabelColumn::Jr: return dot(row.jr);
    case LabelColumn::Main: return dot(row.mainStations);
    case LabelColumn::Rail: return dot(row.rail);
    case LabelColumn::FileNumber: return std::to_string(row.fileNumber);
    }
    return {};
}

std::optional<std::string> editLabelCell(LabelRow& row, LabelColumn column, const std::string& typed)
{
    switch (column) {
    case LabelColumn::Mark:
    case LabelColumn::Text: {
        if (typed.find(',') != std::string::npos)
            return std::string("ラベルにコンマは使えません");
        if (!utf8ToSjis(typed))
            return std::string("Shift-JIS で書けない文字があります");
        (column == LabelColumn::Mark ? row.mark : row.text) = typed;
        return std::nullopt;
    }
    case LabelColumn::X:
    case LabelColumn::Y: {
        const std::optional<int> v = strictInt(typed);
        if (!v)
            return std::string("座標は整数で入力してください");
        (column == LabelColumn::X ? row.x : row.y) = *v;
        return std::nullopt;
    }
    case LabelColumn::Size: {
        const std::optional<int> v = strictInt(typed);
        if (!v || *v < kLabelMinSize || *v > kLabelMaxSize)
            return "文字サイズは " + std::to_string(kLabelMinSize) + " から " + std::to_string(kLabelMaxSize) +
                   " までの整数で入力してください";
        row.size = *v;
        return std::nullopt;
    }
    default:
        return std::string("この欄は変更できません");
    }
}

bool labelTextLess(const std::string& a, const std::string& b)
{
    // Texts typed or read are all Shift-JIS-encodable; one that is not sorts by its
    // UTF-8 bytes, which still gives a strict order.
    const std::string sa = utf8ToSjis(a).value_or(a);
    const std::string sb = utf8ToSjis(b).value_or(b);
    return std::lexicographical_compare(sa.begin(), sa.end(), sb.begin(), sb.end(),
                                        [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

bool LabelTable::append(const LabelRow& row)
{
    if (count() >= kLabelCapacity)
        return false;
    rows_.push_back(row);
    return true;
}

void LabelTable::remove(int i)
{
    if (valid(i))
        rows_.erase(rows_.begin() + i);
}

void LabelTable::sortByText()
{
    if (rows_.size() < 2)
        return;
    // The Shift-JIS form of each text once, then a stable sort of the indices.
    std::vector<std::string> keys;
    keys.reserve(rows_.size());
    for (const LabelRow& r : rows_)
        keys.push_back(utf8ToSjis(r.text).value_or(r.text));
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const std::string& x = keys[a];
        const std::string& y = keys[b];
        return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
            return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
        });
    });
    std::vector<LabelRow> sorted;
    sorted.reserve(rows_.size());
    for (size_t i : order)
        sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
}

void LabelTable::sortByFileNumber()
{
    std::stable_sort(rows_.begin(), rows_.end(),
                     [](const LabelRow& a, const LabelRow& b) { return a.fileNumber < b.fileNumber; });
}

void LabelTable::setAllShown(bool shown)
{
    for (LabelRow& r : rows_)
        r.shown = shown;
}

void LabelTable::setAllColor(Color c)
{
    for (LabelRow& r : rows_)
        r.color = c;
}

void LabelTable::setAllSize(int size)
{
    for (LabelRow& r : rows_)
        r.size = size;
}

int LabelTable::findText(const std::string& text, int from) const
{
    for (int i = std::max(0, from); i < count(); ++i)
        if (row(i).text == text)
            return i;
    return -1;
}

int LabelTable::findFileNumber(int fileNumber) const
{
    for (int i = 0; i < count(); ++i)
        if (row(i).fileNumber == fileNumber)
            return i;
    return -1;
}

int LabelTable::findPosition(int32_t x, int32_t y) const
{
    for (int i = 0; i < count(); ++i)
        if (row(i).x == x && row(i).y == y)
            return i;
    return -1;
}

std::vector<LabelRow> labelsInExtent(const LabelTable& table, const Extent& e)
{
    std::vector<LabelRow> out;
    for (const LabelRow& r : table.rows())
        if (r.x >= e.minX && r.x <= e.maxX && r.y >= e.minY && r.y <= e.maxY)
            out.push_back(r);
    return out;
}

int rebuildFromList(LabelTable& table, const std::vector<LabelRow>& list)
{
    std::vector<LabelRow> rebuilt;
    for (const LabelRow& item : list) {
        const int at = table.findPosition(item.x, item.y);
        if (at < 0)
            continue;
        LabelRow r = table.row(at);
        r.mark = item.mark;
        r.text = item.text;
        r.size = item.size;
        r.shown = item.shown;
        rebuilt.push_back(std::move(r));
    }
    table.replace(std::move(rebuilt));
    return table.count();
}

} // namespace oboro
