#include "settings/displaysettings.h"

namespace oboro {

void setStandardColors(DisplayState& d, bool soft)
{
    if (soft) {
        d.CoastColor = 16754342;
        d.PrefColor = 10329599;
        d.TownColor = 10354589;
        d.NTownColor = 16777088;
        d.TownFontColor = 8421504;
        d.DoColor = 8816262;
        d.IslandsColor = 10864515;
        d.MountainColor = 16744576;
    } else {
        d.CoastColor = 16711680;
        d.PrefColor = 255;
        d.TownColor = 2672688;
        d.NTownColor = StdNTownColor;
        d.TownFontColor = 0;
        d.DoColor = 0;
        d.IslandsColor = StdIslandsColor;
        d.MountainColor = StdMountainColor;
    }
    d.KuColor = 9421963;
    d.SavedBackColor = 16777190;
    d.BackColor = 16777190;
    d.FunColor = 12632256;
    d.WakuColor = 16744576;
}

void applyStandardLook(DisplayState& d, bool soft)
{
    setStandardColors(d, soft);
    d.CoastWidth = 1;
    d.PrefWidth = 1;
    d.TownWidth = 1;
    d.WakuWidth = 2;
    d.TownFontSize = 8;
    d.TownFontPixels = 8;
}

std::array<std::string, 3> imageSizeChoices(int divisor)
{
    if (divisor < 1)
        divisor = 1;
    const int a = 600 / divisor;
    return {std::to_string(a), std::to_string(2 * a), std::to_string(3 * a)};
}

int magnificationStepIndex(float step)
{
    for (int i = 0; i < static_cast<int>(kMagnificationSteps.size()); ++i)
        if (kMagnificationSteps[i] == step)
            return i;
    return -1;
}

int moveFactorIndex(float factor)
{
    for (int i = 0; i < static_cast<int>(kMoveFactors.size()); ++i)
        if (kMoveFactors[i] == factor)
            return i;
    return -1;
}

} // namespace oboro
