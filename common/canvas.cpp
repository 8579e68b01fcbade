#include "common/canvas.h"

#include "common/largebuffer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace oboro {

namespace {

// Dash patterns of pens of width 1, in pixels: on, off, on, off, ...
struct DashPattern {
    const uint8_t* runs;
    int count;
    int length;
};
constexpr uint8_t kDash[] = {18, 6};
constexpr uint8_t kDot[] = {1, 1};
constexpr uint8_t kDashDot[] = {9, 6, 3, 6};
constexpr uint8_t kDashDotDot[] = {9, 3, 3, 3, 3, 3};

DashPattern dashPattern(PenStyle s)
{
    switch (s) {
    case PenStyle::Dash: return {kDash, 2, 24};
    case PenStyle::Dot: return {kDot, 2, 2};
    case PenStyle::DashDot: return {kDashDot, 4, 24};
    case PenStyle::DashDotDot: return {kDashDotDot, 6, 24};
    default: return {nullptr, 0, 0};
    }
}

// Whether position p of the pattern is drawn.
bool dashOn(const DashPattern& d, int p)
{
    p %= d.length;
    for (int i = 0; i < d.count; ++i) {
        if (p < d.runs[i])
            return (i & 1) == 0;
        p -= d.runs[i];
    }
    return false;
}

long long floorDiv(long long a, long long b) // b > 0
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
long long ceilDiv(long long a, long long b) // b > 0
{
    return -floorDiv(-a, b);
}

constexpr uint32_t kSentinel = 0x00A5C3E1u; // alpha 0: never a pixel of the picture

} // namespace

BrushStyle brushStyleFromCode(int code)
{
    if (code >= 0 && code <= 7)
        return static_cast<BrushStyle>(code);
    return BrushStyle::Solid;
}

bool brushCovers(BrushStyle style, int x, int y)
{
    const int mx = x & 7;
    const int my = y & 7;
    switch (style) {
    case BrushStyle::Solid: return true;
    case BrushStyle::Clear: return false;
    case BrushStyle::Horizontal: return my == 0;
    case BrushStyle::Vertical: return mx == 0;
    case BrushStyle::FDiagonal: return mx == my;
    case BrushStyle::BDiagonal: return mx == 7 - my;
    case BrushStyle::Cross: return mx == 0 || my == 0;
    case BrushStyle::DiagCross: return mx == my || mx == 7 - my;
    }
    return true;
}

bool brushCovers(BrushStyle style, int x, int y, const DetailScale& scale)
{
    if (scale.isUnit())
        return brushCovers(style, x, y);
    // The lines of the 8 × 8 pattern are where x, y, x − y or x + y is 0 (7) modulo 8;
    // at a larger scale the same sums are taken in pixels of scale 1, which makes the
    // lines scale pixels thick and keeps the diagonals sharp.
    const auto on = [&](long long v, int phase) { return (scale.reference(v) & 7) == phase; };
    switch (style) {
    case BrushStyle::Solid: return true;
    case BrushStyle::Clear: return false;
    case BrushStyle::Horizontal: return on(y, 0);
    case BrushStyle::Vertical: return on(x, 0);
    case BrushStyle::FDiagonal: return on(static_cast<long long>(x) - y, 0);
    case BrushStyle::BDiagonal: return on(static_cast<long long>(x) + y, 7);
    case BrushStyle::Cross: return on(x, 0) || on(y, 0);
    case BrushStyle::DiagCross: return on(static_cast<long long>(x) - y, 0) || on(static_cast<long long>(x) + y, 7);
    }
    return true;
}

