#pragma once
// Drawing stamps: the symbol bitmaps of the mark folder (black shapes on white) and the
// stamp layer of the map. A stamp puts its symbol's black pixels in its colour, centred
// on its point; a transparent stamp leaves the other pixels to the map, an opaque one
// fills the white pixels with the map colour under its centre.
#include "common/canvas.h"
#include "common/messages.h"
#include "symbols/stamps.h"
#include "view/projection.h"

#include <QImage>
#include <QString>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace oboro {

// The bitmaps of the mark folder, read once and kept until reload().
class SymbolImages {
public:
    // The folder the files are read from (a real path).
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }
    // Forgets every picture read (after the files changed).
    void reload() { cache_.clear(); }
    // The real path of a file of the folder (found without regard to case).
    QString path(const std::string& fileName) const;
    bool exists(const std::string& fileName) const;
    // The picture of a file as side × side RGB32 (null when the file is missing or is no
    // readable picture). A picture of another size is scaled to the side.
    const QImage& picture(const std::string& fileName, int side);

private:
    QString folder_;
    std::map<std::pair<std::string, int>, QImage> cache_;
};

// Files missing while stamps were drawn: told once each per drawing.
struct MissingSymbols {
    std::set<std::string> files; // their messages have been shown
    bool blankMissing = false;   // blank.bmp is missing too: those stamps were not drawn
};

inline constexpr const char* kCustomSymbolTitle = "カスタム記号";
inline constexpr const char* kNoBlankSymbolText = "記号の画像 blank.bmp が見つからないので，この記号は描けません";
// "カスタム記号 %s が見つかりません" with its trailing blanks.
std::string missingSymbolText(const std::string& fileName);

// Draws one stamp on the canvas. A missing file is drawn as blank.bmp after its message
// (once per file in `missing`); without blank.bmp the stamp is not drawn.
void drawStamp(Canvas& canvas, const ViewState& view, const StampRecord& r, SymbolImages& images,
               MissingSymbols& missing, MessageSink& sink);
// Every record, in order.
void drawStamps(Canvas& canvas, const ViewState& view, const std::vector<StampRecord>& records, SymbolImages& images,
                MessageSink& sink);

// The picture of a symbol with its black pixels in a colour (the palette's preview).
QImage recolouredSymbol(const QImage& picture, Color color);

} // namespace oboro
