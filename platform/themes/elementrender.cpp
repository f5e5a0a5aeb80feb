#include "platform/themes/elementrender.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {
struct TBox {
  double L, T, R, B;
  double W() const { return R - L; }
  double H() const { return B - T; }
  bool Empty() const { return R - L <= 0 || B - T <= 0; }
};

void SetColor(cairo_t* cr, TStyleRGBA c) {
  cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
}

// A rectangle with the chosen corners rounded (radius clamped to half the shorter side).
void ShapePath(cairo_t* cr, const TBox& b, double radius, uint8_t corners) {
  double r = std::max(0.0, std::min(radius, std::min(b.W(), b.H()) / 2));
  auto rad = [&](uint8_t corner) { return (corners & corner) ? r : 0.0; };
  double tl = rad(kCornerTopLeft), tr = rad(kCornerTopRight), br = rad(kCornerBottomRight), bl = rad(kCornerBottomLeft);
  const double q = M_PI / 2;
  cairo_new_sub_path(cr);
  cairo_arc(cr, b.R - tr, b.T + tr, tr, -q, 0);
  cairo_arc(cr, b.R - br, b.B - br, br, 0, q);
  cairo_arc(cr, b.L + bl, b.B - bl, bl, q, 2 * q);
  cairo_arc(cr, b.L + tl, b.T + tl, tl, 2 * q, 3 * q);
  cairo_close_path(cr);
}

TBox Inset(const TBox& b, double by, uint8_t sides) {
  return {b.L + ((sides & kSideLeft) ? by : 0), b.T + ((sides & kSideTop) ? by : 0),
          b.R - ((sides & kSideRight) ? by : 0), b.B - ((sides & kSideBottom) ? by : 0)};
}

void SetPaint(cairo_t* cr, const TPaint& p, const TBox& over) {
  if (p.Kind == pkSolid || p.Stops.size() == 1) {
    SetColor(cr, p.Stops.front().Color);
    return;
  }
  cairo_pattern_t* g = p.Kind == pkVertical ? cairo_pattern_create_linear(0, over.T, 0, over.B)
                                            : cairo_pattern_create_linear(over.L, 0, over.R, 0);
  for (const TGradientStop& s : p.Stops)
    cairo_pattern_add_color_stop_rgba(g, s.Position, s.Color.R / 255.0, s.Color.G / 255.0, s.Color.B / 255.0,
                                      s.Color.A / 255.0);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

// The region between two shapes (a ring), in one colour.
void Ring(cairo_t* cr, const TBox& outer, double outerRadius, const TBox& inner, double innerRadius,
          uint8_t corners, TStyleRGBA color) {
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  ShapePath(cr, outer, outerRadius, corners);
  if (!inner.Empty()) ShapePath(cr, inner, innerRadius, corners);
  SetColor(cr, color);
  cairo_fill(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

// Nine-slice drawing: corners unscaled, edges stretched along their side, the centre both ways.
// Margins that do not fit the box shrink in proportion, so no band is ever drawn inverted.
void NineSlice(cairo_t* cr, const TStylePicture& pic, const TInsets& m, const TBox& box) {
  cairo_surface_t* src = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(pic.Pixels.data())), CAIRO_FORMAT_ARGB32,
      pic.Width, pic.Height, pic.Width * 4);
  double sx = 1, sy = 1;
  if (m.Left + m.Right > box.W() && m.Left + m.Right > 0) sx = box.W() / (m.Left + m.Right);
  if (m.Top + m.Bottom > box.H() && m.Top + m.Bottom > 0) sy = box.H() / (m.Top + m.Bottom);
  const double srcX[4] = {0, double(m.Left), double(pic.Width - m.Right), double(pic.Width)};
  const double srcY[4] = {0, double(m.Top), double(pic.Height - m.Bottom), double(pic.Height)};
  const double dstX[4] = {box.L, box.L + m.Left * sx, box.R - m.Right * sx, box.R};
  const double dstY[4] = {box.T, box.T + m.Top * sy, box.B - m.Bottom * sy, box.B};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) {
      double sw = srcX[col + 1] - srcX[col], sh = srcY[row + 1] - srcY[row];
      double dw = dstX[col + 1] - dstX[col], dh = dstY[row + 1] - dstY[row];
      if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) continue;
      cairo_save(cr);
      cairo_rectangle(cr, dstX[col], dstY[row], dw, dh);
      cairo_clip(cr);
      cairo_translate(cr, dstX[col], dstY[row]);
      cairo_scale(cr, dw / sw, dh / sh);
      cairo_set_source_surface(cr, src, -srcX[col], -srcY[row]);
      cairo_pattern_t* pat = cairo_get_source(cr);
      cairo_pattern_set_extend(pat, CAIRO_EXTEND_PAD);
      cairo_pattern_set_filter(pat, (dw == sw && dh == sh) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
      cairo_paint(cr);
      cairo_restore(cr);
    }
  cairo_surface_destroy(src);
}