namespace {

// Writes on where the hatch covers the pixels x1..x2 of row y and off elsewhere: the
// pattern of the row worked out once (scale 1: its 8 columns) or stepped along the
// row (a larger scale: the sums of the pattern's lines taken in pixels of scale 1).
void hatchSpan(BrushStyle style, const DetailScale& scale, int y, int x1, int x2, uint32_t* row, uint32_t on,
               uint32_t off)
{
    if (x1 > x2)
        return;
    if (style == BrushStyle::Solid || style == BrushStyle::Clear) {
        std::fill(row + x1, row + x2 + 1, style == BrushStyle::Solid ? on : off);
        return;
    }
    if (scale.isUnit()) {
        uint32_t pattern[8];
        for (int k = 0; k < 8; ++k)
            pattern[k] = brushCovers(style, k, y) ? on : off;
        for (int x = x1; x <= x2; ++x)
            row[x] = pattern[x & 7];
        return;
    }
    const bool rows = style == BrushStyle::Horizontal || style == BrushStyle::Cross;
    const bool rowOn = rows && (scale.reference(y) & 7) == 0;
    if (rowOn) {
        std::fill(row + x1, row + x2 + 1, on);
        return;
    }
    // Each pattern line as a sum t = x + a·y stepping by one along the row, its position
    // at scale 1 q = floor(t × den ÷ num) kept with its remainder.
    struct Line {
        long long q, r;
        int phase;
    } lines[2];
    int n = 0;
    const auto add = [&](long long t, int phase) {
        const long long q = scale.reference(t);
        lines[n++] = Line{q, t * scale.den - q * scale.num, phase};
    };
    switch (style) {
    case BrushStyle::Vertical:
    case BrushStyle::Cross: add(x1, 0); break;
    case BrushStyle::FDiagonal: add(static_cast<long long>(x1) - y, 0); break;
    case BrushStyle::BDiagonal: add(static_cast<long long>(x1) + y, 7); break;
    case BrushStyle::DiagCross:
        add(static_cast<long long>(x1) - y, 0);
        add(static_cast<long long>(x1) + y, 7);
        break;
    default: break;
    }
    for (int x = x1; x <= x2; ++x) {
        bool covered = false;
        for (int k = 0; k < n; ++k) {
            Line& l = lines[k];
            covered |= (l.q & 7) == l.phase;
            l.r += scale.den;
            while (l.r >= scale.num) {
                l.r -= scale.num;
                ++l.q;
            }
        }
        row[x] = covered ? on : off;
    }
}

} // namespace

DetailScale DetailScale::of(int side, int reference)
{
    if (reference <= 0 || side <= reference)
        return {};
    const int g = std::gcd(side, reference);
    return {side / g, reference / g};
}

int DetailScale::pixels(int length) const
{
    if (isUnit() || length <= 0)
        return length;
    const long long v = (2LL * length * num + den) / (2LL * den);
    return static_cast<int>(std::clamp<long long>(v, 1, 1 << 20));
}

long long DetailScale::reference(long long p) const
{
    if (isUnit())
        return p;
    return floorDiv(p * den, num);
}

int fontPixels(int points) { return (points * 96 + 36) / 72; }

Canvas::Canvas(int width, int height, Color fill) { resize(width, height, fill); }

void Canvas::resize(int width, int height, Color fill)
{
    image_ = largeImage(width, height);
    clear(fill);
}

void Canvas::clear(Color color) { image_.fill(toPixel(color)); }

QString Canvas::mapFontFamily() { return QStringLiteral("ＭＳ Ｐゴシック"); }

void Canvas::installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), {QStringLiteral("IPAPMincho")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), {QStringLiteral("IPAMincho")});
}

// ---------------------------------------------------------------- lines

void Canvas::moveTo(int x, int y)
{
    pos_ = QPoint(x, y);
    dashPhase_ = 0;
}

void Canvas::setDetailScale(const DetailScale& scale)
{
    scale_ = scale.num > 0 && scale.den > 0 && scale.num >= scale.den ? scale : DetailScale{};
    dashPhase_ = 0;
}

int Canvas::penPixels() const
{
    const int given = std::clamp(pen.width, 1, 64);
    return std::clamp(scale_.pixels(given), 1, 256);
}

