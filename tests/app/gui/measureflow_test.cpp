// The measuring tools through the main window on the bundled map of Kanagawa (and
// Tokyo for the circles): the distance drag, the path, region and land areas, the web
// map link and the distance circle window.
#include "app/gui/topen.h"
#include "app/gui/updown.h"
#include "common/dms.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "measure/gui/tkyori.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/mainwindowflow.h"
#include "support/testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace oboro {
namespace {

using test::QuietDialogs;

// Great-circle distance on the sphere of 6371 km by the haversine formula.
double haversineKm(double lon1, double lat1, double lon2, double lat2)
{
    const double r = M_PI / 180.0;
    const double a = std::sin((lat2 - lat1) * r / 2) * std::sin((lat2 - lat1) * r / 2) +
                     std::cos(lat1 * r) * std::cos(lat2 * r) * std::sin((lon2 - lon1) * r / 2) *
                         std::sin((lon2 - lon1) * r / 2);
    return 2 * 6371.0 * std::asin(std::sqrt(a));
}

double numberIn(const QLabel* l) { return l->text().split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0).toDouble(); }

class MeasureFlow : public test::MainWindowFlow {
protected:
    // The pixel of a municipality's name position (the centre of its largest part).
    QPoint namePixel(const std::string& name) const
    {
        for (const NameEntry& e : w->store.commonNames.entries)
            if (e.name == name)
                return MapToPixel(w->view, e.x, e.y);
        ADD_FAILURE() << name;
        return {};
    }
    QPoint nameUnits(const std::string& name) const
    {
        for (const NameEntry& e : w->store.commonNames.entries)
            if (e.name == name)
                return QPoint(e.x, e.y);
        return {};
    }
    QImage picture() const { return w->canvas.image().copy(); }

};

TEST_F(MeasureFlow, ControlsOfTheMeasuringToolsWorkOnceAMapIsShown)
{
    for (QWidget* c : std::initializer_list<QWidget*>{w->BtnMulti, w->Button14, w->Button13, w->CBNokori, w->CBChiri})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->action("MKyori")->isEnabled());
    select({13});
    for (QWidget* c : std::initializer_list<QWidget*>{w->BtnMulti, w->Button14, w->Button13, w->CBNokori, w->CBChiri})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(w->action("MKyori")->isEnabled());
}

TEST_F(MeasureFlow, DragFromNakaWardToOdawaraShowsTheirDistance)
{
    select({13});
    const QImage before = picture();
    const QPoint a = namePixel("中区"), b = namePixel("小田原市");
    w->mapPress(a.x(), a.y(), Qt::LeftButton);
    EXPECT_EQ(w->Label17->text(), QStringLiteral("距離"));
    EXPECT_EQ(w->Label15->text(), QStringLiteral("   0.00 km"));
    w->mapMove(b.x(), b.y());
    ASSERT_TRUE(w->session.overlay.measureLine);
    EXPECT_EQ(*w->session.overlay.measureLine, QLine(a, b));
    // The two name positions, read from the data: about 47 km apart; a pixel is ~0.2 km.
    const QPoint ua = nameUnits("中区"), ub = nameUnits("小田原市");
    const double expected = haversineKm(longitudeOf(ua.x()), latitudeOf(ua.y()), longitudeOf(ub.x()), latitudeOf(ub.y()));
    EXPECT_NEAR(numberIn(w->Label15), expected, 0.5) << w->Label15->text().toStdString();
    w->mapRelease(b.x(), b.y());
    EXPECT_FALSE(w->session.overlay.measureLine);
    EXPECT_EQ(picture(), before); // the band was never in the picture
}