void Glyph(cairo_t* cr, const TElementLook& l, const TBox& area) {
  if (l.Glyph == sgNone || !l.GlyphColor.Visible() || area.Empty()) return;
  double shortSide = std::min(area.W(), area.H());
  double cx = (area.L + area.R) / 2, cy = (area.T + area.B) / 2;
  SetColor(cr, l.GlyphColor);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  auto size = [&](double fraction) { return l.GlyphSize > 0 ? double(l.GlyphSize) : std::round(shortSide * fraction); };
  switch (l.Glyph) {
    case sgCheck: {
      double s = size(0.7), x = cx - s / 2, y = cy - s / 2;
      cairo_set_line_width(cr, std::max(1.6, s * 0.17));
      cairo_move_to(cr, x + s * 0.14, y + s * 0.54);
      cairo_line_to(cr, x + s * 0.40, y + s * 0.80);
      cairo_line_to(cr, x + s * 0.88, y + s * 0.22);
      cairo_stroke(cr);
      break;
    }
    case sgMixed: {
      double s = size(0.55), h = std::max(2.0, std::round(s * 0.3));
      cairo_rectangle(cr, std::round(cx - s / 2), std::round(cy - h / 2), std::round(s), h);
      cairo_fill(cr);
      break;
    }
    case sgDot: {
      double s = size(0.42);
      cairo_arc(cr, cx, cy, s / 2, 0, 2 * M_PI);
      cairo_fill(cr);
      break;
    }
    case sgArrowUp: case sgArrowDown: case sgArrowLeft: case sgArrowRight: {
      // A solid triangle as wide as the glyph size and half as deep, snapped to pixels.
      double s = std::round(size(0.45)), d = std::ceil(s / 2);
      double px = std::round(cx), py = std::round(cy);
      bool vertical = l.Glyph == sgArrowUp || l.Glyph == sgArrowDown;
      double sign = (l.Glyph == sgArrowDown || l.Glyph == sgArrowRight) ? 1 : -1;
      if (vertical) {
        double tip = py + sign * d / 2, base = py - sign * d / 2;
        cairo_move_to(cr, px - s / 2, base);
        cairo_line_to(cr, px + s / 2, base);
        cairo_line_to(cr, px, tip);
      } else {
        double tip = px + sign * d / 2, base = px - sign * d / 2;
        cairo_move_to(cr, base, py - s / 2);
        cairo_line_to(cr, base, py + s / 2);
        cairo_line_to(cr, tip, py);
      }
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    }
    case sgChevronUp: case sgChevronDown: case sgChevronLeft: case sgChevronRight: {
      double s = size(0.45), d = s / 2;
      double sign = (l.Glyph == sgChevronDown || l.Glyph == sgChevronRight) ? 1 : -1;
      cairo_set_line_width(cr, std::max(1.4, s * 0.16));
      if (l.Glyph == sgChevronUp || l.Glyph == sgChevronDown) {
        cairo_move_to(cr, cx - s / 2, cy - sign * d / 2);
        cairo_line_to(cr, cx, cy + sign * d / 2);
        cairo_line_to(cr, cx + s / 2, cy - sign * d / 2);
      } else {
        cairo_move_to(cr, cx - sign * d / 2, cy - s / 2);
        cairo_line_to(cr, cx + sign * d / 2, cy);
        cairo_line_to(cr, cx - sign * d / 2, cy + s / 2);
      }
      cairo_stroke(cr);
      break;
    }
    case sgGripHorz: case sgGripVert: {
      // Three short one-pixel lines across the thumb, two pixels apart.
      double s = size(0.5);
      bool horz = l.Glyph == sgGripHorz;  // a horizontal thumb: lines run vertically
      cairo_set_line_width(cr, 1);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
      for (int i = -1; i <= 1; ++i) {
        double at = std::floor(horz ? cx : cy) + i * 3 + 0.5;
        if (horz) { cairo_move_to(cr, at, cy - s / 2); cairo_line_to(cr, at, cy + s / 2); }
        else { cairo_move_to(cr, cx - s / 2, at); cairo_line_to(cr, cx + s / 2, at); }
      }
      cairo_stroke(cr);
      break;
    }
    case sgPlus: case sgMinus: {
      double s = size(0.5), t = std::max(1.0, std::round(s / 5));
      double px = std::round(cx - s / 2), py = std::round(cy - t / 2);
      cairo_rectangle(cr, px, py, std::round(s), t);
      if (l.Glyph == sgPlus) cairo_rectangle(cr, std::round(cx - t / 2), std::round(cy - s / 2), t, std::round(s));
      cairo_fill(cr);
      break;
    }
    case sgLineHorz:
      cairo_rectangle(cr, area.L, std::floor(cy), area.W(), 1);
      cairo_fill(cr);
      break;
    case sgLineVert:
      cairo_rectangle(cr, std::floor(cx), area.T, 1, area.H());
      cairo_fill(cr);
      break;
    case sgNone:
      break;
  }
}
}  // namespace