// The pen's dot: a disc of the pen's width around the pixel (a square for widths 2 and
// 3), kept as one run of columns per row.
void Canvas::stamp(int x, int y, uint32_t px, int w)
{
    if (disc_.width != w) {
        disc_.width = w;
        disc_.lo = -((w - 1) / 2);
        const int hi = w / 2;
        const int c = (w % 2 == 0) ? 1 : 0;
        disc_.from.clear();
        disc_.to.clear();
        for (int dy = disc_.lo; dy <= hi; ++dy) {
            int from = hi + 1, to = disc_.lo - 1;
            for (int dx = disc_.lo; dx <= hi; ++dx) {
                const int ex = 2 * dx - c;
                const int ey = 2 * dy - c;
                if (ex * ex + ey * ey > w * w)
                    continue;
                from = std::min(from, dx);
                to = std::max(to, dx);
            }
            disc_.from.push_back(from);
            disc_.to.push_back(to);
        }
    }
    const int W = image_.width(), H = image_.height();
    const bool xorMode = pen.mode == PenMode::Xor;
    uint8_t* bits = image_.bits();
    const qsizetype bpl = image_.bytesPerLine();
    for (size_t k = 0; k < disc_.from.size(); ++k) {
        const int yy = y + disc_.lo + static_cast<int>(k);
        if (yy < 0 || yy >= H)
            continue;
        const int xa = std::max(0, x + disc_.from[k]);
        const int xb = std::min(W - 1, x + disc_.to[k]);
        uint32_t* row = reinterpret_cast<uint32_t*>(bits + yy * bpl);
        for (int xx = xa; xx <= xb; ++xx) {
            if (xorMode)
                row[xx] ^= px & 0x00FFFFFFu;
            else
                row[xx] = px;
        }
    }
}

// A cross-section of a wide dashed line: w pixels across the line's minor axis.
void Canvas::crossSection(int x, int y, bool xMajor, uint32_t px, int w)
{
    const int lo = -((w - 1) / 2);
    const int hi = w / 2;
    if (xMajor) {
        if (x < 0 || x >= image_.width())
            return;
        const int ya = std::max(0, y + lo), yb = std::min(image_.height() - 1, y + hi);
        uint8_t* bits = image_.bits();
        const qsizetype bpl = image_.bytesPerLine();
        for (int yy = ya; yy <= yb; ++yy)
            reinterpret_cast<uint32_t*>(bits + yy * bpl)[x] = px;
    } else {
        if (y < 0 || y >= image_.height())
            return;
        const int xa = std::max(0, x + lo), xb = std::min(image_.width() - 1, x + hi);
        uint32_t* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        std::fill(row + xa, row + std::max(xa, xb + 1), px);
    }
}

