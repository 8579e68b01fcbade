#pragma once
// The position under the pointer, the two-point distance drag with its rubber band,
// and the address of the web map service at a clicked position.
#include "common/canvas.h"
#include "measure/ground.h"
#include "measure/panel.h"

#include <QLine>
#include <QPoint>
#include <optional>
#include <string>

namespace oboro {

// The two readout lines for a pixel of the picture: latitude and longitude as ddd.mmss
// ("緯度  34.0556", "経度 134.1205"), or with mapUnits the map units ("Y座標%7d",
// "X座標%7d"). Only latitudeLine and longitudeLine are set.
PanelUpdate readoutAt(const ViewState& v, QPoint pixel, bool mapUnits);

// While the symbol palette stamps, the readout follows the pixel where the stamp lands.
inline constexpr QPoint kStampReadoutOffset{16, 16};

// The readout mode button: captions and hints after switching to mapUnits, and the
// distance figure reset to 0.
struct ReadoutModeTexts {
    std::string caption; // "座標値" / "経緯度"
    std::string hint;    // "経緯度を表示する" / "座標値を表示する"
    PanelUpdate panel;
};
ReadoutModeTexts readoutModeTexts(bool mapUnits);

// The rubber band of the distance drag: solid, aqua, width 1, painted over the picture.
inline constexpr Color kRubberBandColor = 0xFFFF00;

// The distance measured by a left drag in the default mouse mode. The rubber band is
// not drawn into the picture: band() tells the view where to paint it over the picture.
class TwoPointMeasure {
public:
    // Press: the drag starts at the pixel. The figures turn red, the title becomes
    // "距離" and, unless a finished path's length is on display (pathResultHeld), the
    // distance shows 0.
    PanelUpdate press(const ViewState& v, QPoint pixel, bool pathResultHeld);
    // Pointer moved during the drag: moves the rubber band and gives the distance and
    // the readout of the pointer.
    PanelUpdate move(const ViewState& v, QPoint pixel, bool mapUnits);
    // Release: the band goes and the drag ends. The distance shown stays that of the
    // last movement; lastDistance() is measured to the release point.
    void release(const ViewState& v, QPoint pixel);
    // Ends a drag (the map was redrawn meanwhile).
    void cancel();

    bool dragging() const { return dragging_; }
    // The band from the pressed pixel to the pointer, while the pointer has moved.
    std::optional<QLine> band() const;
    double lastDistance() const { return lastKm_; }
    GroundPoint start() const { return start_; }

private:
    bool dragging_ = false;
    QPoint startPixel_;
    QPoint previousEnd_{-100, -100};
    GroundPoint start_;
    double lastKm_ = 0.0;
};

// The web map service: page and query after the configurable base address.
inline constexpr const char* kDefaultWebMapBase = "https://watchizu.gsi.go.jp/";
// base + "watchizu.html?longitude=%f&&latitude=%f" (six decimals; the doubled
// ampersand is part of the query as the service expects it). A base without a final
// "/" gets one.
std::string webMapAddress(const std::string& base, double lon, double lat);
// The address for a clicked pixel of the picture.
std::string webMapAddressAt(const std::string& base, const ViewState& v, QPoint pixel);

inline constexpr const char* kWebMapWaitText = "国土地理院の地図閲覧サービスに接続しています．．．";
inline constexpr const char* kBrowserFailedText = "インターネットエクスプローラの起動に失敗しました　　　　";
inline constexpr const char* kBrowserFailedTitle = "ウォッ地図呼び出しエラー";

} // namespace oboro
