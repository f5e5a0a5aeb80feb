// The two page wallpapers: a seamless tile of soft light waves and the about page's card.
#include <cmath>

#include "tools/assetgen/light.h"
#include "tools/assetgen/painter.h"
#include "tools/assetgen/wallpapers.h"

namespace assetgen {
namespace {

// Where g lies within its unit, 0 up to 1.
double Frac(double g) { return g - std::floor(g); }

}  // namespace

// Terraces of light: two families of wave lines, each line a crisp bright edge with a soft
// shade falling away below it, over a faint grain. Every term repeats exactly over the tile
// (whole numbers of waves across and down), so tiles meet without a seam.
SurfacePtr PageTile() {
  const int w = 240, h = 120, ss = 4;  // ss x ss samples a pixel
  SurfacePtr s = NewSurface(CAIRO_FORMAT_RGB24, w, h);
  const Rgb light = Hex(0xF5F8FC), shade = Hex(0xD9E3EF);
  TileNoise grain(w / 3, h / 3, 0x5eed);
  TileNoise drift(6, 3, 0xd1f7);
  cairo_surface_flush(s.get());
  unsigned char* data = cairo_image_surface_get_data(s.get());
  int stride = cairo_image_surface_get_stride(s.get());
  for (int py = 0; py < h; ++py) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<ptrdiff_t>(py) * stride);
    for (int px = 0; px < w; ++px) {
      Rgb acc{0, 0, 0};
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          double x = px + (sx + 0.5) / ss, y = py + (sy + 0.5) / ss;
          double u = 2 * kPi * x / w;
          double g1 = 3.0 * y / h + 0.30 * std::sin(2 * u + 0.7) + 0.10 * std::sin(3 * u + 2.3);
          double g2 = 2.0 * y / h + 1.0 * x / w + 0.16 * std::sin(u + 2.1);
          double t1 = Frac(g1), t2 = Frac(g2);
          double depth = 0.45 * std::pow(t1, 0.7) + 0.2 * std::pow(t2, 0.9);
          Rgb c = Mix(light, shade, std::min(1.0, depth));
          double edge = std::exp(-std::pow(std::min(t1, 1 - t1) * h / 3 / 0.9, 2));
          c = Mix(c, {1, 1, 1}, 0.6 * edge);
          acc = {acc.r + c.r, acc.g + c.g, acc.b + c.b};
        }
      double n = ss * ss;
      double gx = px + 0.5, gy = py + 0.5;
      double tint = 0.012 * grain.At(gx / 3, gy / 3) + 0.02 * drift.At(gx / 40, gy / 40);
      auto channel = [&](double v) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(v / n + tint, 0.0, 1.0) * 255));
      };
      row[px] = 0xFF000000u | channel(acc.r) << 16 | channel(acc.g) << 8 | channel(acc.b);
    }
  }
  cairo_surface_mark_dirty(s.get());
  return s;
}