void Canvas::lineTo(int x1, int y1)
{
    const int x0 = pos_.x();
    const int y0 = pos_.y();
    pos_ = QPoint(x1, y1);
    if (pen.style == PenStyle::Clear || image_.isNull())
        return;
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    const long long adx = dx < 0 ? -dx : dx;
    const long long ady = dy < 0 ? -dy : dy;
    const long long steps = std::max(adx, ady);
    const int width = penPixels();
    const bool wide = width > 1;
    // A dotted or dashed pen wider than 1 draws solid lines. A thin one keeps its pattern
    // at a detail scale, drawn as wide as the scale and with runs as long.
    const DashPattern dash = pen.width > 1 ? DashPattern{nullptr, 0, 0} : dashPattern(pen.style);
    const bool dashed = dash.runs != nullptr;
    const int phase = dashPhase_;
    // The phase repeats after 24 pixels of scale 1 (the longest pattern and a multiple of
    // the others), which are 24 × num ÷ den pixels here: 24 × num keeps whole runs.
    dashPhase_ = static_cast<int>(scale_.isUnit() ? (dashPhase_ + steps) % 24 : (dashPhase_ + steps) % (24LL * scale_.num));
    if (steps == 0) {
        if (wide && !dashed)
            stamp(x0, y0, toPixel(pen.color), width);
        return;
    }
    // Fast path for the common case: a thin solid segment wholly inside the picture.
    if (!wide && !dashed && x0 >= 0 && y0 >= 0 && x1 >= 0 && y1 >= 0 && x0 < image_.width() &&
        x1 < image_.width() && y0 < image_.height() && y1 < image_.height()) {
        thinSegment(x0, y0, x1, y1);
        return;
    }
    // Pixels i = 0 .. steps - 1 (a wide solid pen also stamps the end, its round cap).
    const bool xMajor = adx >= ady;
    const long long A = steps;
    const long long a = xMajor ? ady : adx;
    const int sMaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int sMin = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const long long m0 = xMajor ? x0 : y0;
    const long long n0 = xMajor ? y0 : x0;
    const int margin = wide ? width : 0;
    const long long majLo = -margin, majHi = (xMajor ? image_.width() : image_.height()) - 1 + margin;
    const long long minLo = -margin, minHi = (xMajor ? image_.height() : image_.width()) - 1 + margin;
    long long iLo = 0, iHi = wide && !dashed ? steps : steps - 1;
    // Clip along the major axis: m0 + i·sMaj within [majLo, majHi].
    if (sMaj > 0) {
        iLo = std::max(iLo, majLo - m0);
        iHi = std::min(iHi, majHi - m0);
    } else {
        iLo = std::max(iLo, m0 - majHi);
        iHi = std::min(iHi, m0 - majLo);
    }
    // Along the minor axis the offset is k(i) = floor((2·i·a + A) / 2A), non-decreasing.
    {
        const long long kLo = sMin > 0 ? minLo - n0 : n0 - minHi;
        const long long kHi = sMin > 0 ? minHi - n0 : n0 - minLo;
        if (a == 0) {
            if (kLo > 0 || kHi < 0)
                return;
        } else {
            // k(i) >= kLo  ⇔  i >= ceil((2A·kLo − A) / 2a);  k(i) <= kHi  ⇔  i < (2A·(kHi+1) − A) / 2a
            iLo = std::max(iLo, ceilDiv(2 * A * kLo - A, 2 * a));
            iHi = std::min(iHi, ceilDiv(2 * A * (kHi + 1) - A, 2 * a) - 1);
        }
    }
    if (iLo > iHi)
        return;
    const uint32_t px = toPixel(pen.color);
    const uint32_t gapPx = gap_ ? toPixel(*gap_) : 0;
    long long num = 2 * iLo * a + A;
    long long n = n0 + sMin * floorDiv(num, 2 * A);
    long long err = num - floorDiv(num, 2 * A) * 2 * A;
    long long m = m0 + sMaj * iLo;
    uint8_t* bits = image_.bits();
    const qsizetype bpl = image_.bytesPerLine();
    const int W = image_.width();
    const int H = image_.height();
    const bool unit = scale_.isUnit();
    const auto on = [&](long long i) {
        const long long p = phase + i;
        return dashOn(dash, static_cast<int>((unit ? p : scale_.reference(p)) % dash.length));
    };
    for (long long i = iLo; i <= iHi; ++i) {
        const int x = static_cast<int>(xMajor ? m : n);
        const int y = static_cast<int>(xMajor ? n : m);
        if (wide) {
            if (!dashed)
                stamp(x, y, px, width);
            else if (on(i))
                crossSection(x, y, xMajor, px, width);
            else if (gap_)
                crossSection(x, y, xMajor, gapPx, width);
        } else if (x >= 0 && y >= 0 && x < W && y < H) {
            uint32_t* p = reinterpret_cast<uint32_t*>(bits + y * bpl) + x;
            if (!dashed || on(i)) {
                if (pen.mode == PenMode::Xor)
                    *p ^= px & 0x00FFFFFFu;
                else
                    *p = px;
            } else if (gap_) {
                *p = gapPx;
            }
        }
        m += sMaj;
        err += 2 * a;
        if (err >= 2 * A) {
            err -= 2 * A;
            n += sMin;
        }
    }
}

