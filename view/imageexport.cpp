#include "view/imageexport.h"

#include "common/largebuffer.h"
#include "common/textfile.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <libdeflate.h>
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

// The palette of a picture of few colours and the lookup of each pixel's entry: an
// open-addressed table, asked only where a row changes colour.
class ColourIndex {
public:
    // The entry of a colour; -1 when it is not in the table.
    int find(uint32_t rgb) const
    {
        for (uint32_t h = slot(rgb);; h = (h + 1) & kMask) {
            if (keys_[h] == 0)
                return -1;
            if (keys_[h] == (rgb | kUsed))
                return entries_[h];
        }
    }
    // Adds a colour (not yet in the table); false when the table holds limit colours.
    bool add(uint32_t rgb, int limit)
    {
        if (static_cast<int>(colours.size()) >= limit)
            return false;
        uint32_t h = slot(rgb);
        while (keys_[h] != 0)
            h = (h + 1) & kMask;
        keys_[h] = rgb | kUsed;
        entries_[h] = static_cast<uint8_t>(colours.size());
        colours.push_back(rgb);
        return true;
    }
    std::vector<uint32_t> colours;

private:
    static constexpr uint32_t kSlots = 1024; // at most 257 colours: a sparse table
    static constexpr uint32_t kMask = kSlots - 1;
    static constexpr uint32_t kUsed = 0x1000000u;
    static uint32_t slot(uint32_t rgb) { return (rgb * 2654435761u) >> 22; }
    uint32_t keys_[kSlots] = {};
    uint8_t entries_[kSlots] = {};
};

// How often the encoders tell their progress.
constexpr int kProgressRows = 64;

bool keepGoing(const EncodeOptions& encode, int done, int total)
{
    return !encode.progress || done % kProgressRows != 0 || encode.progress(done, total);
}

void putBe32(std::string& s, uint32_t v)
{
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
    s.append(b, 4);
}

void pngChunk(std::string& out, const char* type, const void* data, size_t length)
{
    putBe32(out, static_cast<uint32_t>(length));
    const size_t at = out.size();
    out.append(type, 4);
    if (length)
        out.append(static_cast<const char*>(data), length);
    const auto* typed = reinterpret_cast<const Bytef*>(out.data() + at);
    putBe32(out, static_cast<uint32_t>(crc32(0L, typed, static_cast<uInt>(length + 4))));
}

enum class Indexing { Done, TooManyColours, Stopped, NoMemory };

// A picture of at most 256 colours as palette entries, packed as tightly as the palette
// allows (1, 2, 4 or 8 bits per pixel) and unfiltered: rows of a filter byte 0 and
// the packed entries, ready for deflate.
struct IndexedPicture {
    ColourIndex palette;
    int depth = 8;
    size_t rowBytes = 0;
    LargeBuffer rows; // height × (1 + rowBytes), first height × (1 + width)
    size_t used = 0;  // bytes of rows in use
};