TEST_F(MeasureFlow, PathClosedByDoubleClickGivesLengthAndArea)
{
    select({13});
    const QImage before = picture();
    w->BtnMulti->click();
    EXPECT_EQ(w->session.tool, MapTool::Path);
    EXPECT_FALSE(w->Button5->isEnabled()); // the map cannot change under the path
    EXPECT_FALSE(w->BtnMulti->isEnabled());
    EXPECT_EQ(w->Label31->text(), QStringLiteral("   計測中 0"));
    // The cursor's cross marks the point a click takes: 16 right, 15 below its hot spot.
    const QCursor cursor = w->MapImage->cursor();
    EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0));
    const QImage cross = cursor.pixmap().toImage();
    EXPECT_EQ(cross.pixelColor(21, 15), QColor(Qt::black)); // right arm
    EXPECT_EQ(cross.pixelColor(16, 21), QColor(Qt::black)); // lower arm
    EXPECT_EQ(cross.pixelColor(16 - 5, 15 + 5).alpha(), 0);
    // A right triangle of 200 × 150 pixels; points land at the cursor's mark (16, 15).
    const std::vector<QPoint> corners = {{150, 400}, {350, 400}, {350, 250}};
    for (const QPoint c : corners) {
        w->mapMove(c.x() - 16, c.y() - 15);
        w->mapPress(c.x() - 16, c.y() - 15, Qt::LeftButton);
        w->mapRelease(c.x() - 16, c.y() - 15);
    }
    EXPECT_EQ(w->Label31->text(), QStringLiteral("   計測中 3"));
    w->mapMove(200, 300);
    EXPECT_EQ(w->session.overlay.path.points.size(), 4u); // three points and the band
    w->mapDoubleClick(334, 235);
    EXPECT_EQ(w->session.tool, MapTool::None);
    EXPECT_TRUE(w->BtnMulti->isEnabled());
    EXPECT_FALSE(w->Label33->isHidden()); // the area's superscript
    // Ground size of the triangle from the picture's scale: half of its two legs.
    const GroundScale g = groundScaleOf(w->view);
    const double legX = 200 * g.widthKm / g.side, legY = 150 * g.heightKm / g.side;
    EXPECT_NEAR(numberIn(w->Label31), legX * legY / 2, legX * legY / 2 * 0.02);
    EXPECT_NEAR(numberIn(w->Label15), legX + legY + std::hypot(legX, legY), 0.3);
    EXPECT_EQ(picture(), before);
    EXPECT_TRUE(w->session.overlay.path.points.empty());
    // A plain click keeps the path's length; the first drag movement replaces it.
    const QString held = w->Label15->text();
    w->mapPress(100, 100, Qt::LeftButton);
    EXPECT_EQ(w->Label15->text(), held);
    w->mapMove(101, 100);
    EXPECT_NE(w->Label15->text(), held);
    w->mapRelease(101, 100);
}

TEST_F(MeasureFlow, SampledPathStartsWithAClickAndEndsWithADoubleClick)
{
    select({13});
    w->CBTimer->setChecked(true);
    EXPECT_TRUE(w->session.pathAutomatic);
    w->BtnMulti->click();
    w->mapPress(200, 200, Qt::LeftButton);
    EXPECT_TRUE(w->session.path.sampling());
    w->mapMove(300, 220);
    w->mapDoubleClick(300, 220);
    EXPECT_FALSE(w->session.path.sampling());
    EXPECT_FALSE(w->CBTimer->isChecked()); // 概算 goes off with the path
    EXPECT_EQ(w->session.tool, MapTool::None);
    EXPECT_TRUE(w->BtnMulti->isEnabled());
}

TEST_F(MeasureFlow, RegionClickOnYokohamaGivesItsArea)
{
    select({13});
    // Yokohama as one region: no ward borders, no names in it.
    w->session.batch([&] {
        w->display.CBKu = false;
        w->switches.CBTownName = false;
    });
    const QImage before = picture();
    w->Button14->click();
    EXPECT_EQ(w->Button14->text(), QStringLiteral("終り"));
    EXPECT_FALSE(w->BtnPaint->isEnabled());
    EXPECT_TRUE(w->CBPrefBorder->isEnabled());
    const QPoint p = namePixel("西区");
    w->mapPress(p.x(), p.y(), Qt::LeftButton);
    EXPECT_EQ(w->Label17->text(), QStringLiteral("周長"));
    // 437.7 km² officially; pixel counting at 600 pixels comes within a few per cent.
    EXPECT_NEAR(numberIn(w->Label31), 437.7, 437.7 * 0.05) << w->Label31->text().toStdString();
    EXPECT_GT(numberIn(w->Label15), 100.0);
    EXPECT_NE(picture(), before); // the walked pixels are marked
    const QString total = w->Label31->text();
    w->mapPress(p.x() + 1, p.y(), Qt::LeftButton); // the same region again: no change
    EXPECT_EQ(w->Label31->text(), total);
    w->Button14->click();
    EXPECT_EQ(w->Button14->text(), QStringLiteral("面積"));
    EXPECT_EQ(picture(), before); // the marks go with the redraw
    EXPECT_TRUE(w->BtnPaint->isEnabled());
}

TEST_F(MeasureFlow, LandAreaOfKanagawa)
{
    select({13});
    const QImage before = picture();
    w->CBNokori->setChecked(true);
    w->Button14->click();
    EXPECT_EQ(w->session.tool, MapTool::None);
    // 2416 km² officially; the displayed land is the prefecture (and lakes) on the picture.
    EXPECT_NEAR(numberIn(w->Label31), 2416.0, 2416.0 * 0.05) << w->Label31->text().toStdString();
    EXPECT_EQ(picture(), before);
}

