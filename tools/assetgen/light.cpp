#include "tools/assetgen/light.h"

#include "tools/assetgen/raster.h"

namespace assetgen {

void SetRgba(cairo_t* cr, Rgb c, double a) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }

void AddStop(cairo_pattern_t* p, double at, Rgb c, double a) {
  cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, a);
}

void Glow(cairo_t* cr, double x, double y, double r, Rgb c, double a) {
  cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, r);
  const int steps = 8;  // an eased falloff instead of a visible cone
  for (int i = 0; i <= steps; ++i) {
    double t = static_cast<double>(i) / steps;
    double fall = 1 - Smoothstep(0, 1, t);
    AddStop(g, t, c, a * fall * fall);
  }
  cairo_save(cr);
  cairo_set_source(cr, g);
  cairo_new_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(g);
}

void FadeFrom(cairo_t* cr, int width, int height, Pt from, Pt to) {
  cairo_pattern_t* g = cairo_pattern_create_linear(from.x, from.y, to.x, to.y);
  const int steps = 8;
  for (int i = 0; i <= steps; ++i) {
    double t = static_cast<double>(i) / steps;
    cairo_pattern_add_color_stop_rgba(g, t, 0, 0, 0, Smoothstep(0, 1, t));
  }
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(g);
}

}  // namespace assetgen