Indexing indexPicture(const QImage& rgb32, const EncodeOptions& encode, IndexedPicture& out)
{
    const int w = rgb32.width(), h = rgb32.height();
    const size_t wide = static_cast<size_t>(w) + 1;
    out.rows = LargeBuffer(wide * static_cast<size_t>(h));
    if (out.rows.empty())
        return Indexing::NoMemory;
    out.used = wide * static_cast<size_t>(h);
    // First one byte per entry, while the colours are collected, run by run (a map's
    // rows are long runs of one colour).
    uint32_t last = 0;
    unsigned char entry = 0;
    bool any = false;
    for (int y = 0; y < h; ++y) {
        if (!keepGoing(encode, y, h))
            return Indexing::Stopped;
        const auto* in = reinterpret_cast<const uint32_t*>(rgb32.constScanLine(y));
        unsigned char* row = out.rows.data() + wide * static_cast<size_t>(y);
        row[0] = 0; // filter: none
        int x = 0;
        while (x < w) {
            const uint32_t p = in[x];
            if (!any || p != last) {
                any = true;
                last = p;
                const uint32_t rgb = p & 0xFFFFFFu;
                const int found = out.palette.find(rgb);
                if (found >= 0)
                    entry = static_cast<unsigned char>(found);
                else if (out.palette.add(rgb, 256))
                    entry = static_cast<unsigned char>(out.palette.colours.size() - 1);
                else
                    return Indexing::TooManyColours;
            }
            int end = x + 1;
            while (end + 8 <= w && ((in[end] ^ p) | (in[end + 1] ^ p) | (in[end + 2] ^ p) | (in[end + 3] ^ p) |
                                    (in[end + 4] ^ p) | (in[end + 5] ^ p) | (in[end + 6] ^ p) | (in[end + 7] ^ p)) == 0)
                end += 8;
            while (end < w && in[end] == p)
                ++end;
            std::memset(row + 1 + x, entry, static_cast<size_t>(end - x));
            x = end;
        }
    }
    // Then packed in place: each packed row starts no later than its unpacked one.
    const size_t n = out.palette.colours.size();
    out.depth = n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
    out.rowBytes = (static_cast<size_t>(w) * out.depth + 7) / 8;
    if (out.depth < 8) {
        const int perByte = 8 / out.depth;
        for (int y = 0; y < h; ++y) {
            const unsigned char* from = out.rows.data() + wide * static_cast<size_t>(y) + 1;
            unsigned char* to = out.rows.data() + (out.rowBytes + 1) * static_cast<size_t>(y);
            *to++ = 0;
            unsigned acc = 0;
            int filled = 0;
            for (int x = 0; x < w; ++x) {
                acc = (acc << out.depth) | from[x];
                if (++filled == perByte) {
                    *to++ = static_cast<unsigned char>(acc);
                    acc = 0;
                    filled = 0;
                }
            }
            if (filled)
                *to = static_cast<unsigned char>(acc << (out.depth * (perByte - filled)));
        }
        out.used = (out.rowBytes + 1) * static_cast<size_t>(h);
    }
    return Indexing::Done;
}

// The progress of one part of an encoding: its done of total rows told as part of the
// whole, from `from` to `to` of `whole`.
EncodeOptions partOf(const EncodeOptions& encode, int from, int to, int whole)
{
    EncodeOptions part = encode;
    if (encode.progress)
        part.progress = [&encode, from, to, whole](int done, int total) {
            const long long at = from + (total > 0 ? static_cast<long long>(done) * (to - from) / total : 0);
            return encode.progress(static_cast<int>(at), whole);
        };
    return part;
}

// Up to this size (1800 × 1800) a close trial leaves both forms to be made in full.
constexpr long kBothFormsUpTo = 1800L * 1800L;

// Rows of a large picture tried before the whole is compressed: bands of 16 rows out of
// every 128, spread over the picture.
std::vector<int> trialRows(int height)
{
    std::vector<int> rows;
    for (int y = 48; y < height; ++y)
        if (y % 128 >= 48 && y % 128 < 64)
            rows.push_back(y);
    return rows;
}