// A thin solid segment inside the picture, end pixel excluded; the same pixels as the
// clipped loop below (Bresenham with ties rounded up along the minor axis).
void Canvas::thinSegment(int x0, int y0, int x1, int y1)
{
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int adx = dx < 0 ? -dx : dx;
    const int ady = dy < 0 ? -dy : dy;
    const qsizetype bpl = image_.bytesPerLine() / 4;
    uint32_t* p = reinterpret_cast<uint32_t*>(image_.bits()) + y0 * bpl + x0;
    const qsizetype stepX = dx < 0 ? -1 : 1;
    const qsizetype stepY = dy < 0 ? -bpl : bpl;
    const bool xMajor = adx >= ady;
    const int A = xMajor ? adx : ady;
    const int a = xMajor ? ady : adx;
    const qsizetype stepMaj = xMajor ? stepX : stepY;
    const qsizetype stepMin = xMajor ? stepY : stepX;
    const uint32_t px = toPixel(pen.color);
    const bool xorMode = pen.mode == PenMode::Xor;
    int err = A; // 2·i·a + A, kept below 2A
    for (int i = 0; i < A; ++i) {
        if (xorMode)
            *p ^= px & 0x00FFFFFFu;
        else
            *p = px;
        p += stepMaj;
        err += 2 * a;
        if (err >= 2 * A) {
            err -= 2 * A;
            p += stepMin;
        }
    }
}

void Canvas::polyline(const QPoint* points, int count)
{
    if (count <= 0)
        return;
    moveTo(points[0].x(), points[0].y());
    for (int i = 1; i < count; ++i)
        lineTo(points[i].x(), points[i].y());
}

// ---------------------------------------------------------------- areas

void Canvas::plotSpan(int y, int x1, int x2, uint32_t px, PenMode mode)
{
    if (y < 0 || y >= image_.height())
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, image_.width() - 1);
    uint32_t* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
    for (int x = x1; x <= x2; ++x) {
        if (mode == PenMode::Xor)
            row[x] ^= px & 0x00FFFFFFu;
        else
            row[x] = px;
    }
}

void Canvas::fillRect(int x1, int y1, int x2, int y2)
{
    if (brush.style == BrushStyle::Clear)
        return;
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    const int xa = std::max(x1, 0), xb = std::min(x2, image_.width());
    const int ya = std::max(y1, 0), yb = std::min(y2, image_.height());
    const uint32_t px = toPixel(brush.color);
    for (int y = ya; y < yb; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        if (brush.style == BrushStyle::Solid) {
            std::fill(row + xa, row + std::max(xa, xb), px);
        } else {
            for (int x = xa; x < xb; ++x)
                if (covers(brush.style, x, y))
                    row[x] = px;
        }
    }
}

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    fillRect(x1, y1, x2, y2);
    if (pen.style == PenStyle::Clear || x2 <= x1 || y2 <= y1)
        return;
    const QPoint saved = pos_;
    moveTo(x1, y1);
    lineTo(x2 - 1, y1);
    lineTo(x2 - 1, y2 - 1);
    lineTo(x1, y2 - 1);
    lineTo(x1, y1);
    if (x2 - 1 == x1 || y2 - 1 == y1) // a degenerate box still shows its pixel
        setPixel(x1, y1, pen.color);
    pos_ = saved;
}

