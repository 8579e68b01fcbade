#pragma once
// Window-free rules of the map display settings: the standard look restored by 標準,
// the image-size choices of a reduction rate and the factors behind the radio groups.
#include "view/display.h"

#include <array>
#include <string>

namespace oboro {

// The colours of the 標準 button: the soft-tone column or the standard column.
// Background (and the saved background), ward, ten-minute and frame colours are the
// same in both.
void setStandardColors(DisplayState& d, bool soft);

// Everything 標準 puts back in the display state: the colours above, the three pen
// widths 1, the frame width 2 and the name font size 8 (also in effect).
void applyStandardLook(DisplayState& d, bool soft);

// Texts of the three image-size choices under a reduction divisor (1..5):
// a = 600 ÷ divisor, then a, 2a and 3a ("300", "600", "900" for ×1/2).
std::array<std::string, 3> imageSizeChoices(int divisor);

// 拡大係数 choices "×1" "×0.5" "×0.2" "×0.1" and 移動係数 choices "× 2" "× 1" "×0.5".
inline constexpr std::array<float, 4> kMagnificationSteps{1.0f, 0.5f, 0.2f, 0.1f};
inline constexpr std::array<float, 3> kMoveFactors{2.0f, 1.0f, 0.5f};
// Index of a step or factor among the choices, or -1.
int magnificationStepIndex(float step);
int moveFactorIndex(float factor);

} // namespace oboro