// The rows with the Up filter (each byte less the one above it), run-length deflated by
// zlib: strong where consecutive rows differ in a few places only (maps full of thin
// lines), and cheap. All rows, or only the trial rows. Empty when stopped (then stopped
// is set) or out of memory.
std::string deflateUpRuns(const IndexedPicture& p, int height, const std::vector<int>* only,
                          const EncodeOptions& encode, bool& stopped)
{
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, 15, 9, Z_RLE) != Z_OK)
        return {};
    std::string out;
    const size_t stride = p.rowBytes + 1;
    std::vector<unsigned char> row(stride);
    unsigned char buffer[1 << 16];
    const int count = only ? static_cast<int>(only->size()) : height;
    bool ok = true;
    try {
        for (int k = 0; k < count && ok; ++k) {
            if (!keepGoing(encode, k, count)) {
                stopped = true;
                ok = false;
                break;
            }
            const int y = only ? (*only)[static_cast<size_t>(k)] : k;
            const unsigned char* cur = p.rows.data() + stride * static_cast<size_t>(y) + 1;
            if (y == 0) {
                std::copy(cur - 1, cur + p.rowBytes, row.begin());
            } else {
                const unsigned char* above = cur - stride;
                row[0] = 2; // filter: up
                for (size_t i = 0; i < p.rowBytes; ++i)
                    row[1 + i] = static_cast<unsigned char>(cur[i] - above[i]);
            }
            z.next_in = row.data();
            z.avail_in = static_cast<uInt>(row.size());
            const int flush = k + 1 == count ? Z_FINISH : Z_NO_FLUSH;
            do {
                z.next_out = buffer;
                z.avail_out = sizeof buffer;
                if (deflate(&z, flush) == Z_STREAM_ERROR) {
                    ok = false;
                    break;
                }
                out.append(reinterpret_cast<const char*>(buffer), sizeof buffer - z.avail_out);
            } while (z.avail_out == 0);
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    deflateEnd(&z);
    return ok ? out : std::string();
}

// The unfiltered rows deflated by libdeflate at a level; all rows, or only the trial
// rows. Empty when out of memory.
std::string deflateRows(const IndexedPicture& p, int level, const std::vector<int>* only)
{
    const unsigned char* data = p.rows.data();
    size_t size = p.used;
    std::vector<unsigned char> picked;
    if (only) {
        const size_t stride = p.rowBytes + 1;
        try {
            picked.reserve(only->size() * stride);
        } catch (const std::bad_alloc&) {
            return {};
        }
        for (int y : *only)
            picked.insert(picked.end(), data + stride * static_cast<size_t>(y), data + stride * (static_cast<size_t>(y) + 1));
        data = picked.data();
        size = picked.size();
    }
    libdeflate_compressor* c = libdeflate_alloc_compressor(std::clamp(level, 1, 12));
    if (!c)
        return {};
    std::string out;
    LargeBuffer buffer(libdeflate_zlib_compress_bound(c, size));
    if (!buffer.empty()) {
        const size_t n = libdeflate_zlib_compress(c, data, size, buffer.data(), buffer.size());
        try {
            out.assign(reinterpret_cast<const char*>(buffer.data()), n);
        } catch (const std::bad_alloc&) {
            out.clear();
        }
    }
    libdeflate_free_compressor(c);
    return out;
}

// The file of an indexed picture: signature, header, palette, resolution, the rows
// deflated, end. The rows are deflated in two ways, the smaller kept: unfiltered by
// libdeflate, which beats zlib's level 7 of other programs, and Up-filtered run-length.
// The libdeflate level follows the time a picture of its size may take: 9 up to a
// million pixels (a few milliseconds), 7 up to 1800 × 1800 (the 15 ms of a screen
// picture), 8 for print sizes (where zlib's level 7 can come close to level 7's result
// and the drawing takes longer anyway). On large pictures a trial on an eighth of the
// rows picks one form when it wins clearly (by a tenth for the run-length form, a
// twentieth for the other), and on print-size pictures always.
// Nothing when stopped or out of memory.
std::optional<std::string> indexedPng(const IndexedPicture& p, int w, int h, const PngOptions& options,
                                      const EncodeOptions& encode)
{
    const long pixels = static_cast<long>(w) * h;
    const int level = options.deflateLevel >= 0 ? options.deflateLevel
        : pixels <= 1000000                     ? 9
        : pixels <= kBothFormsUpTo              ? 7
                                                : 8;
    bool unfiltered = true;
    bool upRuns = options.upRuns;
    bool stopped = false;
    if (upRuns && pixels > 1000000) {
        const std::vector<int> trial = trialRows(h);
        const size_t none = deflateRows(p, std::min(level, 7), &trial).size();
        const size_t runs = deflateUpRuns(p, h, &trial, {}, stopped).size();
        if (none > 0 && runs > 0) {
            // Near a tie the two differ by a few per cent; large pictures take the one
            // the trial favours rather than the time of both.
            const bool closeCall = runs * 10 >= none * 9 && runs * 20 <= none * 21;
            if (runs < none)
                unfiltered = closeCall && pixels <= kBothFormsUpTo;
            else
                upRuns = closeCall && pixels <= kBothFormsUpTo;
        }
    }
    // Progress: the indexing told rows 0 .. h of 2h, the rest is told here.
    std::string data;
    if (unfiltered) {
        data = deflateRows(p, level, nullptr);
        if (data.empty() || (encode.progress && !encode.progress(upRuns ? h + h / 2 : 2 * h, 2 * h)))
            return std::nullopt;
    }
    if (upRuns) {
        std::string runs = deflateUpRuns(p, h, nullptr, partOf(encode, unfiltered ? h + h / 2 : h, 2 * h, 2 * h), stopped);
        if (stopped)
            return std::nullopt;
        if (!runs.empty() && (data.empty() || runs.size() < data.size()))
            data.swap(runs);
    }
    if (data.empty())
        return std::nullopt;

    std::string out;
    try {
        out.reserve(data.size() + 1024);
        out.append("\x89PNG\r\n\x1a\n", 8);
        unsigned char header[13];
        const uint32_t dims[2] = {static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
        for (int i = 0; i < 2; ++i)
            for (int k = 0; k < 4; ++k)
                header[4 * i + k] = static_cast<unsigned char>(dims[i] >> (24 - 8 * k));
        header[8] = static_cast<unsigned char>(p.depth);
        header[9] = 3; // colour type: palette
        header[10] = header[11] = header[12] = 0; // deflate, adaptive filtering, no interlace
        pngChunk(out, "IHDR", header, sizeof header);
        std::vector<unsigned char> plte;
        for (uint32_t c : p.palette.colours) {
            plte.push_back(static_cast<unsigned char>(c >> 16));
            plte.push_back(static_cast<unsigned char>(c >> 8));
            plte.push_back(static_cast<unsigned char>(c));
        }
        pngChunk(out, "PLTE", plte.data(), plte.size());
        const uint32_t ppm = pixelsPerMetre(encode.dpi);
        unsigned char phys[9];
        for (int k = 0; k < 4; ++k)
            phys[k] = phys[4 + k] = static_cast<unsigned char>(ppm >> (24 - 8 * k));
        phys[8] = 1; // unit: metre
        pngChunk(out, "pHYs", phys, sizeof phys);
        constexpr size_t kIdatSize = 1 << 20;
        for (size_t at = 0; at < data.size(); at += kIdatSize)
            pngChunk(out, "IDAT", data.data() + at, std::min(kIdatSize, data.size() - at));
        pngChunk(out, "IEND", nullptr, 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return out;
}

// Everything libpng touches between setjmp and a possible longjmp lives here, so no
// object with a destructor is skipped by the jump.
bool pngEncodeInto(const QImage& rgb32, const PngOptions& options, const EncodeOptions& encode, std::string& out,
                   unsigned char* row)
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
    // Truecolour pictures (photographs, gradients) are rare here: the Up filter and
    // zlib level 3 (its fast matcher) give files about 1.5 times those of libpng's
    // defaults (adaptive filters, level 6) in a fifth of the time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, options.filters >= 0 ? options.filters : PNG_FILTER_UP);
    png_set_compression_level(png, options.level >= 0 ? options.level : 3);
    png_set_compression_strategy(png, options.strategy >= 0 ? options.strategy : Z_DEFAULT_STRATEGY);
    png_set_compression_buffer_size(png, 1 << 17);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgb32.width()), static_cast<png_uint_32>(rgb32.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    const png_uint_32 ppm = pixelsPerMetre(encode.dpi);
    png_set_pHYs(png, info, ppm, ppm, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    const int rows = rgb32.height();
    for (int y = 0; y < rows; ++y) {
        if (!keepGoing(encode, y, rows)) {
            png_destroy_write_struct(&png, &info);
            return false;
        }
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

// The compressed data appended to a string, a chunk at a time (a stopped or failed
// encoding leaves nothing to free).
struct JpegSink {
    jpeg_destination_mgr mgr; // first: libjpeg sees the sink as its destination
    std::string* out;
    unsigned char chunk[1 << 16];
};

void jpegAppend(j_compress_ptr cinfo, size_t n)
{
    auto* sink = reinterpret_cast<JpegSink*>(cinfo->dest);
    try {
        sink->out->append(reinterpret_cast<const char*>(sink->chunk), n);
    } catch (...) {
        cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    sink->mgr.next_output_byte = sink->chunk;
    sink->mgr.free_in_buffer = sizeof sink->chunk;
}

void jpegInit(j_compress_ptr cinfo)
{
    auto* sink = reinterpret_cast<JpegSink*>(cinfo->dest);
    sink->mgr.next_output_byte = sink->chunk;
    sink->mgr.free_in_buffer = sizeof sink->chunk;
}

boolean jpegEmpty(j_compress_ptr cinfo)
{
    jpegAppend(cinfo, sizeof reinterpret_cast<JpegSink*>(cinfo->dest)->chunk);
    return TRUE;
}

void jpegTerm(j_compress_ptr cinfo)
{
    auto* sink = reinterpret_cast<JpegSink*>(cinfo->dest);
    jpegAppend(cinfo, sizeof sink->chunk - sink->mgr.free_in_buffer);
}

bool jpegEncodeInto(const QImage& rgb32, int quality, const EncodeOptions& encode, JpegSink& sink,
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
    sink.mgr.init_destination = jpegInit;
    sink.mgr.empty_output_buffer = jpegEmpty;
    sink.mgr.term_destination = jpegTerm;
    cinfo.dest = &sink.mgr;
    cinfo.image_width = static_cast<JDIMENSION>(rgb32.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb32.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo); // baseline, sequential (not progressive)
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = 1; // dots per inch
    cinfo.X_density = static_cast<UINT16>(std::clamp(encode.dpi, 1, 65535));
    cinfo.Y_density = cinfo.X_density;
    // Full-resolution colour (4:4:4): the map is made of one-pixel coloured lines, which
    // halved chroma would smear into their neighbours.
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        if (!keepGoing(encode, static_cast<int>(cinfo.next_scanline), static_cast<int>(cinfo.image_height))) {
            jpeg_destroy_compress(&cinfo);
            return false;
        }
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

uint32_t pixelsPerMetre(int dpi)
{
    return static_cast<uint32_t>((static_cast<uint64_t>(std::clamp(dpi, 1, 1000000)) * 10000 + 127) / 254);
}

std::optional<std::string> encodePng(const QImage& image, const PngOptions& options, const EncodeOptions& encode)
{
    if (image.isNull())
        return std::nullopt;
    const QImage rgb32 = asRgb32(image);
    if (options.palette) {
        auto indexed = std::make_unique<IndexedPicture>();
        switch (indexPicture(rgb32, partOf(encode, 0, rgb32.height(), 2 * rgb32.height()), *indexed)) {
        case Indexing::Done: return indexedPng(*indexed, rgb32.width(), rgb32.height(), options, encode);
        case Indexing::Stopped:
        case Indexing::NoMemory: return std::nullopt;
        case Indexing::TooManyColours: break;
        }
    }
    std::string out;
    std::vector<unsigned char> row(static_cast<size_t>(rgb32.width()) * 3);
    out.reserve(static_cast<size_t>(rgb32.width()) * rgb32.height() / 8 + 1024);
    if (!pngEncodeInto(rgb32, options, encode, out, row.data()))
        return std::nullopt;
    return out;
}

std::optional<std::string> encodeJpeg(const QImage& image, int quality, const EncodeOptions& encode)
{
    if (image.isNull() || image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        return std::nullopt;
    const QImage rgb32 = asRgb32(image);
    std::vector<unsigned char> row(static_cast<size_t>(rgb32.width()) * 3);
    std::string out;
    auto sink = std::make_unique<JpegSink>();
    sink->out = &out;
    if (!jpegEncodeInto(rgb32, quality, encode, *sink, row.data()))
        return std::nullopt;
    return out;
}

std::optional<std::string> encodeBmp(const QImage& image, const EncodeOptions& encode)
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
    // BITMAPINFOHEADER: 24 bits, no compression, the resolution in pixels per metre
    putLe32(out, 14, 40);
    putLe32(out, 18, static_cast<uint32_t>(w));
    putLe32(out, 22, static_cast<uint32_t>(h)); // positive: rows bottom-up
    putLe16(out, 26, 1);
    putLe16(out, 28, 24);
    putLe32(out, 34, static_cast<uint32_t>(stride * h));
    putLe32(out, 38, pixelsPerMetre(encode.dpi));
    putLe32(out, 42, pixelsPerMetre(encode.dpi));
    for (uint64_t y = 0; y < h; ++y) {
        if (!keepGoing(encode, static_cast<int>(y), static_cast<int>(h)))
            return std::nullopt;
        auto* row = reinterpret_cast<unsigned char*>(out.data() + 54 + (h - 1 - y) * stride);
        packRow(rgb32, static_cast<int>(y), row, false);
    }
    return out;
}

std::optional<std::string> encodeImage(const QImage& image, ImageFormat format, const EncodeOptions& encode)
{
    switch (format) {
    case ImageFormat::Png: return encodePng(image, {}, encode);
    case ImageFormat::Jpeg: return encodeJpeg(image, 90, encode);
    case ImageFormat::Bmp: return encodeBmp(image, encode);
    }
    return std::nullopt;
}

bool writeImageFile(const QImage& image, ImageFormat format, const QString& path, MessageSink& sink)
{
    return writeImage(image, format, path, EncodeOptions{}, sink) == WriteOutcome::Written;
}

WriteOutcome writeImage(const QImage& image, ImageFormat format, const QString& path, const EncodeOptions& encode,
                        MessageSink& sink)
{
    const QString shown = QDir::toNativeSeparators(path);
    // The encoding runs in memory: a stopped one has not touched any file.
    bool stopped = false;
    EncodeOptions watched = encode;
    if (encode.progress)
        watched.progress = [&](int done, int total) {
            stopped = !encode.progress(done, total);
            return !stopped;
        };
    const std::optional<std::string> bytes = encodeImage(image, format, watched);
    if (stopped)
        return WriteOutcome::Cancelled;
    if (!bytes) {
        sink.show("地図画像を" + imageExtension(format).toUpper().toStdString() + "形式に変換できませんでした\n" +
                      shown.toStdString() + "\nは保存されていません",
                  kSaveErrorTitle, MessageIcon::Exclamation);
        return WriteOutcome::Failed;
    }
    if (!writeFileAtomically(path.toStdString(), *bytes)) {
        const QFileInfo info(path);
        const bool folderMissing = !info.absoluteDir().exists();
        sink.show("画像ファイルを書き込めません\n" + shown.toStdString() + "\n" +
                      (folderMissing ? std::string("保存先のフォルダがありません")
                                     : std::string("保存先のフォルダの書き込み権限とディスクの空き容量を確かめてください")),
                  kSaveErrorTitle, MessageIcon::Exclamation);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
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