TEST_F(MeasureFlow, SearchedNameWithTotalAreaMeasuresItsRegions)
{
    select({13});
    w->CBTownPaint->setChecked(true);
    w->CBMenseki->setChecked(true);
    w->ComboBox1->setEditText(QStringLiteral("小田原市"));
    w->Button9->click();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(w->Label17->text(), QStringLiteral("周長"));
    // 113.6 km² officially, counted on the search's view of the city.
    EXPECT_NEAR(numberIn(w->Label31), 113.6, 113.6 * 0.05) << w->Label31->text().toStdString();
    EXPECT_FALSE(w->Label33->isHidden());
    // The regions carry the search paint colour.
    const QImage img = picture();
    int painted = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            painted += img.pixel(x, y) == toPixel(w->display.TownPaintColor);
    EXPECT_GT(painted, 1000);
}

TEST_F(MeasureFlow, WebMapClickOpensTheServiceAtThePositionOnce)
{
    select({13});
    std::vector<std::string> opened;
    w->openAddress = [&](const std::string& a) {
        opened.push_back(a);
        return true;
    };
    w->CBChiri->setChecked(true);
    const QPoint p = namePixel("小田原市");
    w->mapPress(p.x(), p.y(), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1u);
    const QPoint m = PixelToMap(w->view, p.x(), p.y());
    EXPECT_EQ(opened[0], webMapAddress(kDefaultWebMapBase, longitudeOf(m.x()), latitudeOf(m.y())));
    EXPECT_EQ(opened[0].rfind("https://watchizu.gsi.go.jp/watchizu.html?longitude=139.1", 0), 0u) << opened[0];
    EXPECT_FALSE(w->CBChiri->isChecked()); // one-shot
    w->mapPress(p.x(), p.y(), Qt::LeftButton);
    EXPECT_EQ(opened.size(), 1u);

    w->openAddress = [](const std::string&) { return false; };
    w->CBChiri->setChecked(true);
    w->mapPress(p.x(), p.y(), Qt::LeftButton);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kBrowserFailedText);
    EXPECT_FALSE(w->CBChiri->isChecked());
}

// Pixels of the circle colour that the circles added to a picture, and how far each
// lies from the centre pixel.
std::vector<double> addedRadii(const QImage& before, const QImage& after, QPointF centre, QRgb colour)
{
    std::vector<double> out;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) == colour && before.pixel(x, y) != colour)
                out.push_back(std::hypot(x - centre.x(), y - centre.y()));
    return out;
}

TEST_F(MeasureFlow, TypedCentreAtTokyoStationDrawsA10KmCircle)
{
    select({12, 13});
    const QImage before = picture();
    const QImage before1800 = w->session.drawPicture(1800);
    w->Button13->click();
    TKyori* k = w->circleWindow();
    ASSERT_TRUE(k->isVisible());
    EXPECT_EQ(k->Label6->text(), QStringLiteral("距離円の中心を指定してください"));
    EXPECT_FALSE(k->RadioGroup1->isEnabled());
    // 東京駅, typed in the data's datum (35°40'40", 139°46'12").
    k->CBCenter->setChecked(true);
    EXPECT_EQ(k->Label6->text(), QStringLiteral("中心経緯度設定モード"));
    k->EdLon->setText(QStringLiteral("139.4612"));
    k->EdLat->setText(QStringLiteral("35.4040"));
    k->radius[0]->setChecked(true);   // 10 km
    k->CheckBox2->setChecked(false);  // no centre mark and no label: only the circle
    k->CheckBox3->setChecked(false);
    k->Button1->click();
    EXPECT_TRUE(dialogs->shown.empty());
    ASSERT_EQ(w->session.circles.count(), 1);
    EXPECT_EQ(k->Label12->text(), QStringLiteral("1"));
    EXPECT_EQ(k->Label6->text(), QStringLiteral("距離円を描きました"));
    EXPECT_TRUE(k->RadioGroup1->isEnabled());
    const DistanceCircle& c = w->session.circles.circles()[0];
    EXPECT_EQ(c.radius, 10);

    // Every added pixel lies 10 km from the centre, and the outline goes all round.
    const GroundScale g = groundScaleOf(w->view);
    for (const auto& [side, b, a] : {std::tuple{600, before, picture()},
                                     std::tuple{1800, before1800, w->session.drawPicture(1800)}}) {
        SCOPED_TRACE(side);
        const double k10 = 10.0 / (g.widthKm / g.side) * side / g.side; // 10 km in pixels
        const QPointF centre = QPointF(MapToPixel(w->view, c.x, c.y)) * (double(side) / g.side);
        const std::vector<double> radii = addedRadii(b, a, centre, toPixel(c.color));
        EXPECT_GT(radii.size(), 2 * M_PI * k10 * 0.7);
        for (double r : radii)
            ASSERT_NEAR(r, k10, 2.0 + k10 * 0.03);
    }

    // A live edit changes the set and redraws: 20 km.
    const QImage ten = picture();
    k->radius[1]->setChecked(true);
    EXPECT_EQ(w->session.circles.circles()[0].radius, 20);
    EXPECT_NE(picture(), ten);
    // 距離円表示 off hides the sets, on brings them back.
    k->CheckBox4->setChecked(false);
    EXPECT_EQ(picture(), before);
    EXPECT_EQ(k->Label6->text(), QStringLiteral("距離円は非表示です"));
    k->CheckBox4->setChecked(true);
    EXPECT_NE(picture(), before);
    // 円削除 asks, then empties the list.
    k->Button4->click();
    ASSERT_EQ(dialogs->asked.size(), 1u);
    EXPECT_EQ(w->session.circles.count(), 0);
    EXPECT_EQ(picture(), before);
}