// Draws a mask made by QPainter (white where covered) onto the picture: with the brush
// pattern (interior) or the pen colour and mode (outline).
void Canvas::applyMask(const QImage& mask, const QRect& where, bool useBrush)
{
    const uint32_t px = toPixel(useBrush ? brush.color : pen.color);
    for (int my = 0; my < mask.height(); ++my) {
        const int y = where.y() + my;
        if (y < 0 || y >= image_.height())
            continue;
        const uint32_t* m = reinterpret_cast<const uint32_t*>(mask.constScanLine(my));
        uint32_t* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        for (int mx = 0; mx < mask.width(); ++mx) {
            const int x = where.x() + mx;
            if (x < 0 || x >= image_.width() || (m[mx] & 0xFFFFFFu) == 0)
                continue;
            if (useBrush) {
                if (covers(brush.style, x, y))
                    row[x] = px;
            } else if (pen.mode == PenMode::Xor) {
                row[x] ^= px & 0x00FFFFFFu;
            } else {
                row[x] = px;
            }
        }
    }
}

namespace {
// A mask covering the rectangle (clipped to the picture with a margin), with a painter
// translated so picture coordinates can be used.
struct Mask {
    QImage image;
    QRect where;
};
Mask makeMask(QRect bounds, const QImage& picture, int margin)
{
    bounds.adjust(-margin, -margin, margin, margin);
    const QRect clip = bounds.intersected(picture.rect());
    Mask m;
    m.where = clip;
    if (!clip.isEmpty()) {
        m.image = QImage(clip.size(), QImage::Format_RGB32);
        m.image.fill(0xFF000000u);
    }
    return m;
}
Qt::PenStyle qtPenStyle(PenStyle s)
{
    switch (s) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::Clear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}
} // namespace

