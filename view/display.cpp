#include "view/display.h"

namespace oboro {

int TownFontPixels(int townFontSize, bool fixedSize, int imageSide)
{
    if (fixedSize)
        return townFontSize;
    return static_cast<int>(static_cast<long long>(townFontSize) * imageSide / 600);
}

void DisplayState::updateTownFontPixels(int imageSide)
{
    TownFontPixels = oboro::TownFontPixels(TownFontSize, CBFixedSize, imageSide);
}

} // namespace oboro