// A translucent card with a soft shadow for the about page's texts, crowned by a round badge
// that carries the four-tile mark of the glyph set.
SurfacePtr AboutCard() {
  const int w = 250, h = 338;
  SurfacePtr s = NewSurface(CAIRO_FORMAT_ARGB32, w, h);
  ContextPtr c = NewContext(s.get());
  cairo_t* cr = c.get();
  const double cx = 125, cardY = 54, cardH = 276;

  SurfacePtr card = NewSurface(CAIRO_FORMAT_ARGB32, w, h);
  {
    ContextPtr k = NewContext(card.get());
    cairo_t* kc = k.get();
    RoundRectPath(kc, 8, cardY, 234, cardH, 16);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, cardY, 0, cardY + cardH);
    AddStop(g, 0, Hex(0xFFFFFF), 0.94);
    AddStop(g, 1, Hex(0xEDF2F9), 0.90);
    cairo_set_source(kc, g);
    cairo_fill_preserve(kc);
    cairo_pattern_destroy(g);
    cairo_save(kc);
    cairo_clip(kc);
    // Quiet waves along the bottom of the card.
    for (int i = 0; i < 3; ++i) {
      cairo_new_path(kc);
      CurvePath(kc, 0, w, [&](double x) {
        return 300 + i * 9 + 6 * std::sin(2 * kPi * x / 250 * (1 + 0.5 * i) + i * 1.3);
      });
      cairo_line_to(kc, w, h);
      cairo_line_to(kc, 0, h);
      cairo_close_path(kc);
      SetRgba(kc, i == 1 ? palette::Teal : palette::Blue, 0.07);
      cairo_fill(kc);
    }
    // Hairlines under the title and above the copyright line.
    for (auto [y, a] : {std::pair{114.0, 0.55}, {284.0, 0.25}}) {
      cairo_pattern_t* line = cairo_pattern_create_linear(24, 0, 226, 0);
      AddStop(line, 0, palette::Blue, 0);
      AddStop(line, 0.5, palette::Blue, a);
      AddStop(line, 1, palette::Purple, 0);
      cairo_set_source(kc, line);
      cairo_rectangle(kc, 24, y, 202, 1);
      cairo_fill(kc);
      cairo_pattern_destroy(line);
    }
    cairo_restore(kc);
    RoundRectPath(kc, 8.5, cardY + 0.5, 233, cardH - 1, 15.5);
    SetRgba(kc, Hex(0x7A8AA2), 0.35);
    cairo_set_line_width(kc, 1);
    cairo_stroke(kc);
    RoundRectPath(kc, 9.5, cardY + 1.5, 231, cardH - 3, 14.5);
    SetRgba(kc, Hex(0xFFFFFF), 0.8);
    cairo_stroke(kc);
  }
  DrawWithShadow(cr, card.get(), 0, 0, 6, 4, 0.22);

  // The badge: a glow, then a round gradient body with a white ring, then the mark.
  Glow(cr, cx, 34, 62, palette::Sky, 0.35);
  SurfacePtr badge = NewSurface(CAIRO_FORMAT_ARGB32, w, 90);
  {
    ContextPtr b = NewContext(badge.get());
    cairo_t* bc = b.get();
    cairo_pattern_t* g = cairo_pattern_create_linear(cx - 30, 6, cx + 30, 66);
    AddStop(g, 0, Hex(0x4DB4F2), 1);
    AddStop(g, 0.55, palette::Blue, 1);
    AddStop(g, 1, palette::Purple, 1);
    cairo_arc(bc, cx, 36, 30, 0, 2 * kPi);
    cairo_set_source(bc, g);
    cairo_fill(bc);
    cairo_pattern_destroy(g);
    cairo_arc(bc, cx, 36, 28.5, 0, 2 * kPi);
    SetRgba(bc, {1, 1, 1}, 0.85);
    cairo_set_line_width(bc, 2.2);
    cairo_stroke(bc);
    // Gloss over the upper half.
    cairo_pattern_t* gloss = cairo_pattern_create_linear(0, 8, 0, 38);
    AddStop(gloss, 0, {1, 1, 1}, 0.35);
    AddStop(gloss, 1, {1, 1, 1}, 0);
    cairo_save(bc);
    cairo_translate(bc, cx, 24);
    cairo_scale(bc, 22, 14);
    cairo_arc(bc, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(bc);
    cairo_set_source(bc, gloss);
    cairo_fill(bc);
    cairo_pattern_destroy(gloss);
    const double tile = 14, gap = 4, x0 = cx - tile - gap / 2, y0 = 36 - tile - gap / 2;
    const double alpha[4] = {1.0, 0.78, 0.78, 0.55};
    for (int i = 0; i < 4; ++i) {
      RoundRectPath(bc, x0 + (i % 2) * (tile + gap), y0 + (i / 2) * (tile + gap), tile, tile, 3.5);
      SetRgba(bc, {1, 1, 1}, alpha[i]);
      cairo_fill(bc);
    }
  }
  DrawWithShadow(cr, badge.get(), 0, 0, 3, 2.5, 0.30);
  return s;
}

}  // namespace assetgen
