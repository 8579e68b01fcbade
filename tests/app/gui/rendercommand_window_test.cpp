// The render command draws what the main window draws for the same selection.
#include "app/gui/topen.h"
#include "app/rendercommand.h"
#include "common/log.h"
#include "common/paths.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include "support/dialogs.h"

#include <gtest/gtest.h>

namespace oboro {
namespace {

using test::QuietDialogs;

TEST(RenderCommandWindow, DrawsThePictureOfTheMainWindow)
{
    Canvas::installFontSubstitutions();
    QTemporaryDir folder;
    // Two areas: a coast square with a prefecture border, and a neighbour with a
    // municipal border and a lake shore.
    test::writeSjisFile(folder.path(), "MAPDATA/13.MAP",
                        "C,0,5\r\n175000,175500,176000,175500,176000,176500,175000,176500,175000,175500\r\n"
                        "P,0,2\r\n175500,175500,175500,176500\r\n"
                        "A,175200,176200,港区\r\nA,175700,175800,新宿区\r\n");
    test::writeSjisFile(folder.path(), "MAPDATA/14.MAP",
                        "T,0,3\r\n176000,176000,176600,176200,176900,176900\r\n"
                        "W,0,4\r\n176300,176300,176500,176300,176400,176500,176300,176300\r\n");
    test::writeSjisFile(folder.path(), "MAPDATA/EXTRA.TXT", "");
    test::writeSjisFile(folder.path(), "MAPDATA/yomi.lst", "");
    test::writeSjisFile(folder.path(), "MAPDATA/OfficeLoc/13市町村役場.lbl", "");
    test::writeSjisFile(folder.path(), "MAPDATA/OfficeLoc/14市町村役場.lbl", "");
    setProgramFolder(folder.path());

    for (const std::vector<int>& areas : {std::vector<int>{13}, std::vector<int>{13, 14}}) {
        auto dialogs = std::make_shared<QuietDialogs>();
        auto window = std::make_unique<TOpen>(nullptr, dialogs);
        window->confirmSelection(areas, false, false);
        ASSERT_TRUE(dialogs->shown.empty()) << dialogs->shown[0].text;

        RenderOptions options;
        options.areas = areas;
        CollectingSink sink;
        const std::optional<QImage> picture = drawRenderPicture(options, sink);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->size(), QSize(600, 600));
        EXPECT_TRUE(*picture == window->canvas.image()) << areas.size() << " area(s)";
        int coast = 0;
        for (int y = 0; y < picture->height(); ++y)
            for (int x = 0; x < picture->width(); ++x)
                coast += picture->pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
        EXPECT_GT(coast, 400);
        window.reset();
        DiagnosticLog::instance().close();
    }
}

} // namespace
} // namespace oboro
