#pragma once
// The current map drawn once more at another size and written as a file: the print
// export (pictures of 600 to 7200 pixels, the resolution written into the file) and the
// headless command. The drawing runs on copies of the view, the display state and the
// switches, on a picture of its own, in one piece; the store's visible extent is put
// back afterwards, so the map on screen is left as it was.
#include "common/messages.h"
#include "view/imageexport.h"
#include "view/render.h"

#include <QImage>
#include <QString>

#include <functional>

namespace oboro {

// The map as the main window holds it.
struct MapScene {
    MapStore& store; // its visible extent changes while drawing and is put back
    const ViewState& view;
    const DisplayState& display;
    const MainSwitches& switches;
    const ToolSwitches& tools;
    const RenderHooks& hooks;
};

// Sides of the print export: multiples of 600 from 600 to 7200.
bool isPrintSide(int side);
// The print resolutions offered: 300 and 600 dots per inch.
bool isPrintDpi(int dpi);

// The printed size of a square picture: its side in cm and the smallest sheet (A4, B4,
// A3) whose shorter edge holds it.
struct PrintedSize {
    double cm = 0;
    const char* sheet = nullptr; // "A4", "B4", "A3"; null when even A3 is too small
};
PrintedSize printedSize(int side, int dpi);
// The text of the print dialog: "20.3 cm 角（A4 に収まります）",
// "30.5 cm 角（A3 に収まりません）".
QString printedSizeText(int side, int dpi);

// Told as the export goes on: step of steps done, and the text to show
// ("地図を描いています(k/n)" while drawing, "<file> を保存しています" while writing).
// Returning false cancels the export.
using ExportProgress = std::function<bool(int step, int steps, const QString& text)>;

enum class DrawStatus {
    Drawn,
    NotDrawn,    // drawing off, a view restore pending, a refused range, not a print side
    OutOfMemory, // no room for the picture
    Cancelled,   // the progress said stop
};
// Draws the map at 600 × sizeFactor ÷ reduction pixels (size factor 1 to 12); a null
// picture unless the status is Drawn.
QImage drawMapPicture(const MapScene& scene, int sizeFactor, int reduction, const ExportProgress& progress = {},
                      DrawStatus* status = nullptr);
// The same at a print side (see isPrintSide).
QImage drawMapAtSide(const MapScene& scene, int side, const ExportProgress& progress = {},
                     DrawStatus* status = nullptr);

struct MapExport {
    int side = 600;           // a print side
    ImageFormat format = ImageFormat::Png;
    int dpi = kPrintDpi;      // written into the file
    QString path;             // the file; its extension is not changed here
};
enum class ExportOutcome { Written, Cancelled, Failed };

// "印刷用に保存": draws the map at the side and writes it, through a temporary file. A
// cancelled or failed export leaves no file behind (and an older file of that name as it
// was); failures are told through sink, a cancel is not.
ExportOutcome exportMapPicture(const MapScene& scene, const MapExport& what, const ExportProgress& progress,
                               MessageSink& sink);

// Messages of the export.
inline constexpr const char* kExportSideText = "画像の大きさは 600 から 7200 までの 600 の倍数で指定してください";
inline constexpr const char* kExportNotDrawnText = "地図を描けませんでした";
inline constexpr const char* kExportErrorTitle = "画像保存エラー";

} // namespace oboro
