#include "symbols/stamplayer.h"

#include "common/paths.h"

#include <QFileInfo>

namespace oboro {

void SymbolImages::setFolder(const QString& folder)
{
    if (folder == folder_)
        return;
    folder_ = folder;
    cache_.clear();
}

QString SymbolImages::path(const std::string& fileName) const { return resolvePath(folder_, fileName); }

bool SymbolImages::exists(const std::string& fileName) const
{
    return !folder_.isEmpty() && QFileInfo(path(fileName)).isFile();
}

const QImage& SymbolImages::picture(const std::string& fileName, int side)
{
    const auto key = std::make_pair(fileName, side);
    auto it = cache_.find(key);
    if (it != cache_.end())
        return it->second;
    QImage img;
    if (exists(fileName)) {
        img = QImage(path(fileName));
        if (!img.isNull()) {
            if (img.width() != side || img.height() != side)
                img = img.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            img = img.convertToFormat(QImage::Format_RGB32);
        }
    }
    return cache_.emplace(key, std::move(img)).first->second;
}

std::string missingSymbolText(const std::string& fileName)
{
    return "カスタム記号 " + fileName + " が見つかりません                 ";
}

namespace {

inline bool isBlack(uint32_t p) { return (p & 0x00FFFFFFu) == 0; }
inline bool isWhite(uint32_t p) { return (p & 0x00FFFFFFu) == 0x00FFFFFFu; }

} // namespace

void drawStamp(Canvas& canvas, const ViewState& view, const StampRecord& r, SymbolImages& images,
               MissingSymbols& missing, MessageSink& sink)
{
    // Print sizes draw the symbol as many times larger as every other detail.
    const int box = canvas.detailScale().pixels(symbolBox(r.symbol, r.size));
    const std::string file = symbolFileName(r.symbol, r.size);
    const QImage* pic = &images.picture(file, box);
    if (pic->isNull()) {
        if (missing.files.insert(file).second)
            sink.show(missingSymbolText(file), kCustomSymbolTitle, MessageIcon::Exclamation);
        pic = &images.picture(kBlankSymbolFile, box);
        if (pic->isNull()) {
            if (!missing.blankMissing)
                sink.show(kNoBlankSymbolText, kCustomSymbolTitle, MessageIcon::Exclamation);
            missing.blankMissing = true;
            return;
        }
    }
    const QPoint centre = MapToPixel(view, r.x, r.y);
    const int left = centre.x() - box / 2;
    const int top = centre.y() - box / 2;
    QImage& img = canvas.image();
    const int w = img.width(), h = img.height();
    if (left >= w || top >= h || left + box <= 0 || top + box <= 0)
        return;
    const uint32_t ink = toPixel(r.color);
    // An opaque stamp's white takes the map colour under its centre (white off the picture).
    uint32_t under = toPixel(kWhite);
    if (!r.transparent)
        under = toPixel(canvas.pixel(centre.x(), centre.y()).value_or(kWhite));
    const int j0 = std::max(0, -top), j1 = std::min(box, h - top);
    const int i0 = std::max(0, -left), i1 = std::min(box, w - left);
    for (int j = j0; j < j1; ++j) {
        const auto* src = reinterpret_cast<const uint32_t*>(pic->constScanLine(j));
        auto* dst = reinterpret_cast<uint32_t*>(img.scanLine(top + j)) + left;
        for (int i = i0; i < i1; ++i) {
            const uint32_t p = src[i];
            if (isBlack(p))
                dst[i] = ink;
            else if (r.transparent)
                continue;
            else
                dst[i] = isWhite(p) ? under : (p | 0xFF000000u);
        }
    }
}

void drawStamps(Canvas& canvas, const ViewState& view, const std::vector<StampRecord>& records, SymbolImages& images,
                MessageSink& sink)
{
    MissingSymbols missing;
    for (const StampRecord& r : records)
        drawStamp(canvas, view, r, images, missing, sink);
}

QImage recolouredSymbol(const QImage& picture, Color color)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    const uint32_t ink = toPixel(color);
    for (int j = 0; j < out.height(); ++j) {
        auto* row = reinterpret_cast<uint32_t*>(out.scanLine(j));
        for (int i = 0; i < out.width(); ++i)
            if (isBlack(row[i]))
                row[i] = ink;
    }
    return out;
}

} // namespace oboro
