#include "app/gui/cursors.h"

#include <QPainter>
#include <QPixmap>

#include <map>

namespace oboro {

namespace {

std::map<int, QCursor>& registry()
{
    static std::map<int, QCursor> cursors;
    return cursors;
}

constexpr int kSide = 32;
constexpr int kHot = 15;

// A cross at the hot spot, black on a white outline so it shows on any map colour.
void drawCross(QPainter& p)
{
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(QPen(pass == 0 ? Qt::white : Qt::black, pass == 0 ? 3 : 1));
        p.drawLine(kHot - 9, kHot, kHot - 3, kHot);
        p.drawLine(kHot + 3, kHot, kHot + 9, kHot);
        p.drawLine(kHot, kHot - 9, kHot, kHot - 3);
        p.drawLine(kHot, kHot + 3, kHot, kHot + 9);
    }
}

// A small tag in the lower right corner that tells the cursors apart.
void drawTag(QPainter& p, const QString& text, bool circled)
{
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    const QRect box(17, 19, 15, 12);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    if (circled)
        p.drawEllipse(box.adjusted(1, -1, -1, 1));
    else
        p.drawRect(box.adjusted(0, 0, -1, -1));
    p.drawText(box, Qt::AlignCenter, text);
}

QCursor makeCursor(int number)
{
    QPixmap pm(kSide, kSide);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        drawCross(p);
        if (number >= 1 && number <= 21) {
            drawTag(p, QString::number(number), false);
        } else if (number >= 101 && number <= 107) {
            drawTag(p, QString::number(number - 100), true);
        } else if (number == 200) {
            drawTag(p, QStringLiteral("記"), false);
        } else if (number == 201) {
            drawTag(p, QStringLiteral("号"), false);
        } else if (number == 301) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::blue, 1));
            p.drawEllipse(QPoint(kHot, kHot), 6, 6);
            p.drawEllipse(QPoint(kHot, kHot), 12, 12);
        }
    }
    return QCursor(pm, kHot, kHot);
}

} // namespace

const std::vector<CursorResource>& cursorResources()
{
    static const std::vector<CursorResource> table = [] {
        std::vector<CursorResource> t;
        for (int i = 0; i <= 20; ++i)
            t.push_back({"C" + std::to_string(100 + i), 1 + i});
        for (int i = 1; i <= 7; ++i)
            t.push_back({"E" + std::to_string(100 + i), 100 + i});
        t.push_back({"T200", 200});
        t.push_back({"T201", 201});
        t.push_back({"KYORI", 301});
        return t;
    }();
    return table;
}

void registerCustomCursors()
{
    for (const CursorResource& r : cursorResources())
        if (!registry().count(r.number))
            registry().emplace(r.number, makeCursor(r.number));
}

QCursor measuringCursor(QPoint mark)
{
    // The cross drawn around the mark; the hot spot stays in the top-left corner, so
    // the point taken (the pointer plus the mark) is the one the cross shows.
    QPixmap pix(kSide, kSide);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.translate(mark.x() - kHot, mark.y() - kHot);
    drawCross(p);
    p.end();
    return QCursor(pix, 0, 0);
}

QCursor symbolCursor(const QImage& picture)
{
    QPixmap pix(kSide, kSide);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    // The hot spot: a small corner at the top left.
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 0, 4, 0);
    p.drawLine(0, 0, 0, 4);
    if (picture.isNull()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(8, 8, 15, 15);
    } else {
        // The shape only: the white of the picture leaves the map visible.
        QImage shape = picture.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shape.height(); ++y)
            for (int x = 0; x < shape.width(); ++x)
                if ((shape.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu)
                    shape.setPixel(x, y, 0);
        p.drawImage(kSide / 2 - shape.width() / 2, kSide / 2 - shape.height() / 2, shape);
    }
    p.end();
    return QCursor(pix, 0, 0);
}

bool hasCustomCursor(int number) { return registry().count(number) != 0; }

QCursor customCursor(int number)
{
    const auto it = registry().find(number);
    return it == registry().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

} // namespace oboro
