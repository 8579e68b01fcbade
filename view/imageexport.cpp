#include "view/imageexport.h"

#include "common/textfile.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace oboro {

namespace {

// The picture as 32-bit pixels (0xffRRGGBB), whatever its format.
QImage asRgb32(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

// One row as R, G, B bytes (rgbOrder) or B, G, R bytes.
void packRow(const QImage& rgb32, int y, unsigned char* out, bool rgbOrder)
{
    const auto* in = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    const int w = rgb32.width();
    for (int x = 0; x < w; ++x) {
        const QRgb p = in[x];
        const unsigned char r = static_cast<unsigned char>(p >> 16);
        const unsigned char g = static_cast<unsigned char>(p >> 8);
        const unsigned char b = static_cast<unsigned char>(p);
        out[0] = rgbOrder ? r : b;
        out[1] = g;
        out[2] = rgbOrder ? b : r;
        out += 3;
    }
}

// ---- PNG ----

struct PngSink {
    std::string* out;
};

void pngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    try {
        sink->out->append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        png_error(png, "out of memory");
    }
}

void pngFlush(png_structp) {}
void pngWarning(png_structp, png_const_charp) {}
[[noreturn]] void pngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Everything libpng touches between setjmp and a possible longjmp lives here, so no
// object with a destructor is skipped by the jump.
bool pngEncodeInto(const QImage& rgb32, const PngOptions& options, std::string& out, unsigned char* row)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    PngSink sink{&out};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, pngWrite, pngFlush);
    // Map pictures are large flat areas crossed by thin lines and 8 × 8 hatches: the Up
    // filter and zlib level 3 (its fast matcher) give files about 1.5 times those of
    // libpng's defaults (adaptive filters, level 6) in a fifth of the time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, options.filters >= 0 ? options.filters : PNG_FILTER_UP);
    png_set_compression_level(png, options.level >= 0 ? options.level : 3);
    png_set_compression_strategy(png, options.strategy >= 0 ? options.strategy : Z_DEFAULT_STRATEGY);
    png_set_compression_buffer_size(png, 1 << 17);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgb32.width()), static_cast<png_uint_32>(rgb32.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < rgb32.height(); ++y) {
        packRow(rgb32, y, row, true);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- JPEG ----

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}
void jpegMessage(j_common_ptr) {}

bool jpegEncodeInto(const QImage& rgb32, int quality, unsigned char** buffer, unsigned long* size,
                    unsigned char* row)
{
    jpeg_compress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegErrorExit;
    err.mgr.output_message = jpegMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(rgb32.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb32.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo); // baseline, sequential (not progressive)
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Full-resolution colour (4:4:4): the map is made of one-pixel coloured lines, which
    // halved chroma would smear into their neighbours.
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        packRow(rgb32, static_cast<int>(cinfo.next_scanline), row, true);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

void putLe16(std::string& s, size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
void putLe32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

const char* const kSaveErrorTitle = "画像保存エラー";

} // namespace

QString imageSaveFilter(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Png: return QStringLiteral("PNGファイル (*.png)|*.png");
    case ImageFormat::Jpeg: return QStringLiteral("JPEGファイル (*.jpg)|*.jpg");
    case ImageFormat::Bmp: return QStringLiteral("BMPFファイル (*.bmp)|*.bmp");
    }
    return {};
}

QString imageExtension(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Png: return QStringLiteral("png");
    case ImageFormat::Jpeg: return QStringLiteral("jpg");
    case ImageFormat::Bmp: return QStringLiteral("bmp");
    }
    return {};
}

QString withImageExtension(const QString& fileName, ImageFormat format)
{
    // Only the last component counts: "maps.v2/map" has no extension, and a leading dot
    // (".map") names a file, not an extension. A trailing dot is dropped.
    const qsizetype slash = std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    const QString name = fileName.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && dot < name.size() - 1)
        return fileName;
    QString base = fileName;
    if (dot > 0 && dot == name.size() - 1)
        base.chop(1);
    return base + QLatin1Char('.') + imageExtension(format);
}

QString savingText(const QString& fileName) { return fileName + QStringLiteral(" を保存しています"); }