void Canvas::polygon(const std::vector<QPoint>& points)
{
    if (points.size() < 2)
        return;
    QPolygon poly(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        poly[static_cast<int>(i)] = points[i];
    const int margin = penPixels() + 1;
    Mask fill = makeMask(poly.boundingRect(), image_, margin);
    if (fill.image.isNull())
        return;
    if (brush.style != BrushStyle::Clear) {
        QPainter p(&fill.image);
        p.translate(-fill.where.topLeft());
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(poly);
        p.end();
        applyMask(fill.image, fill.where, true);
    }
    if (pen.style != PenStyle::Clear) {
        const QPoint saved = pos_;
        moveTo(points[0].x(), points[0].y());
        for (size_t i = 1; i < points.size(); ++i)
            lineTo(points[i].x(), points[i].y());
        lineTo(points[0].x(), points[0].y());
        pos_ = saved;
    }
}

void Canvas::ellipse(int x1, int y1, int x2, int y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    const QRect box(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
    const int margin = penPixels() + 1;
    if (brush.style != BrushStyle::Clear) {
        Mask fill = makeMask(box, image_, margin);
        if (!fill.image.isNull()) {
            QPainter p(&fill.image);
            p.translate(-fill.where.topLeft());
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
            p.end();
            applyMask(fill.image, fill.where, true);
        }
    }
    if (pen.style != PenStyle::Clear) {
        Mask outline = makeMask(box, image_, margin);
        if (!outline.image.isNull()) {
            QPainter p(&outline.image);
            p.translate(-outline.where.topLeft());
            QPen qp(Qt::white);
            const int w = penPixels();
            qp.setWidth(w > 1 ? w : 0);
            qp.setStyle(pen.width > 1 ? Qt::SolidLine : qtPenStyle(pen.style));
            p.setPen(qp);
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
            p.end();
            applyMask(outline.image, outline.where, false);
        }
    }
}

// ---------------------------------------------------------------- text

void Canvas::setFont(int size, Color color, const QString& family, bool bold)
{
    if (size != fontSize_ || family != fontFamily_ || bold != fontBold_) {
        font_.reset();
        metrics_.reset();
    }
    fontSize_ = size;
    fontColor_ = color;
    fontFamily_ = family;
    fontBold_ = bold;
}

const QFont& Canvas::font() const
{
    if (!font_)
        font_ = makeFont();
    return *font_;
}

const QFontMetrics& Canvas::metrics() const
{
    if (!metrics_)
        metrics_.emplace(font());
    return *metrics_;
}

QFont Canvas::makeFont() const
{
    QFont f(fontFamily_.isEmpty() ? mapFontFamily() : fontFamily_);
    f.setPixelSize(std::max(1, fontPixels(std::clamp(fontSize_, 1, 500))));
    f.setBold(fontBold_);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

int Canvas::textWidth(std::string_view utf8) const
{
    return metrics().horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

int Canvas::textHeight(std::string_view) const { return metrics().height(); }

void Canvas::textOut(int x, int y, std::string_view utf8)
{
    if (image_.isNull())
        return;
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QFont& font = this->font();
    const QFontMetrics& fm = metrics();
    if (brush.style != BrushStyle::Clear) {
        const Brush saved = brush;
        brush.style = BrushStyle::Solid;
        fillRect(x, y, x + fm.horizontalAdvance(text), y + fm.height());
        brush = saved;
    }
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font);
    p.setPen(QColor::fromRgb(toPixel(fontColor_)));
    p.drawText(x, y + fm.ascent(), text);
}

// ---------------------------------------------------------------- flood fill

namespace {

// Runs along a row: the first index from i (below end) whose pixel is not v, or is v;
// end when there is none. Short runs pixel by pixel, long ones eight at a time.
constexpr int kShortRun = 16;
inline int skipEqual(const uint32_t* r, int i, int end, uint32_t v)
{
    const int stop = std::min(end, i + kShortRun);
    while (i < stop && r[i] == v)
        ++i;
    if (i < stop)
        return i;
    while (i + 8 <= end && ((r[i] ^ v) | (r[i + 1] ^ v) | (r[i + 2] ^ v) | (r[i + 3] ^ v) | (r[i + 4] ^ v) |
                            (r[i + 5] ^ v) | (r[i + 6] ^ v) | (r[i + 7] ^ v)) == 0)
        i += 8;
    while (i < end && r[i] == v)
        ++i;
    return i;
}
inline int skipOther(const uint32_t* r, int i, int end, uint32_t v)
{
    const int stop = std::min(end, i + kShortRun);
    while (i < stop && r[i] != v)
        ++i;
    if (i < stop)
        return i;
    while (i + 8 <= end && ((r[i] == v) | (r[i + 1] == v) | (r[i + 2] == v) | (r[i + 3] == v) | (r[i + 4] == v) |
                            (r[i + 5] == v) | (r[i + 6] == v) | (r[i + 7] == v)) == 0)
        i += 8;
    while (i < end && r[i] != v)
        ++i;
    return i;
}
// The first index going left from i (down to 0) whose pixel is v and whose left
// neighbour is not (or 0).
inline int runStart(const uint32_t* r, int i, uint32_t v)
{
    const int stop = std::max(0, i - kShortRun);
    while (i > stop && r[i - 1] == v)
        --i;
    if (i > stop)
        return i;
    while (i >= 8 && ((r[i - 1] ^ v) | (r[i - 2] ^ v) | (r[i - 3] ^ v) | (r[i - 4] ^ v) | (r[i - 5] ^ v) |
                      (r[i - 6] ^ v) | (r[i - 7] ^ v) | (r[i - 8] ^ v)) == 0)
        i -= 8;
    while (i > 0 && r[i - 1] == v)
        --i;
    return i;
}

} // namespace

long Canvas::floodFill(int x, int y, Color target)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return 0;
    const uint32_t tgt = toPixel(target);
    uint8_t* bits = image_.bits();
    const qsizetype bpl = image_.bytesPerLine();
    auto row = [&](int yy) { return reinterpret_cast<uint32_t*>(bits + yy * bpl); };
    if (row(y)[x] != tgt)
        return 0;
    const bool solid = brush.style == BrushStyle::Solid;
    const uint32_t brushPx = toPixel(brush.color);
    // Solid fills write the brush colour directly (filled pixels no longer match);
    // otherwise the region is first marked with a value no pixel of the picture has.
    uint32_t mark = (solid && brushPx != tgt) ? brushPx : kSentinel;
    const int W = image_.width();
    const int H = image_.height();
    struct Span {
        int y, x1, x2;
    };
    std::vector<Span> spans;
    std::vector<QPoint> stack;
    stack.emplace_back(x, y);
    long count = 0;
    while (!stack.empty()) {
        const QPoint s = stack.back();
        stack.pop_back();
        uint32_t* r = row(s.y());
        if (r[s.x()] != tgt)
            continue;
        const int l = runStart(r, s.x(), tgt);
        const int rr = skipEqual(r, s.x(), W, tgt) - 1;
        std::fill(r + l, r + rr + 1, mark);
        count += rr - l + 1;
        spans.push_back({s.y(), l, rr});
        for (int ny : {s.y() - 1, s.y() + 1}) {
            if (ny < 0 || ny >= H)
                continue;
            const uint32_t* n = row(ny);
            int i = l;
            while (i <= rr) {
                i = skipOther(n, i, rr + 1, tgt);
                if (i > rr)
                    break;
                stack.emplace_back(i, ny);
                i = skipEqual(n, i, rr + 1, tgt);
            }
        }
    }
    if (mark == kSentinel) {
        for (const Span& sp : spans)
            hatchSpan(brush.style, scale_, sp.y, sp.x1, sp.x2, row(sp.y), brushPx, tgt);
    }
    return count;
}

// ---------------------------------------------------------------- pixels and pictures

std::optional<Color> Canvas::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return std::nullopt;
    return fromPixel(reinterpret_cast<const uint32_t*>(image_.constScanLine(y))[x]);
}

void Canvas::setPixel(int x, int y, Color color)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    reinterpret_cast<uint32_t*>(image_.scanLine(y))[x] = toPixel(color);
}

