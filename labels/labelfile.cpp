#include "labels/labelfile.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <QFile>

namespace oboro {

namespace {

Message openError(const std::string& path, const std::string& why)
{
    std::string text = "ラベルデータファイル " + path + " を読み込むことができません";
    if (!why.empty())
        text += "\n" + why;
    return Message{text, kLabelOpenErrorTitle, MessageIcon::Exclamation};
}

Message lineError(const std::string& path, int line, const std::string& why)
{
    return Message{"ラベルデータファイル " + path + " の " + std::to_string(line) + " 行目が正しくありません\n" + why,
                   kLabelDataErrorTitle, MessageIcon::Exclamation};
}

bool blank(std::string_view s)
{
    return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

LabelFileRead parseLabelFile(std::string_view bytes, const std::string& path, const LabelReadOptions& opt)
{
    LabelFileRead out;
    const TextFile text = decodeSjisText(bytes);
    if (!text.ok()) {
        out.message = openError(path, textFileErrorMessage(text.status, path, text.badLine));
        return out;
    }
    // Nothing of a refused file is kept.
    const auto refuse = [&out](Message m) {
        out.rows.clear();
        out.message = std::move(m);
        return out;
    };
    const bool jr = path.find("JR") != std::string::npos;
    const bool mainStations = path.find("主要") != std::string::npos;
    const bool rail = path.find("鉄道路線") != std::string::npos;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        const std::string& line = text.lines[i];
        const int lineNo = static_cast<int>(i) + 1;
        if (blank(line))
            continue;
        if (rail && !opt.stationNames)
            continue;
        const std::vector<std::string> f = splitFields(line, SplitMode::Text);
        if (f.size() < 5) {
            return refuse(lineError(path, lineNo, "マーク,経度座標,緯度座標,ラベル,サイズ[,色] の形ではありません"));
        }
        const std::optional<int> x = strictInt(f[1]);
        const std::optional<int> y = strictInt(f[2]);
        if (!x || !y) {
            return refuse(lineError(path, lineNo, "座標が整数ではありません"));
        }
        const std::optional<int> size = strictInt(f[4]);
        if (!size || *size < kLabelMinSize || *size > kLabelMaxSize) {
            return refuse(lineError(path, lineNo,
                                    "サイズは " + std::to_string(kLabelMinSize) + " から " +
                                        std::to_string(kLabelMaxSize) + " までの整数です"));
        }
        Color color = 0;
        if (f.size() > 5 && !blank(f[5])) {
            const std::optional<uint32_t> c = strictColor(f[5]);
            if (!c) {
                return refuse(lineError(path, lineNo, "色が数値ではありません"));
            }
            color = *c & 0xFFFFFFu;
        }
        LabelRow r;
        r.mark = f[0];
        r.x = *x;
        r.y = *y;
        r.text = f[3];
        r.size = *size;
        r.shown = true;
        r.jr = jr;
        r.mainStations = mainStations;
        r.rail = rail;
        r.fileNumber = opt.fileNumber;
        r.color = color;
        out.rows.push_back(std::move(r));
        if (out.rows.size() > static_cast<size_t>(kLabelCapacity)) {
            out.rows.clear();
            out.message = Message{"ラベルデータファイル " + path + " のラベルが多すぎます\nラベルは " +
                                      std::to_string(kLabelCapacity) + " 行までです",
                                  kLabelDataErrorTitle, MessageIcon::Exclamation};
            return out;
        }
    }
    out.ok = true;
    return out;
}

LabelFileRead readLabelFile(const std::string& path, const LabelReadOptions& opt)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        LabelFileRead out;
        out.message = openError(path, std::string());
        return out;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        LabelFileRead out;
        out.message = openError(path, std::string());
        return out;
    }
    return parseLabelFile(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), path, opt);
}

std::string labelFileLine(const LabelRow& row)
{
    return row.mark + "," + std::to_string(row.x) + "," + std::to_string(row.y) + "," + row.text + "," +
           std::to_string(row.size) + "," + std::to_string(static_cast<int32_t>(row.color));
}

namespace {
bool writeLines(const std::string& path, const std::vector<std::string>& lines, MessageSink& sink)
{
    int badLine = 0;
    const TextFileStatus st = writeSjisFile(path, lines, &badLine);
    if (st == TextFileStatus::Ok)
        return true;
    sink.show(textFileErrorMessage(st, path, badLine), kLabelWriteErrorTitle, MessageIcon::Exclamation);
    return false;
}
} // namespace

bool writeLabelFile(const std::string& path, const LabelTable& table, MessageSink& sink)
{
    std::vector<std::string> lines;
    lines.reserve(table.rows().size());
    for (const LabelRow& r : table.rows())
        if (r.shown)
            lines.push_back(labelFileLine(r));
    return writeLines(path, lines, sink);
}

namespace {
void addInside(std::vector<std::string>& out, const Projector& proj, int side, int32_t x, int32_t y,
               const std::string& name)
{
    int px = 0, py = 0;
    proj(x, y, px, py);
    if (px < 0 || py < 0 || px > side || py > side)
        return;
    out.push_back(std::string(kDefaultLabelMark) + "," + std::to_string(x) + "," + std::to_string(y) + "," + name +
                  ",8");
}
} // namespace

std::vector<std::string> namesInViewLines(const MapStore& store, const ViewState& view)
{
    std::vector<std::string> out;
    const Projector proj(view);
    for (const NameTable* t : {&store.commonNames, &store.newNames})
        for (const NameEntry& e : t->entries)
            if (e.mark == 's')
                addInside(out, proj, view.imageSide, e.x, e.y, e.name);
    for (const DuplicateNameEntry& e : store.duplicateNames)
        addInside(out, proj, view.imageSide, e.x, e.y, e.name);
    return out;
}

std::vector<std::string> preMergerNamesInViewLines(const MapStore& store, const ViewState& view)
{
    std::vector<std::string> out;
    const Projector proj(view);
    for (const NameEntry& e : store.oldNames.entries)
        if (e.mark == 's')
            addInside(out, proj, view.imageSide, e.x, e.y, e.name);
    return out;
}

bool writeGeneratedLabelFile(const std::string& path, const std::vector<std::string>& lines, MessageSink& sink)
{
    return writeLines(path, lines, sink);
}

} // namespace oboro
