#include "tools/assetgen/render.h"

namespace assetgen {

SurfacePtr RenderGlyph(GlyphFn draw, int size) {
  SurfacePtr art = NewSurface(CAIRO_FORMAT_ARGB32, size, size);
  {
    ContextPtr cr = NewContext(art.get());
    Painter painter(cr.get(), size);
    draw(painter);
  }
  if (size <= 16) return art;  // a shadow only muddies the smallest glyphs

  SurfacePtr cell = NewSurface(CAIRO_FORMAT_ARGB32, size, size);
  ContextPtr cr = NewContext(cell.get());
  double sigma = size >= 48 ? 1.3 : 0.9, dy = size >= 48 ? 1.5 : 1.0;
  DrawWithShadow(cr.get(), art.get(), 0, 0, sigma, dy, 0.38);
  return cell;
}

SurfacePtr RenderStrip(const ImageListDef& list) {
  int count = static_cast<int>(list.glyphs.size());
  SurfacePtr strip = NewSurface(CAIRO_FORMAT_ARGB32, list.size * count, list.size);
  ContextPtr cr = NewContext(strip.get());
  for (int i = 0; i < count; ++i) {
    SurfacePtr glyph = RenderGlyph(list.glyphs[i].draw, list.size);
    cairo_set_source_surface(cr.get(), glyph.get(), i * list.size, 0);
    cairo_paint(cr.get());
  }
  return strip;
}

}  // namespace assetgen
