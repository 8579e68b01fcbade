#include "lines/lineeditor.h"

#include <QFileInfo>
#include <QString>
#include <algorithm>

namespace oboro {

namespace {

std::string numbered(int n, const char* rest) { return std::to_string(n) + rest; }

std::string baseName(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

} // namespace

void LineEditor::startNew()
{
    line.points.clear();
    fileName.clear();
    status = "新規作成";
    prompt = "0 番目の点を指定してください";
    click = LineClick::Append;
    target = -1;
    selected = -1;
    editView = true;
    shown = true;
    saved = true;
    shiftTotal = {};
}

bool LineEditor::clickAt(QPoint map)
{
    switch (click) {
    case LineClick::Append:
        line.points.push_back(map);
        selected = count() - 1;
        prompt = numbered(count(), " 番目の点を指定してください");
        saved = false;
        return true;
    case LineClick::FillInserted: {
        const int at = std::clamp(target, 0, count());
        line.points.insert(line.points.begin() + at, map);
        click = LineClick::None;
        selected = at;
        prompt = "挿入しました";
        saved = false;
        return true;
    }
    case LineClick::Move:
        if (target >= 0 && target < count())
            line.points[static_cast<size_t>(target)] = map;
        click = LineClick::None;
        selected = std::min(target + 1, count() - 1);
        prompt = "移動しました";
        saved = false;
        return true;
    default:
        return false;
    }
}

bool LineEditor::finishAppending()
{
    click = LineClick::None;
    if (count() <= 1) {
        line.points.clear();
        selected = -1;
        prompt = "編集するデータがありません";
        return false;
    }
    saved = false;
    if (closeLoop) {
        const auto first = std::find_if(line.points.begin(), line.points.end(), [](const QPoint& p) { return !isBreak(p); });
        if (first != line.points.end())
            line.points.push_back(*first);
    }
    prompt = "編集できます";
    status = "編集データ未保存";
    selected = count() - 1;
    return true;
}

void LineEditor::addBreak()
{
    if (click != LineClick::Append || line.points.empty() || isBreak(line.points.back()))
        return;
    line.points.emplace_back(0, 0);
    selected = count() - 1;
    saved = false;
}

void LineEditor::insert()
{
    if (click != LineClick::None)
        return;
    if (appendOnInsert || line.points.empty()) {
        target = count();
        click = LineClick::Append;
        appendOnInsert = false;
    } else {
        target = std::clamp(selected, 0, count() - 1) + 1;
        click = LineClick::FillInserted;
    }
    prompt = numbered(target, " 番目の点を指定してください");
    editView = true;
    saved = false;
}

void LineEditor::deleteSelected()
{
    if (click != LineClick::None || selected < 0 || selected >= count())
        return;
    prompt = numbered(selected, " 番目の点を削除しました");
    line.points.erase(line.points.begin() + selected);
    if (selected >= count())
        selected = count() - 1;
    saved = false;
}

void LineEditor::startMove()
{
    if (click != LineClick::None || selected < 0 || selected >= count())
        return;
    target = selected;
    prompt = numbered(selected, " 番目の点の移動先を指定してください");
    click = LineClick::Move;
    editView = true;
    saved = false;
}

void LineEditor::select(int row)
{
    if (row >= 0 && row < count())
        selected = row;
}

void LineEditor::shift(int dx, int dy)
{
    for (QPoint& p : line.points)
        if (!isBreak(p))
            p += QPoint(dx, dy);
    selected = count() - 1;
    shiftTotal += QPoint(dx, dy);
    saved = false;
}

void LineEditor::setEditView(bool on)
{
    editView = on;
    if (line.points.empty())
        return;
    if (on) {
        prompt = "編集できます";
    } else {
        prompt = "表示しました";
        shiftTotal = {};
    }
}

void LineEditor::opened(const std::string& path, LineData data)
{
    line = std::move(data);
    fileName = path;
    status = baseName(path);
    click = LineClick::None;
    selected = line.points.empty() ? -1 : 0;
    saved = true;
    shown = true;
    closeLoop = false;
    shiftTotal = {};
    setEditView(false);
}

void LineEditor::savedAs(const std::string& path)
{
    fileName = path;
    saved = true;
    status = baseName(path);
}

void LineEditor::close()
{
    line.points.clear();
    fileName.clear();
    click = LineClick::None;
    target = -1;
    selected = -1;
    saved = true;
    editView = false;
    shiftTotal = {};
    status = "編集終了";
    prompt = "地図線の編集・表示";
}

void LineEditor::setStyle(const LineStyle& s)
{
    if (s == line.style)
        return;
    line.style = s;
    // The look is saved with the points: any change of it is an unsaved edit.
    if (!line.points.empty())
        saved = false;
}

bool samePath(const std::string& a, const std::string& b)
{
    return QString::compare(QString::fromStdString(a), QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

bool DisplayedLines::load(const std::vector<std::string>& paths, bool append, const std::string& editedFile,
                          MessageSink& sink)
{
    if (!editedFile.empty())
        for (const std::string& p : paths)
            if (samePath(p, editedFile)) {
                sink.show(kEditedFileDisplayedText, kEditedFileDisplayedTitle, MessageIcon::Exclamation);
                return false;
            }
    const size_t start = append ? files.size() : 0;
    if (start + paths.size() > static_cast<size_t>(kDisplayedLineCapacity)) {
        sink.show(kDisplayedFullText, kDisplayedTitle, MessageIcon::Exclamation);
        return false;
    }
    std::vector<DisplayedLineFile> read;
    read.reserve(paths.size());
    for (const std::string& p : paths) {
        std::optional<LineData> d = readLineFile(p, sink);
        if (!d)
            return false;
        read.push_back(DisplayedLineFile{p, std::move(*d)});
    }
    if (!append)
        files.clear();
    for (DisplayedLineFile& f : read)
        files.push_back(std::move(f));
    return true;
}

bool DisplayedLines::contains(const std::string& path) const
{
    return std::any_of(files.begin(), files.end(), [&](const DisplayedLineFile& f) { return samePath(f.path, path); });
}

void DisplayedLines::remove(const std::string& path)
{
    files.erase(std::remove_if(files.begin(), files.end(), [&](const DisplayedLineFile& f) { return samePath(f.path, path); }),
                files.end());
}

std::string DisplayedLines::statusText() const
{
    return files.empty() ? "ファイル　なし" : std::to_string(files.size()) + " 個読み込み";
}

} // namespace oboro
