#pragma once
// A contact sheet for looking at the assets: every glyph at its size and enlarged on light and
// dark backgrounds, and every wallpaper where the demonstration puts it.
#include <vector>

#include "tools/assetgen/glyphs.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/wallpapers.h"

namespace assetgen {

// strips[i] is the rendered strip of lists[i]; pictures[i] the rendered wallpaper i.
SurfacePtr ContactSheet(const std::vector<ImageListDef>& lists,
                        const std::vector<cairo_surface_t*>& strips,
                        const std::vector<cairo_surface_t*>& pictures);

}  // namespace assetgen
