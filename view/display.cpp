#include "view/display.h"

#include "view/projection.h"

namespace oboro {

int TownFontPixels(int townFontSize, bool fixedSize, int imageSide)
{
    if (fixedSize)
        return imageSide > kLargestScreenSide
            ? static_cast<int>(static_cast<long long>(townFontSize) * imageSide / kLargestScreenSide)
            : townFontSize;
    return static_cast<int>(static_cast<long long>(townFontSize) * imageSide / 600);
}

DetailScale detailScaleFor(int imageSide) { return DetailScale::of(imageSide, kLargestScreenSide); }

void DisplayState::updateTownFontPixels(int imageSide)
{
    TownFontPixels = oboro::TownFontPixels(TownFontSize, CBFixedSize, imageSide);
}

} // namespace oboro
