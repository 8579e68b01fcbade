#pragma once
// The raster canvas the map is drawn on: one QImage (RGB32) with the operations the
// map needs, all exact to the pixel:
//  - aliased lines whose end pixel is not set (so a closed walk must set it itself),
//    dotted and dashed pens of width 1, round pens of width 2 and 3;
//  - exclusive-or drawing for rubber bands (drawing a figure twice restores the picture);
//  - rectangles, polygons and ellipses with solid or 8 × 8 hatch brushes;
//  - text on an opaque box (solid brush) or transparent (clear brush), never antialiased,
//    so a text adds no colour besides its own and its box's;
//  - a 4-connected surface flood fill (every pixel 4-connected to the start that has
//    exactly the target colour) with solid and hatch brushes;
//  - pixel access, rectangle copies and stretches, bitmaps with white recoloured.
// Colours are 0x00BBGGRR values (red + 256 × green + 65536 × blue).
//
// A detail scale above 1 (the print sizes) draws pen widths, the dash patterns of thin
// pens and the hatch brushes that many times as large, so a picture drawn larger keeps
// the proportions of its details; at scale 1 everything is drawn as given.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace oboro {

using Color = uint32_t;

// A map colour (0x00BBGGRR) as QColor.
inline QColor qcolorOf(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

// Pixel value of the image for a colour, and back.
inline constexpr uint32_t toPixel(Color c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline constexpr Color fromPixel(uint32_t p) { return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16); }

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
enum class PenMode { Copy, Xor };

// Brush styles; the numbers are the pattern codes of fills: 0 solid, 2 horizontal lines,
// 3 vertical lines, 4 and 5 the two diagonals, 6 cross, 7 diagonal cross.
enum class BrushStyle : int {
    Solid = 0,
    Clear = 1,
    Horizontal = 2,
    Vertical = 3,
    FDiagonal = 4,
    BDiagonal = 5,
    Cross = 6,
    DiagCross = 7,
};
// A pattern code from a file as a brush style (anything unknown is solid).
BrushStyle brushStyleFromCode(int code);

// How large the details are drawn: num ÷ den (at least 1), a reduced fraction.
struct DetailScale {
    int num = 1;
    int den = 1;

    // side ÷ reference, reduced; 1 when side is not larger than the reference.
    static DetailScale of(int side, int reference);
    bool isUnit() const { return num == den; }
    float factor() const { return static_cast<float>(num) / static_cast<float>(den); }
    // A length given in pixels at scale 1, in pixels at this scale: rounded to the nearest
    // pixel, at least 1 for a positive length.
    int pixels(int length) const;
    // The position at scale 1 a pixel position stands for: floor(p × den ÷ num).
    long long reference(long long p) const;
    bool operator==(const DetailScale&) const = default;
};

struct Pen {
    Color color = kBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
};

struct Brush {
    Color color = kWhite;
    BrushStyle style = BrushStyle::Solid;
};

// True where an 8 × 8 hatch brush of the style sets pixel (x, y) of the image
// (the pattern is aligned to the image origin). Always true for Solid, never for Clear.
bool brushCovers(BrushStyle style, int x, int y);
// The same at a detail scale: the hatch lines are scale pixels thick and 8 × scale apart.
bool brushCovers(BrushStyle style, int x, int y, const DetailScale& scale);

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Color fill = kWhite);

    void resize(int width, int height, Color fill = kWhite);
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    // Pen, brush and font state, as on a GDI-style canvas.
    Pen pen;
    Brush brush;
    void setPen(Color color, int width = 1, PenStyle style = PenStyle::Solid, PenMode mode = PenMode::Copy)
    {
        pen = Pen{color, width, style, mode};
    }
    void setBrush(Color color, BrushStyle style = BrushStyle::Solid) { brush = Brush{color, style}; }

    // The detail scale of the drawing (see above); 1 until set.
    void setDetailScale(const DetailScale& scale);
    const DetailScale& detailScale() const { return scale_; }
    // The width in pixels the current pen draws with.
    int penPixels() const;

    // Lines. A line-to does not set its end pixel (width 1); the dash pattern runs on
    // along a polyline and restarts at each move-to. A dotted or dashed pen wider than
    // 1 draws solid lines.
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    QPoint penPos() const { return pos_; }
    // Draws the segments through the points (move to the first, line to the others).
    void polyline(const QPoint* points, int count);
    // With an opaque gap colour, the gaps of dashed and dotted lines are filled with it.
    void setLineGapColor(std::optional<Color> gap) { gap_ = gap; }

    // Fills the whole picture with a colour.
    void clear(Color color);
    // Rectangle from (x1, y1) to (x2, y2), right and bottom edges excluded: interior with
    // the brush, outline with the pen.
    void rectangle(int x1, int y1, int x2, int y2);
    // Fills the rectangle (right and bottom excluded) with the brush only.
    void fillRect(int x1, int y1, int x2, int y2);
    void polygon(const std::vector<QPoint>& points);
    // Ellipse inscribed in the rectangle (right and bottom excluded).
    void ellipse(int x1, int y1, int x2, int y2);

    // Text. size is a font size in points (at 96 dots per inch, as the map's text
    // sizes are given); family defaults to the map font.
    void setFont(int size, Color color, const QString& family = QString(), bool bold = false);
    int fontSize() const { return fontSize_; }
    Color fontColor() const { return fontColor_; }
    // Writes the text with its top-left corner at (x, y): on a box of the brush colour
    // when the brush is solid, transparently otherwise.
    void textOut(int x, int y, std::string_view utf8);
    int textWidth(std::string_view utf8) const;
    int textHeight(std::string_view utf8 = "Ag") const;

    // 4-connected surface fill from (x, y) over the pixels of exactly the target colour,
    // with the current brush. Returns the number of pixels in the region (0 when the
    // start pixel is outside the picture or not of the target colour).
    long floodFill(int x, int y, Color target);

    // Pixel access: reading outside the picture reports failure.
    std::optional<Color> pixel(int x, int y) const;
    void setPixel(int x, int y, Color color);

    // Copies a rectangle of another picture into dst, stretching when the sizes differ
    // (nearest pixel).
    void copyRect(const QRect& dst, const QImage& src, const QRect& srcRect);
    // Draws a bitmap with its top-left corner at (x, y); its white pixels become
    // whiteColor (no colour: white pixels are left out, the map shows through).
    void drawBitmap(int x, int y, const QImage& bitmap, std::optional<Color> whiteColor);

    // The font every map text uses: "ＭＳ Ｐゴシック", which the program maps to
    // IPA P Gothic, never antialiased.
    static QString mapFontFamily();
    static void installFontSubstitutions();

