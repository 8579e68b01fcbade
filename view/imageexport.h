#pragma once
// The finished map picture leaving the program: saved as a PNG, JPEG or BMP file, copied
// whole to the clipboard, or cut out as a square during a range selection.
//
// Window-free: the main window supplies the save dialog, the please-wait window, the
// drawing and the clipboard as callbacks. Files are encoded in memory and written to a
// temporary file that is renamed over the target, so a failed write (no permission, disk
// full) leaves neither a truncated file nor a changed old one.
#include "common/messages.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

enum class ImageFormat { Png, Jpeg, Bmp };

// Save dialog filter of a format ("PNGファイル (*.png)|*.png", ...).
QString imageSaveFilter(ImageFormat format);
// Extension appended to a name without one: "png", "jpg", "bmp".
QString imageExtension(ImageFormat format);
// The chosen file name with the format's extension appended when its name has none
// ("map" → "map.png"; "map.jpeg" stays as it is, whatever the format).
QString withImageExtension(const QString& fileName, ImageFormat format);

// Texts of the please-wait window.
QString savingText(const QString& fileName);        // "<name> を保存しています"
QString copyProgressText(int tile, int tiles);       // "地図を描いています(k/n)"
QString copyingToClipboardText();                    // "クリップボードにコピーしています"

// The image size radio group (item 0, 1, 2 for " 600", "1200", "1800") gives the size
// factor 1, 2, 3; the image side is factor × 600 ÷ reduction divisor.
int imageSizeFactor(int sizeIndex);
int exportImageSide(int sizeIndex, int reduction);

// Resolution written into every file (PNG pHYs, JPEG JFIF density, BMP pixels per metre),
// so that printing lays the picture out at the intended size: the screen resolution for
// the ordinary saves, 300 or 600 for print exports.
inline constexpr int kScreenDpi = 96;
inline constexpr int kPrintDpi = 300;
inline constexpr int kFinePrintDpi = 600;
// Pixels per metre of a resolution in dots per inch (96 → 3780, 300 → 11811).
uint32_t pixelsPerMetre(int dpi);

// Told as the rows of a picture are encoded (done of total); returning false stops.
using RowProgress = std::function<bool(int done, int total)>;
struct EncodeOptions {
    int dpi = kScreenDpi;
    RowProgress progress;
};


// Encoders. Each returns the whole file in memory, or nothing when the picture cannot be
// encoded (an empty picture, out of memory) or the progress stopped it. Only the colour
// of each pixel is written; alpha is ignored.
struct PngOptions {
    // Truecolour: libpng filter set (PNG_FILTER_* bits) and zlib level and strategy.
    int filters = -1;    // -1: the program's choice
    int level = -1;      // -1: the program's choice
    int strategy = -1;   // -1: the program's choice
    // Palette pictures: the libdeflate level of the unfiltered rows, and whether the
    // run-length form of the Up-filtered rows is tried as well (the smaller is kept).
    bool palette = true; // a picture of at most 256 colours is written with a palette
    int deflateLevel = -1; // -1: the program's choice
    bool upRuns = true;
};
// PNG: with a palette of 1, 2, 4 or 8 bits per pixel when the picture has at most 256
// colours (a map nearly always), else truecolour with 8 bits per channel. The defaults
// give map pictures smaller than ImageMagick's (unfiltered, zlib level 7) in a fraction
// of its time.
std::optional<std::string> encodePng(const QImage& image, const PngOptions& options = {},
                                     const EncodeOptions& encode = {});
std::optional<std::string> encodeJpeg(const QImage& image, int quality = 90,
                                      const EncodeOptions& encode = {}); // baseline colour
std::optional<std::string> encodeBmp(const QImage& image, const EncodeOptions& encode = {}); // 24 bits, bottom-up
std::optional<std::string> encodeImage(const QImage& image, ImageFormat format, const EncodeOptions& encode = {});

// Encodes and writes the picture through a temporary file. On failure a Japanese message
// goes to sink and false is returned; the target is left as it was.
bool writeImageFile(const QImage& image, ImageFormat format, const QString& path, MessageSink& sink);

// The same with the resolution and the progress of the encoding. A stopped encoding
// writes nothing and shows no message (Cancelled).
enum class WriteOutcome { Written, Cancelled, Failed };
WriteOutcome writeImage(const QImage& image, ImageFormat format, const QString& path, const EncodeOptions& encode,
                        MessageSink& sink);

// The s × s square at (x0, y0) of the picture; parts outside the picture are white.
QImage rangeSquare(const QImage& picture, int x0, int y0, int s);

// Puts a picture on the system clipboard / clears it (needs a QGuiApplication).
void putImageOnClipboard(const QImage& image);
void clearClipboard();

struct ExportSettings {
    int sizeIndex = 0; // image size radio group: 0 " 600", 1 "1200", 2 "1800"
    int reduction = 1; // reduction divisor
};

struct ExportHooks {
    // Checks the format's menu item and sets the image format radio group.
    std::function<void(ImageFormat)> setFormat;
    // Runs the save dialog (filter, overwrite prompt); nothing on cancel.
    std::function<std::optional<QString>(ImageFormat format, const QString& filter)> askFileName;
    // The please-wait window.
    std::function<void(const QString& text)> showWait;
    std::function<void()> hideWait;
    // The map picture as it stands on screen.
    std::function<QImage()> currentPicture;
    // Draws the whole map picture at side × side pixels. progress(k, n) may be called as
    // the drawing goes on (k of n steps done).
    std::function<QImage(int side, const std::function<void(int, int)>& progress)> drawPicture;
    // Hides/shows the map image while a large copy is drawn.
    std::function<void(bool visible)> showMapImage;
    // Unchecks 中心 (the centre cross is not copied).
    std::function<void()> uncheckCentre;
    // Clipboard (default: the system clipboard).
    std::function<void(const QImage&)> putOnClipboard;
    // The map redrawn without the rubber band (range square copies).
    std::function<QImage()> redrawWithoutRubberBand;
};

enum class SaveOutcome { Cancelled, Saved, Failed };
struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Cancelled;
    QString path; // the file written (or that could not be written)
};

// Saves the picture in the format: dialog, extension rule, please-wait text, the full
// picture (as it stands when the size factor is 1, otherwise drawn at its side), the
// write. A cancelled dialog writes nothing and shows no please-wait window.
SaveResult SaveMapImage(ImageFormat format, const ExportSettings& settings, const ExportHooks& hooks, MessageSink& sink);

// Copies the whole picture to the clipboard (drawn at its side above 600 pixels, with
// the progress texts) and sets clipboardUsed.
void CopyMapImage(const ExportSettings& settings, const ExportHooks& hooks, bool& clipboardUsed);

// Copies the s × s square at (x0, y0) of the map redrawn without the rubber band.
void CopyRangeSquare(int x0, int y0, int s, const ExportHooks& hooks);

} // namespace oboro
