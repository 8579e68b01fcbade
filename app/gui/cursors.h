#pragma once
// The custom mouse cursors of the map tools, drawn by the program itself (32 × 32,
// hot spot at the centre of the cross):
//   "C100" … "C120" → 1 … 21    the map symbols
//   "E101" … "E107" → 101 … 107 the numbered marks
//   "T200" → 200, "T201" → 201  the common symbol cursors
//   "KYORI" → 301               distance circles
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <string>
#include <vector>

namespace oboro {

struct CursorResource {
    std::string name;
    int number;
};

// The cursor resources in registration order.
const std::vector<CursorResource>& cursorResources();

// Draws and registers every custom cursor (idempotent).
void registerCustomCursors();
bool hasCustomCursor(int number);
// The registered cursor of a number; the arrow for an unknown number.
QCursor customCursor(int number);
// The cursor of a stamped symbol: its picture (16 × 16) centred at (16, 16) of the
// 32 × 32 cursor, whose hot spot is the top-left corner, so a stamp lands where the
// picture shows. Without a picture an empty square shows the place.
QCursor symbolCursor(const QImage& picture);
// The path measuring cursor: a cross at `mark` from its hot spot, the top-left corner.
QCursor measuringCursor(QPoint mark);

} // namespace oboro