void RenderElementLook(const TElementLook& l, const std::vector<TStylePicture>& pictures,
                       uint32_t* pixels, int width, int height, int stride) {
  if (width <= 0 || height <= 0) return;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                                                 CAIRO_FORMAT_ARGB32, width, height, stride * 4);
  cairo_t* cr = cairo_create(surface);
  TBox box = {double(l.Margin.Left), double(l.Margin.Top), double(width - l.Margin.Right),
              double(height - l.Margin.Bottom)};
  if (!box.Empty()) {
    if (l.Shadow.Visible() && box.H() > 2) {
      TBox below = {box.L, box.T + 1, box.R, box.B};
      ShapePath(cr, below, l.Radius, l.Corners);
      SetColor(cr, l.Shadow);
      cairo_fill(cr);
      box.B -= 1;
    }
    const TStylePicture* pic = l.Picture >= 0 && static_cast<size_t>(l.Picture) < pictures.size()
                                   ? &pictures[static_cast<size_t>(l.Picture)] : nullptr;
    double bw = l.Border.Visible() ? l.BorderWidth : 0;
    TBox inner = Inset(box, bw, l.Sides);
    double innerRadius = std::max(0.0, l.Radius - bw);
    if (pic) {
      NineSlice(cr, *pic, l.PictureMargins, box);
    } else {
      if (l.Fill.Kind != pkNone && !inner.Empty()) {
        ShapePath(cr, inner, innerRadius, l.Corners);
        SetPaint(cr, l.Fill, box);
        cairo_fill(cr);
      }
      if (bw > 0 && l.Sides != 0) Ring(cr, box, l.Radius, inner, innerRadius, l.Corners, l.Border);
    }
    if (l.Inner.Visible() && !inner.Empty())
      Ring(cr, inner, innerRadius, Inset(inner, 1, l.Sides), std::max(0.0, innerRadius - 1), l.Corners, l.Inner);
    Glyph(cr, l, inner.Empty() ? box : inner);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}