void Canvas::copyRect(const QRect& dst, const QImage& src, const QRect& srcRect)
{
    if (dst.isEmpty() || srcRect.isEmpty() || src.isNull())
        return;
    const QImage s = src.format() == QImage::Format_RGB32 ? src : src.convertToFormat(QImage::Format_RGB32);
    for (int dy = 0; dy < dst.height(); ++dy) {
        const int y = dst.y() + dy;
        if (y < 0 || y >= image_.height())
            continue;
        const int sy = srcRect.y() + static_cast<int>(static_cast<long long>(dy) * srcRect.height() / dst.height());
        if (sy < 0 || sy >= s.height())
            continue;
        const uint32_t* sr = reinterpret_cast<const uint32_t*>(s.constScanLine(sy));
        uint32_t* dr = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        for (int dx = 0; dx < dst.width(); ++dx) {
            const int x = dst.x() + dx;
            if (x < 0 || x >= image_.width())
                continue;
            const int sx = srcRect.x() + static_cast<int>(static_cast<long long>(dx) * srcRect.width() / dst.width());
            if (sx < 0 || sx >= s.width())
                continue;
            dr[x] = sr[sx] | 0xFF000000u;
        }
    }
}

void Canvas::drawBitmap(int x, int y, const QImage& bitmap, std::optional<Color> whiteColor)
{
    if (bitmap.isNull())
        return;
    const QImage b = bitmap.convertToFormat(QImage::Format_RGB32);
    const uint32_t white = 0xFFFFFFu;
    for (int by = 0; by < b.height(); ++by) {
        const int yy = y + by;
        if (yy < 0 || yy >= image_.height())
            continue;
        const uint32_t* sr = reinterpret_cast<const uint32_t*>(b.constScanLine(by));
        uint32_t* dr = reinterpret_cast<uint32_t*>(image_.scanLine(yy));
        for (int bx = 0; bx < b.width(); ++bx) {
            const int xx = x + bx;
            if (xx < 0 || xx >= image_.width())
                continue;
            const uint32_t v = sr[bx] & 0xFFFFFFu;
            if (v == white) {
                if (whiteColor)
                    dr[xx] = toPixel(*whiteColor);
            } else {
                dr[xx] = v | 0xFF000000u;
            }
        }
    }
}

} // namespace oboro