private:
    void plotSpan(int y, int x1, int x2, uint32_t px, PenMode mode);
    void stamp(int x, int y, uint32_t px, int width);
    void crossSection(int x, int y, bool xMajor, uint32_t px, int width);
    bool covers(BrushStyle style, int x, int y) const
    {
        return scale_.isUnit() ? brushCovers(style, x, y) : brushCovers(style, x, y, scale_);
    }
    void thinSegment(int x0, int y0, int x1, int y1);
    void applyMask(const QImage& mask, const QRect& where, bool useBrush);
    QFont makeFont() const;
    // The font and metrics of the current text settings, built once per change.
    const QFont& font() const;
    const QFontMetrics& metrics() const;

    QImage image_;
    QPoint pos_{0, 0};
    int dashPhase_ = 0;
    DetailScale scale_;
    struct Disc {
        int width = 0;
        int lo = 0;
        std::vector<int> from, to; // columns of each row, relative to the centre
    } disc_;
    std::optional<Color> gap_;
    int fontSize_ = 8;
    Color fontColor_ = kBlack;
    QString fontFamily_;
    bool fontBold_ = false;
    mutable std::optional<QFont> font_;
    mutable std::optional<QFontMetrics> metrics_;
};

// The pixel size of a font size in points at 96 dots per inch (8 points are 11 pixels).
int fontPixels(int points);

} // namespace oboro