QString copyProgressText(int tile, int tiles)
{
    return QStringLiteral("地図を描いています(%1/%2)").arg(tile).arg(tiles);
}

QString copyingToClipboardText() { return QStringLiteral("クリップボードにコピーしています"); }

int imageSizeFactor(int sizeIndex) { return std::clamp(sizeIndex, 0, 2) + 1; }

int exportImageSide(int sizeIndex, int reduction)
{
    return imageSizeFactor(sizeIndex) * 600 / std::max(1, reduction);
}

std::optional<std::string> encodePng(const QImage& image, const PngOptions& options)
{
    if (image.isNull())
        return std::nullopt;
    const QImage rgb32 = asRgb32(image);
    std::string out;
    std::vector<unsigned char> row(static_cast<size_t>(rgb32.width()) * 3);
    out.reserve(static_cast<size_t>(rgb32.width()) * rgb32.height() / 8 + 1024);
    if (!pngEncodeInto(rgb32, options, out, row.data()))
        return std::nullopt;
    return out;
}

std::optional<std::string> encodeJpeg(const QImage& image, int quality)
{
    if (image.isNull() || image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        return std::nullopt;
    const QImage rgb32 = asRgb32(image);
    std::vector<unsigned char> row(static_cast<size_t>(rgb32.width()) * 3);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = jpegEncodeInto(rgb32, quality, &buffer, &size, row.data());
    std::optional<std::string> out;
    if (ok && buffer)
        out = std::string(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

std::optional<std::string> encodeBmp(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QImage rgb32 = asRgb32(image);
    const uint64_t w = static_cast<uint64_t>(rgb32.width());
    const uint64_t h = static_cast<uint64_t>(rgb32.height());
    const uint64_t stride = (w * 3 + 3) & ~uint64_t(3);
    const uint64_t total = 54 + stride * h;
    if (total > 0x7FFFFFFF)
        return std::nullopt;
    std::string out(static_cast<size_t>(total), '\0');
    // BITMAPFILEHEADER
    out[0] = 'B';
    out[1] = 'M';
    putLe32(out, 2, static_cast<uint32_t>(total));
    putLe32(out, 10, 54);
    // BITMAPINFOHEADER: 24 bits, no compression, 96 dots per inch
    putLe32(out, 14, 40);
    putLe32(out, 18, static_cast<uint32_t>(w));
    putLe32(out, 22, static_cast<uint32_t>(h)); // positive: rows bottom-up
    putLe16(out, 26, 1);
    putLe16(out, 28, 24);
    putLe32(out, 34, static_cast<uint32_t>(stride * h));
    putLe32(out, 38, 3780);
    putLe32(out, 42, 3780);
    for (uint64_t y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<unsigned char*>(out.data() + 54 + (h - 1 - y) * stride);
        packRow(rgb32, static_cast<int>(y), row, false);
    }
    return out;
}

std::optional<std::string> encodeImage(const QImage& image, ImageFormat format)
{
    switch (format) {
    case ImageFormat::Png: return encodePng(image);
    case ImageFormat::Jpeg: return encodeJpeg(image, 90);
    case ImageFormat::Bmp: return encodeBmp(image);
    }
    return std::nullopt;
}

bool writeImageFile(const QImage& image, ImageFormat format, const QString& path, MessageSink& sink)
{
    const QString shown = QDir::toNativeSeparators(path);
    const std::optional<std::string> bytes = encodeImage(image, format);
    if (!bytes) {
        sink.show("地図画像を" + imageExtension(format).toUpper().toStdString() + "形式に変換できませんでした\n" +
                      shown.toStdString() + "\nは保存されていません",
                  kSaveErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    if (!writeFileAtomically(path.toStdString(), *bytes)) {
        const QFileInfo info(path);
        const bool folderMissing = !info.absoluteDir().exists();
        sink.show("画像ファイルを書き込めません\n" + shown.toStdString() + "\n" +
                      (folderMissing ? std::string("保存先のフォルダがありません")
                                     : std::string("保存先のフォルダの書き込み権限とディスクの空き容量を確かめてください")),
                  kSaveErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

QImage rangeSquare(const QImage& picture, int x0, int y0, int s)
{
    if (s <= 0)
        return {};
    QImage out(s, s, QImage::Format_RGB32);
    out.fill(Qt::white);
    const QRect wanted(x0, y0, s, s);
    const QRect have = wanted.intersected(picture.rect());
    if (have.isEmpty())
        return out;
    const QImage src = asRgb32(picture);
    for (int y = have.top(); y <= have.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y)) + have.left();
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y - y0)) + (have.left() - x0);
        for (int x = 0; x < have.width(); ++x)
            dst[x] = in[x] | 0xFF000000u;
    }
    return out;
}

void putImageOnClipboard(const QImage& image)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(image);
}

void clearClipboard()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

SaveResult SaveMapImage(ImageFormat format, const ExportSettings& settings, const ExportHooks& hooks, MessageSink& sink)
{
    SaveResult result;
    if (hooks.setFormat)
        hooks.setFormat(format);
    const int factor = imageSizeFactor(settings.sizeIndex);
    const int side = exportImageSide(settings.sizeIndex, settings.reduction);
    const std::optional<QString> chosen =
        hooks.askFileName ? hooks.askFileName(format, imageSaveFilter(format)) : std::nullopt;
    if (!chosen || chosen->isEmpty())
        return result;
    result.path = withImageExtension(*chosen, format);
    if (hooks.showWait)
        hooks.showWait(savingText(result.path));

    QImage picture;
    if (factor == 1 && hooks.currentPicture)
        picture = hooks.currentPicture();
    else if (hooks.drawPicture)
        picture = hooks.drawPicture(side, {});
    const bool ok = writeImageFile(picture, format, result.path, sink);

    if (hooks.hideWait)
        hooks.hideWait();
    result.outcome = ok ? SaveOutcome::Saved : SaveOutcome::Failed;
    return result;
}

void CopyMapImage(const ExportSettings& settings, const ExportHooks& hooks, bool& clipboardUsed)
{
    const int factor = imageSizeFactor(settings.sizeIndex);
    const int side = exportImageSide(settings.sizeIndex, settings.reduction);
    if (hooks.uncheckCentre)
        hooks.uncheckCentre();
    const auto put = [&](const QImage& image) {
        if (hooks.putOnClipboard)
            hooks.putOnClipboard(image);
        else
            putImageOnClipboard(image);
    };

    if (side > 600) {
        if (hooks.showMapImage)
            hooks.showMapImage(false);
        // The picture is drawn in one go at its side; the drawing's own progress is shown
        // as the tiles (factor × factor) a tiled copy would have drawn.
        const int tiles = factor * factor;
        int shown = 1;
        if (hooks.showWait)
            hooks.showWait(copyProgressText(1, tiles));
        const auto progress = [&](int done, int total) {
            if (total <= 0)
                return;
            const int k = std::clamp(static_cast<int>((static_cast<long long>(done) * tiles + total - 1) / total), 1, tiles);
            for (int next = shown + 1; next <= k; ++next) {
                shown = next;
                if (hooks.showWait)
                    hooks.showWait(copyProgressText(next, tiles));
            }
        };
        const QImage picture = hooks.drawPicture ? hooks.drawPicture(side, progress) : QImage();
        if (hooks.showWait)
            hooks.showWait(copyingToClipboardText());
        put(picture);
        if (hooks.showMapImage)
            hooks.showMapImage(true);
    } else {
        put(hooks.currentPicture ? hooks.currentPicture() : QImage());
    }
    clipboardUsed = true;
    if (hooks.hideWait)
        hooks.hideWait();
}

void CopyRangeSquare(int x0, int y0, int s, const ExportHooks& hooks)
{
    const QImage picture = hooks.redrawWithoutRubberBand ? hooks.redrawWithoutRubberBand()
                           : hooks.currentPicture        ? hooks.currentPicture()
                                                         : QImage();
    const QImage square = rangeSquare(picture, x0, y0, s);
    if (hooks.putOnClipboard)
        hooks.putOnClipboard(square);
    else
        putImageOnClipboard(square);
}

} // namespace oboro
