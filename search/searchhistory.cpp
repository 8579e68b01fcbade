#include "search/searchhistory.h"

#include "common/textfile.h"
#include "mapdata/rawtext.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace oboro {

namespace {

constexpr const char* kHistoryErrorTitle = "検索履歴エラー";

std::string fileNameOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

bool hasControl(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Why a name cannot be a line of the file, or nothing when it can.
const char* lineProblem(std::string_view sjis)
{
    if (sjis.size() > kHistoryNameBytes)
        return "長すぎます（98 バイトまで）";
    if (hasControl(sjis))
        return "制御文字があります";
    return nullptr;
}

void sortUnique(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), historyTextLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

} // namespace

Message deleteHistoryEntryQuestion(std::string_view name)
{
    return Message{std::string(name) + " を検索履歴から削除しますか？     ", "検索履歴の編集", MessageIcon::Question};
}

Message deleteAllHistoryQuestion()
{
    return Message{"検索履歴をすべて削除しますか    ", "検索履歴の削除", MessageIcon::Question};
}

bool historyTextLess(const std::string& a, const std::string& b)
{
    // Every entry is Shift-JIS-encodable (add and the reader see to it).
    const std::string sa = utf8ToSjis(a).value_or(a);
    const std::string sb = utf8ToSjis(b).value_or(b);
    return std::lexicographical_compare(sa.begin(), sa.end(), sb.begin(), sb.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

std::vector<std::string> parseHistory(std::string_view bytes, const std::string& fileName, MessageSink& sink)
{
    std::vector<std::string> names;
    LineProblems problems;
    RawLines lines(bytes);
    std::string_view line;
    while (lines.next(line) && static_cast<int>(names.size()) < kHistoryCapacity) {
        if (line.empty())
            continue;
        if (const char* why = lineProblem(line)) {
            problems.add(lines.number(), why);
            continue;
        }
        std::optional<std::string> name = sjisToUtf8(line);
        if (!name) {
            problems.add(lines.number(), "文字コードが Shift-JIS ではありません");
            continue;
        }
        names.push_back(std::move(*name));
    }
    problems.flush(fileName, sink);
    return names;
}

void SearchHistory::load(const std::string& path, MessageSink& sink)
{
    path_ = path;
    names_.clear();
    QFile file(QString::fromStdString(path));
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        sink.show(textFileErrorMessage(TextFileStatus::ReadError, path), kHistoryErrorTitle, MessageIcon::Exclamation);
        return;
    }
    const QByteArray bytes = file.readAll();
    names_ = parseHistory(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), fileNameOf(path),
                          sink);
}

std::string historyFileBytes(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names) {
        // Entries are checked when they come in; one that cannot be written is left out
        // rather than cut.
        const std::optional<std::string> sjis = utf8ToSjis(n);
        if (!sjis || sjis->empty() || lineProblem(*sjis))
            continue;
        out += *sjis;
        out += "\r\n";
    }
    return out;
}

bool SearchHistory::save(const std::string& path, MessageSink& sink) const
{
    if (writeFileAtomically(path, historyFileBytes(names_)))
        return true;
    sink.show(textFileErrorMessage(TextFileStatus::WriteError, path), kHistoryErrorTitle, MessageIcon::Exclamation);
    return false;
}

bool SearchHistory::add(const std::string& name, MessageSink& sink)
{
    if (name.empty())
        return false;
    const std::optional<std::string> sjis = utf8ToSjis(name);
    if (!sjis) {
        sink.show(name + " には Shift-JIS で書けない文字があるため検索履歴に加えられません", kHistoryErrorTitle,
                  MessageIcon::Exclamation);
        return false;
    }
    if (const char* why = lineProblem(*sjis)) {
        sink.show("検索履歴に加えられない市区町村名です：" + std::string(why), kHistoryErrorTitle,
                  MessageIcon::Exclamation);
        return false;
    }
    const size_t n = names_.size();
    const size_t w = std::min<size_t>(kHistoryCapacity - 1, n);
    const size_t m = order_ == HistoryOrder::Time ? std::min<size_t>(kHistoryVisibleRows, w) : w;
    if (std::find(names_.begin(), names_.begin() + static_cast<std::ptrdiff_t>(m), name) !=
        names_.begin() + static_cast<std::ptrdiff_t>(m))
        return false;
    if (order_ == HistoryOrder::Time) {
        names_.resize(w);
        names_.insert(names_.begin(), name);
    } else {
        // The first w entries (the ones that sort last drop when the list is full), then
        // the name in its sorted place.
        names_.resize(w);
        names_.push_back(name);
        std::stable_sort(names_.begin(), names_.end(), historyTextLess);
    }
    return true;
}

bool SearchHistory::rewrite(std::vector<std::string> names, MessageSink& sink)
{
    sortUnique(names);
    names_ = std::move(names);
    return path_.empty() || save(path_, sink);
}

bool SearchHistory::remove(int i, MessageSink& sink)
{
    if (i < 0 || i >= static_cast<int>(names_.size()))
        return false;
    std::vector<std::string> others = names_;
    others.erase(others.begin() + i);
    return rewrite(std::move(others), sink);
}

void SearchHistory::setOrder(HistoryOrder order, MessageSink& sink)
{
    if (order_ == order)
        return;
    order_ = order;
    if (order == HistoryOrder::Text)
        rewrite(names_, sink);
}

} // namespace oboro
