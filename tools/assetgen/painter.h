#pragma once
// Draws glyph parts on a 16-unit design grid whatever the pixel size: 16 px is one pixel a unit,
// 32 px two, 48 px three, so shapes whose edges sit on whole units stay crisp at every size.
// Every body gets the same treatment (a soft top-to-bottom gradient, an inner outline a shade
// darker than the body, and above 16 px a thin light rim along its top edges), which is what
// keeps the set coherent.
#include <cairo.h>

#include <functional>
#include <vector>

#include "tools/assetgen/color.h"
#include "tools/assetgen/shape.h"

namespace assetgen {

struct Material {
  Rgb top, bottom, outline;
  bool rim = true;  // the light rim along the top edges
  bool outlined = true;
};

// The standard material of a base hue.
Material Mat(Rgb base);
// White paper with a slate edge: documents, cards, fields.
Material PaperMat();
// A material without outline, for small inner details.
Material SoftMat(Rgb base);

class Painter {
public:
  // Sets up cr (already clipped to one glyph cell at the origin) for a glyph of sizePx pixels.
  Painter(cairo_t* cr, int sizePx);

  cairo_t* Cr() const { return cr_; }
  int Size() const { return size_; }
  bool Small() const { return size_ <= 16; }
  bool Large() const { return size_ >= 48; }
  // Converts pixels to grid units.
  double Px(double px) const { return px / unit_; }
  // The outline width in grid units: 1 px at 16, 1.5 px at 32, 2 px at 48.
  double Outline() const { return outline_; }

  void Body(const Shape& s, const Material& m) const;
  void Body(const Shape& s, Rgb base) const { Body(s, Mat(base)); }
  void Flat(const Shape& s, Rgb c, double alpha = 1) const;
  // Strokes the path that `path` builds.
  void Stroke(const std::function<void(cairo_t*)>& path, Rgb c, double width, double alpha = 1,
              cairo_line_cap_t cap = CAIRO_LINE_CAP_ROUND) const;
  // Strokes the open line through `points` (flat ends unless `cap` says otherwise).
  void Polyline(const std::vector<Pt>& points, Rgb c, double width, double alpha = 1,
                cairo_line_cap_t cap = CAIRO_LINE_CAP_BUTT) const;
  // Runs `draw` with everything it paints clipped to the shape (shrunk by `inset`).
  void Inside(const Shape& s, const std::function<void()>& draw, double inset = 0) const;

private:
  void MaskWith(cairo_pattern_t* mask, Rgb c, double alpha) const;

  cairo_t* cr_;
  int size_;
  double unit_, outline_;
};

}  // namespace assetgen