TEST_F(MeasureFlow, BadTypedInputIsRefusedAndChangesNothing)
{
    select({12, 13});
    TKyori* k = w->circleWindow();
    w->Button13->click();
    k->CBCenter->setChecked(true);
    k->EdLon->setText(QStringLiteral("139.4612"));
    k->EdLat->setText(QStringLiteral("35.4040"));
    k->Button1->click();
    ASSERT_EQ(w->session.circles.count(), 1);
    const std::vector<DistanceCircle> kept = w->session.circles.circles();
    const QImage drawn = picture();
    k->CheckBox6->setChecked(true); // 追加円: a refused set must not replace or add

    struct Case {
        const char* lon;
        const char* lat;
        int radiusChoice;
        const char* radiusText;
        const char* message;
    };
    for (const Case& c : {Case{"139.4612", "91.0000", 1, "25", kLatitudeRangeText},
                          Case{"139.4612", "35.4040", kTypedRadiusChoice, "0", kRadiusRangeText},
                          Case{"139.4612", "35.4040", kTypedRadiusChoice, "2.5", kRadiusDecimalText},
                          Case{"abc", "35.4040", 1, "25", kDmsErrorText}}) {
        SCOPED_TRACE(c.message);
        dialogs->shown.clear();
        k->EdLon->setText(QString::fromUtf8(c.lon));
        k->EdLat->setText(QString::fromUtf8(c.lat));
        k->Edit3->setText(QString::fromUtf8(c.radiusText));
        w->session.circles.controls.radiusChoice = c.radiusChoice;
        k->Button1->click();
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, c.message);
        EXPECT_EQ(w->session.circles.circles(), kept);
        EXPECT_EQ(picture(), drawn);
    }
}

TEST_F(MeasureFlow, CentrePickedOnTheMapFromTheMenu)
{
    select({13});
    w->action("MKyori")->trigger();
    TKyori* k = w->circleWindow();
    EXPECT_TRUE(k->isVisible());
    EXPECT_TRUE(w->session.circles.pickingCentre());
    const QPoint p = namePixel("小田原市");
    w->mapMove(p.x(), p.y());
    const QPoint m = PixelToMap(w->view, p.x(), p.y());
    EXPECT_EQ(k->Label1->text(), QStringLiteral("中心 x %1").arg(m.x()));
    EXPECT_EQ(k->EdLat->text().toStdString(), formatDms("", latitudeOf(m.y())));
    const QImage before = picture();
    w->mapPress(p.x(), p.y(), Qt::LeftButton);
    EXPECT_FALSE(w->session.circles.pickingCentre());
    ASSERT_EQ(w->session.circles.count(), 1);
    const QPoint centre = MapToPixel(w->view, w->session.circles.circles()[0].x, w->session.circles.circles()[0].y);
    EXPECT_LE((centre - p).manhattanLength(), 1); // the clicked pixel, within the datum shift's rounding
    EXPECT_NE(picture(), before);
    EXPECT_EQ(k->Label8->text().toStdString(), formatDms("緯度 ", latitudeOf(m.y())));
    // 追加円: a second set is added and drawn over the picture at once.
    k->CheckBox6->setChecked(true);
    EXPECT_EQ(k->Label6->text(), QStringLiteral("中心指定ボタンをクリックしてください"));
    k->Button1->click();
    const QImage one = picture();
    const QPoint q = namePixel("中区");
    w->mapPress(q.x(), q.y(), Qt::LeftButton);
    EXPECT_EQ(w->session.circles.count(), 2);
    EXPECT_EQ(k->Label12->text(), QStringLiteral("2"));
    EXPECT_EQ(k->Label6->text(), QStringLiteral("距離円を追加しました"));
    EXPECT_NE(picture(), one);
    // 閉じる keeps the sets on the map.
    k->Button2->click();
    EXPECT_FALSE(k->isVisible());
    EXPECT_EQ(w->session.circles.count(), 2);
    EXPECT_NE(picture(), before);
}

} // namespace
} // namespace oboro
