#pragma once
// Small views for drawing tests.
#include "view/projection.h"

namespace oboro::test {

// A view where map (x, y) is pixel (x, 600 − y): centre (300, 300), one pixel per unit,
// no datum shift.
inline ViewState unitView()
{
    ViewState v;
    v.centerX = 300;
    v.centerY = 300;
    v.scaleX = 1.0f;
    v.scaleY = 1.0f;
    v.wgs = false;
    return v;
}

} // namespace oboro::test
