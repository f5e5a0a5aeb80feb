#include "tools/assetgen/painter.h"

#include <memory>

namespace assetgen {
namespace {

struct PatternDeleter {
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using PatternPtr = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

}  // namespace

Material Mat(Rgb base) { return {Lighter(base, 0.24), Darker(base, 0.05), Darker(base, 0.36)}; }

Material PaperMat() { return {Hex(0xFFFFFF), Hex(0xE4EAF2), Hex(0x7A8AA2)}; }

Material SoftMat(Rgb base) {
  Material m = Mat(base);
  m.outlined = false;
  m.rim = false;
  return m;
}

Painter::Painter(cairo_t* cr, int sizePx) : cr_(cr), size_(sizePx) {
  unit_ = sizePx / 16.0;
  double outlinePx = sizePx <= 16 ? 1.0 : sizePx <= 32 ? 1.5 : 2.0;
  outline_ = outlinePx / unit_;
  cairo_scale(cr_, unit_, unit_);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

void Painter::MaskWith(cairo_pattern_t* mask, Rgb c, double alpha) const {
  cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha);
  cairo_mask(cr_, mask);
}

void Painter::Body(const Shape& s, const Material& m) const {
  if (s.Empty()) return;
  Pt tl, br;
  s.Extents(cr_, tl, br);
  PatternPtr full(s.Mask(cr_, 0));
  PatternPtr inner(s.Mask(cr_, m.outlined ? outline_ : 0));

  PatternPtr gradient(cairo_pattern_create_linear(0, tl.y, 0, br.y));
  cairo_pattern_add_color_stop_rgb(gradient.get(), 0, m.top.r, m.top.g, m.top.b);
  cairo_pattern_add_color_stop_rgb(gradient.get(), 1, m.bottom.r, m.bottom.g, m.bottom.b);
  cairo_set_source(cr_, gradient.get());
  cairo_mask(cr_, full.get());

  if (m.rim && !Small()) {
    // The inside minus the inside moved down by one pixel: a rim along the upper edges only.
    cairo_push_group_with_content(cr_, CAIRO_CONTENT_ALPHA);
    cairo_set_source_rgba(cr_, 0, 0, 0, 1);
    cairo_mask(cr_, inner.get());
    cairo_set_operator(cr_, CAIRO_OPERATOR_DEST_OUT);
    cairo_translate(cr_, 0, Px(size_ >= 48 ? 1.5 : 1.0));
    cairo_mask(cr_, inner.get());
    PatternPtr rim(cairo_pop_group(cr_));  // pop restores the matrix and operator
    MaskWith(rim.get(), {1, 1, 1}, 0.45);
  }
  if (m.outlined) {
    cairo_push_group_with_content(cr_, CAIRO_CONTENT_ALPHA);
    cairo_set_source_rgba(cr_, 0, 0, 0, 1);
    cairo_mask(cr_, full.get());
    cairo_set_operator(cr_, CAIRO_OPERATOR_DEST_OUT);
    cairo_mask(cr_, inner.get());
    PatternPtr ring(cairo_pop_group(cr_));
    MaskWith(ring.get(), m.outline, 1);
  }
}

void Painter::Flat(const Shape& s, Rgb c, double alpha) const {
  if (s.Empty()) return;
  PatternPtr mask(s.Mask(cr_, 0));
  MaskWith(mask.get(), c, alpha);
}

void Painter::Stroke(const std::function<void(cairo_t*)>& path, Rgb c, double width, double alpha,
                     cairo_line_cap_t cap) const {
  cairo_save(cr_);
  cairo_new_path(cr_);
  path(cr_);
  cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha);
  cairo_set_line_width(cr_, width);
  cairo_set_line_cap(cr_, cap);
  cairo_stroke(cr_);
  cairo_restore(cr_);
}

void Painter::Polyline(const std::vector<Pt>& points, Rgb c, double width, double alpha,
                       cairo_line_cap_t cap) const {
  Stroke([&](cairo_t* cr) { PolylinePath(cr, points); }, c, width, alpha, cap);
}

void Painter::Inside(const Shape& s, const std::function<void()>& draw, double inset) const {
  PatternPtr mask(s.Mask(cr_, inset));
  cairo_push_group(cr_);
  draw();
  cairo_set_operator(cr_, CAIRO_OPERATOR_DEST_IN);
  cairo_set_source_rgba(cr_, 0, 0, 0, 1);
  cairo_mask(cr_, mask.get());
  cairo_pop_group_to_source(cr_);
  cairo_paint(cr_);
}

}  // namespace assetgen
