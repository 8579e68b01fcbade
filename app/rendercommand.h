#pragma once
// The headless command for scripts and batch work:
//
//   oboro render --areas 13,14 [--size 600|1200|...|7200] [--reduce 1..5] [--dpi 300|600]
//                [--tokyo-datum] [--no-names] [--circle LON,LAT,KM[,COUNT]]...
//                [--marks FILE.mrk|FILE.mks]... [--legend FILE.exp] [--lines FILE.adl]...
//                [--labels FILE.lbl]...
//                [--paint FILE.pnt] [--data FILE.csv [--classes 2..8] [--class-method equal|quantile]]
//                [--folder DIR] --out map.png|.jpg|.bmp
//
// draws the map of the areas with the default settings (and the distance circles, the
// stamped symbols, the legend, the paint, the map line and the label files asked for) and writes it
// as an image file. Sizes above 1800 are print sizes (the details of
// the 1800 picture drawn larger); the resolution goes into the file (by default 300 dpi
// for print sizes, 96 otherwise).
// No window and no display are needed. Messages go to the standard error stream in
// Japanese; the exit status is 0 on success, non-zero otherwise.
#include "common/messages.h"
#include "view/imageexport.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace oboro {

// A distance circle of the command: centre in degrees of the picture's datum (WGS-84, or
// the Tokyo datum with --tokyo-datum), radius in whole km, and the number of concentric
// circles at radius, 2 × radius, ….
struct CircleRequest {
    double lon = 0.0;
    double lat = 0.0;
    int km = 0;
    int count = 1;
    bool operator==(const CircleRequest&) const = default;
};
inline constexpr int kMaxCircleCount = 100;

struct RenderOptions {
    std::vector<int> areas; // area codes 1..52, ascending, no repeats
    int size = 600;         // a multiple of 600 up to 7200
    int reduce = 1;         // reduction divisor 1..5
    int dpi = 0;            // 300 or 600; 0: the default for the size (see dpiInEffect)
    bool tokyoDatum = false;
    bool noNames = false;   // municipality name layers off
    std::vector<CircleRequest> circles;
    QStringList marks;      // symbol files (.mrk, .mks), their stamps drawn in this order
    QString legend;         // a legend file (.exp) drawn as the legend; empty: no legend
    QStringList lines;      // map line files (.adl) drawn over the map
    std::vector<QString> labelFiles; // label files (.lbl) drawn over the map
    QString folder;         // program folder (empty: the current directory)
    QString paintFile;      // a paint file replayed on the map
    QString dataFile;       // a data paint file (points, or statistics painted in classes)
    int classes = 5;        // classes of a statistics file, 2..8
    bool quantiles = false; // classes of equal counts instead of equal intervals
    QString out;
    ImageFormat format = ImageFormat::Png;

    int sizeFactor() const { return size / 600; }
    int imageSide() const { return 600 * sizeFactor() / reduce; }
    int dpiInEffect() const { return dpi ? dpi : size > 1800 ? kPrintDpi : kScreenDpi; }
};

// Exit statuses of the command.
enum RenderExit : int {
    kRenderOk = 0,
    kRenderBadArguments = 2,
    kRenderNoData = 3,     // map data or a paint, data, legend, symbol, line or label file unreadable, nothing drawn
    kRenderWriteFailed = 4,
};

struct RenderArguments {
    std::optional<RenderOptions> options; // nothing: see error (or help was asked)
    std::string error;                    // Japanese, empty when help was asked
    bool help = false;
};

// Parses the value of one --circle option; on refusal `why` tells why (Japanese).
std::optional<CircleRequest> parseCircleRequest(const QString& value, std::string& why);

// Parses the arguments after "render".
RenderArguments parseRenderArguments(const QStringList& args);

// The usage text.
std::string renderUsage();

// Draws the map picture for the options (image side × image side). On failure tells why
// through sink and returns nothing.
using RenderDrawer = std::function<std::optional<QImage>(const RenderOptions&, MessageSink&)>;

// The drawing of the map for the command: loads the areas from the program folder and
// draws them as the main window would with the default settings.
std::optional<QImage> drawRenderPicture(const RenderOptions& options, MessageSink& sink);

// Runs the command on the arguments after "render"; returns the exit status.
int runRenderCommand(const QStringList& args, MessageSink& sink, const RenderDrawer& draw = drawRenderPicture);

// Entry from main(): argv[1] is "render". Sets up a window-free application, prints the
// messages to standard error and returns the exit status.
int renderCommandMain(int argc, char** argv);

} // namespace oboro
