#pragma once
// Path measurement: a polyline clicked point by point (or sampled from the pointer
// every 150 ms with 概算), its running length, and the area enclosed when it is closed.
// The measurer keeps the points in pixels of the picture; the view paints the path and
// its rubber band over the picture (see band()); the figures it returns go to the main
// window's panel.
#include "common/messages.h"
#include "measure/ground.h"
#include "measure/panel.h"

#include <QPoint>
#include <vector>

namespace oboro {

// Length in km of the polyline through the pixels: the great-circle distances of
// consecutive points, in the displayed datum.
double pathLengthKm(const ViewState& v, const std::vector<QPoint>& points);

// Area in km² enclosed by the ring through the pixels (closed from the last point back
// to the first): a trapezoid sum on ground distances. Each edge contributes its
// east–west extent (the great-circle length at the edge's middle latitude, negative
// going west) times the mean of its two ends' heights above the latitude of the lowest
// point (great-circle lengths along the meridian). Fewer than three points give 0.
double pathAreaKm2(const ViewState& v, const std::vector<QPoint>& points);

// Every path point is the pointer plus this offset: the marked point of the measuring
// cursor, whose hot spot is its top-left corner.
inline constexpr QPoint kPathMarkOffset{16, 15};
inline constexpr int kPathCapacity = 1500;
inline constexpr int kSamplingIntervalMs = 150;

inline constexpr Color kManualPathColor = 0x008000; // green
inline constexpr Color kAutoPathColor = 0x0000FF;   // red
inline constexpr int kPathPenWidth = 3;

inline constexpr const char* kPathFullText = "測点経路のデータ数が多すぎます　　　";
inline constexpr const char* kPathFullTitle = "測点経路エラー";

// What the window does after a path event.
struct PathEvent {
    bool handled = false;       // false: the event was not the path's (a double click goes on)
    PanelUpdate panel;
    bool startTimer = false;    // start the 150 ms sampling timer
    bool stopTimer = false;
    bool uncheckAutomatic = false; // uncheck 概算
    // The path ended: redraw the map (the path leaves the picture, the figures stay),
    // give back the default cursor and re-enable the controls.
    bool finished = false;
};

class PathMeasurer {
public:
    explicit PathMeasurer(QPoint markOffset = kPathMarkOffset) : offset_(markOffset) {}

    // 距離: path mode on, no points; the figures red, title "距離", length 0, point
    // count 0, the area's superscript hidden. (The window disables its controls and
    // shows the measuring cursor.)
    PathEvent begin();

    // A left click on the map in path mode. Manual: adds the point. Automatic
    // (概算 checked): the first click starts the sampling; later ones are ignored.
    PathEvent click(const ViewState& v, QPoint pointer, bool automatic, MessageSink& sink);
    // Pointer moved: the rubber band from the last point (manual), or only the pointer
    // remembered for the next sample (automatic). Returns whether it was the path's.
    bool move(QPoint pointer, bool automatic);
    // A tick of the sampling timer.
    PathEvent tick(const ViewState& v, MessageSink& sink);
    // Double click: closes a manual path at its first point, or finishes a sampled one.
    PathEvent doubleClick(const ViewState& v);
    // Every redraw of the map: the points are dropped (an unfinished path is abandoned).
    void reset();

    // What the view paints over the picture: the path's points and, for a manual path,
    // the band from its last point to the pointer (empty when there is none). Manual
    // paths are green, sampled ones red, kPathPenWidth wide.
    struct Band {
        std::vector<QPoint> points;
        Color color = kManualPathColor;
    };
    Band band() const;

    bool collecting() const { return collecting_; } // path mode: clicks are the path's
    bool sampling() const { return sampling_; }     // the sampling timer should run
    int count() const { return static_cast<int>(points_.size()); }
    const std::vector<QPoint>& points() const { return points_; }
    // A path has just been closed; the distance drag keeps its figure until it moves.
    bool resultHeld() const { return held_; }
    void releaseResult() { held_ = false; }
    double lengthKm() const { return lengthKm_; }
    double areaKm2() const { return areaKm2_; }

private:
    PanelUpdate results(const ViewState& v, const std::vector<QPoint>& lengthPoints);

    QPoint offset_;
    bool collecting_ = false;
    bool sampling_ = false;
    bool started_ = false; // sampling: the first tick has run
    bool held_ = false;
    std::vector<QPoint> points_;
    QPoint first_;         // sampling: the clicked start
    QPoint rubberEnd_;     // end of the band drawn last; while sampling the pointer
    double lengthKm_ = 0.0;
    double areaKm2_ = 0.0;
};

} // namespace oboro
