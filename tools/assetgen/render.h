#pragma once
// Turns glyph definitions into pixels: one glyph with its soft shadow, and a list's strip.
#include "tools/assetgen/glyphs.h"
#include "tools/assetgen/raster.h"

namespace assetgen {

// One glyph of size x size pixels, ARGB32, with a soft shadow above 16 px.
SurfacePtr RenderGlyph(GlyphFn draw, int size);
// All glyphs of a list side by side: width size * count, height size.
SurfacePtr RenderStrip(const ImageListDef& list);

}  // namespace assetgen
