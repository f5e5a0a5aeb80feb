#pragma once
// Drawing helpers shared by the wallpapers: soft lights, eased fades, sampled curves.
#include <cairo.h>

#include "tools/assetgen/color.h"
#include "tools/assetgen/shape.h"

namespace assetgen {

void SetRgba(cairo_t* cr, Rgb c, double a);
void AddStop(cairo_pattern_t* p, double at, Rgb c, double a);
// A soft round light: colour at the centre fading to nothing at radius r.
void Glow(cairo_t* cr, double x, double y, double r, Rgb c, double a);
// Multiplies the alpha of everything drawn on the width x height surface by an eased ramp that
// is 0 at `from` and 1 from `to` on (measured along the line between them).
void FadeFrom(cairo_t* cr, int width, int height, Pt from, Pt to);

// Adds the curve y(x) for x from x0 to x1, sampled every 2 px; starts a new sub-path when
// `start` is true, else continues the current one.
template <class F>
void CurvePath(cairo_t* cr, double x0, double x1, F y, bool start = true) {
  double step = x1 >= x0 ? 2 : -2;
  int n = static_cast<int>((x1 - x0) / step);
  for (int i = 0; i <= n; ++i) {
    double x = x0 + i * step;
    if (start && i == 0) cairo_move_to(cr, x, y(x));
    else cairo_line_to(cr, x, y(x));
  }
}

}  // namespace assetgen
