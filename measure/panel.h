#pragma once
// The measurement figures of the main window's left panel and their number formats.
// Every measuring tool answers an event with a PanelUpdate: only the fields that
// change are set, and the window (or a test) applies them to its labels.
#include "common/canvas.h"

#include <optional>
#include <string>

namespace oboro {

// Colours of the figures: red for ordinary results, yellow for regions cut by the
// image edge (or measured from the sea).
inline constexpr Color kFigureRed = 0x0000FF;
inline constexpr Color kFigureYellow = 0x00FFFF;

struct PanelUpdate {
    std::optional<std::string> latitudeLine;  // first readout line (緯度 or Y座標)
    std::optional<std::string> longitudeLine; // second readout line (経度 or X座標)
    std::optional<std::string> title;         // "距離" or "周長"
    std::optional<std::string> length;        // distance, path length or perimeter
    std::optional<std::string> area;          // area value or "   計測中 %d"
    std::optional<bool> superscriptShown;     // the "2" after an area
    std::optional<Color> figureColor;         // colour of length, area and superscript
    std::optional<std::string> unmeasurable;  // count of skipped name positions; "" hides it

    // Takes every field that `later` sets.
    void merge(const PanelUpdate& later);
};

inline constexpr const char* kDistanceTitle = "距離";
inline constexpr const char* kPerimeterTitle = "周長";

// "%7.2f km": distances and path lengths.
std::string lengthText(double km);
// Areas: "%8.2f km" up to 100, "%8.1f km" over 100, "%8.0f km" over 1000.
std::string areaText(double km2);
// Perimeters: "%7.2f km" up to 100, "%7.1f km" over 100, "%7.0f km" over 1000.
std::string perimeterText(double km);
// "   計測中 %d": the point count of a path being measured.
std::string pointCountText(int count);

// Shown in place of both figures when a searched name cannot be measured.
inline constexpr const char* kUnmeasurableLength = "測定不能";
inline constexpr const char* kUnmeasurableArea = " 測定不能";

} // namespace oboro
