#include "app/rendercommand.h"

namespace oboro {

// The map drawing of the render command. It needs the map file loader and the render
// pipeline: load the areas of options.areas from the program folder, set up the standard
// view at options.imageSide() with the WGS switch off under --tokyo-datum, turn the
// municipality name layers off under --no-names, draw and return the picture.
std::optional<QImage> drawRenderPicture(const RenderOptions&, MessageSink& sink)
{
    sink.show("この Oboro には地図を描く機能が組み込まれていません", "描画エラー", MessageIcon::Exclamation);
    return std::nullopt;
}

} // namespace oboro
