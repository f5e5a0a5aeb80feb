// Wallpapers: soft light over the dark header, the same strands for the link bar, a seamless tile
// for page backgrounds and the card of the about page. Each keeps to the glyphs' palette and fades
// to nothing at the edges that meet other surfaces, so no picture shows a seam where it ends.
#include "tools/assetgen/wallpapers.h"

#include <cmath>

#include "tools/assetgen/light.h"

namespace assetgen {
namespace {

// Header: light streaks flowing across the panel, a ribbon of fine strands, two glows and a few
// soft sparks; everything fades out toward every edge so the panel colour takes over.
SurfacePtr HeaderWaves() {
  const int w = 513, h = 152;
  SurfacePtr s = NewSurface(CAIRO_FORMAT_ARGB32, w, h);
  ContextPtr c = NewContext(s.get());
  cairo_t* cr = c.get();
  const Rgb ice = Hex(0x9FDcFF), sky = Hex(0x56B6FF), white = Hex(0xFFFFFF);

  Glow(cr, 350, 78, 190, Hex(0x3D8FE0), 0.42);
  Glow(cr, 120, 96, 140, Hex(0x2F6FD0), 0.30);
  Glow(cr, 420, 64, 70, ice, 0.22);

  // A broad band of light under the strands.
  auto centre = [](double x) {
    return 84 + 16 * std::sin(2 * kPi * x / 520 + 0.6) + 7 * std::sin(2 * kPi * x / 230 + 1.9);
  };
  {
    cairo_new_path(cr);
    CurvePath(cr, -4, w + 4, [&](double x) { return centre(x) - 10 - 5 * std::sin(x / 90.0); });
    CurvePath(
        cr, w + 4, -4, [&](double x) { return centre(x) + 16 + 7 * std::sin(x / 70.0 + 1); },
        false);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 60, 0, 110);
    AddStop(g, 0, sky, 0.0);
    AddStop(g, 0.45, sky, 0.22);
    AddStop(g, 1, sky, 0.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
  // Fine strands: curves that gather near the middle and spread toward the ends.
  for (int i = 0; i < 18; ++i) {
    double k = (i - 8.5) / 8.5;  // -1..1 across the ribbon
    double phase = 0.35 * i;
    cairo_new_path(cr);
    CurvePath(cr, -4, w + 4, [&](double x) {
      double spread = 0.35 + 0.65 * std::pow(std::sin(kPi * x / w * 0.9 + 0.35), 2);
      return centre(x) + k * 22 * spread + 2.5 * std::sin(2 * kPi * x / 160 + phase);
    });
    double a = 0.10 + 0.20 * (1 - std::abs(k));
    SetRgba(cr, i % 3 == 0 ? white : ice, a);
    cairo_set_line_width(cr, i % 5 == 0 ? 1.4 : 0.8);
    cairo_stroke(cr);
  }
  // One brighter crest line and its glow.
  for (auto [width, alpha] : {std::pair{6.0, 0.08}, {3.0, 0.14}, {1.2, 0.45}}) {
    cairo_new_path(cr);
    CurvePath(cr, -4, w + 4, [&](double x) { return centre(x) - 12 + 4 * std::sin(x / 60.0); });
    SetRgba(cr, white, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
  }
  // Soft sparks along the crest.
  const double sparks[][3] = {{292, 0, 3.2}, {338, 0, 2.2}, {384, 0, 4.0},
                              {190, 0, 2.0}, {440, 0, 2.6}, {250, 0, 1.6}};
  for (const auto& sp : sparks) {
    double x = sp[0], y = centre(x) - 12 + 4 * std::sin(x / 60.0);
    Glow(cr, x, y, sp[2] * 3.5, white, 0.35);
    Glow(cr, x, y, sp[2], white, 0.9);
  }
  FadeFrom(cr, w, h, {0, 0}, {120, 0});
  FadeFrom(cr, w, h, {w, 0}, {w - 120, 0});
  FadeFrom(cr, w, h, {0, 0}, {0, 36});
  FadeFrom(cr, w, h, {0, h}, {0, h - 36});
  return s;
}

// Link bar: the header's strands again, rising from the bottom-left corner toward the right,
// with a glow in the corner; quiet enough for the items over it in light and dark styles alike.
SurfacePtr LinkBarStrands() {
  const int w = 200, h = 300;
  SurfacePtr s = NewSurface(CAIRO_FORMAT_ARGB32, w, h);
  ContextPtr c = NewContext(s.get());
  cairo_t* cr = c.get();
  const Rgb blue = palette::Blue, sky = palette::Sky, teal = palette::Teal;

  Glow(cr, 0, 300, 190, blue, 0.22);
  Glow(cr, 40, 270, 70, sky, 0.18);
  auto centre = [](double x) { return 268 - 0.42 * x - 26 * std::sin(kPi * x / 230); };
  {
    cairo_new_path(cr);
    CurvePath(cr, -4, w + 4, [&](double x) { return centre(x) - 18 - 0.08 * x; });
    CurvePath(
        cr, w + 4, -4, [&](double x) { return centre(x) + 30 + 0.12 * x; }, false);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 300, 200, 150);
    AddStop(g, 0, sky, 0.20);
    AddStop(g, 1, sky, 0.04);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
  for (int i = 0; i < 14; ++i) {
    double k = (i - 6.5) / 6.5;
    cairo_new_path(cr);
    CurvePath(cr, -4, w + 4, [&](double x) {
      double spread = 0.5 + 0.5 * x / w;
      return centre(x) + k * 26 * spread + 3 * std::sin(2 * kPi * x / 140 + 0.5 * i);
    });
    SetRgba(cr, i % 4 == 0 ? teal : blue, 0.10 + 0.16 * (1 - std::abs(k)));
    cairo_set_line_width(cr, i % 4 == 0 ? 1.3 : 0.8);
    cairo_stroke(cr);
  }
  for (auto [width, alpha] : {std::pair{5.0, 0.06}, {1.2, 0.30}}) {
    cairo_new_path(cr);
    CurvePath(cr, -4, w + 4, [&](double x) { return centre(x) - 14 + 3 * std::sin(x / 45.0); });
    SetRgba(cr, blue, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
  }
  for (double x : {38.0, 96.0, 150.0}) {
    double y = centre(x) - 14 + 3 * std::sin(x / 45.0);
    Glow(cr, x, y, 9, sky, 0.30);
    Glow(cr, x, y, 2.2, Lighter(sky, 0.4), 0.8);
  }
  // The bottom and left edges lie on the bar's own edges; the top and right ones fade out.
  FadeFrom(cr, w, h, {0, 60}, {0, 170});
  FadeFrom(cr, w, h, {w, 0}, {w - 50, 0});
  return s;
}

}  // namespace

const std::vector<WallpaperDef>& Wallpapers() {
  static const std::vector<WallpaperDef> list = {
      {"wallpaper0.png", 513, 152, true, "header panel, centred on dark blue", HeaderWaves},
      {"wallpaper1.png", 200, 300, true, "link bar, bottom left", LinkBarStrands},
      {"wallpaper2.png", 240, 120, false, "pages and memo, tiled", PageTile},
      {"wallpaper3.png", 250, 338, true, "about page, top centre", AboutCard},
  };
  return list;
}

}  // namespace assetgen
