#include "tools/assetgen/shape.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

double SignedArea(const std::vector<Pt>& p) {
  double a = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const Pt& u = p[i];
    const Pt& v = p[(i + 1) % p.size()];
    a += u.x * v.y - v.x * u.y;
  }
  return a / 2;
}

// Moves every edge of a polygon wound with positive area (clockwise on a y-down screen) inward
// by d; each vertex goes to the meeting point of its two moved edges, limited for very sharp
// tips so they shorten instead of shooting out.
std::vector<Pt> OffsetPolygon(const std::vector<Pt>& p, double d) {
  const size_t n = p.size();
  std::vector<Pt> out(n);
  for (size_t i = 0; i < n; ++i) {
    const Pt& prev = p[(i + n - 1) % n];
    const Pt& cur = p[i];
    const Pt& next = p[(i + 1) % n];
    auto inward = [](Pt a, Pt b) {
      double dx = b.x - a.x, dy = b.y - a.y;
      double len = std::hypot(dx, dy);
      if (len == 0) return Pt{0, 0};
      return Pt{-dy / len, dx / len};
    };
    Pt n1 = inward(prev, cur), n2 = inward(cur, next);
    double k = 1 + n1.x * n2.x + n1.y * n2.y;
    k = std::max(k, 0.25);  // miter limit of about 2.8
    out[i] = {cur.x + d * (n1.x + n2.x) / k, cur.y + d * (n1.y + n2.y) / k};
  }
  return out;
}

void RoundedPolygonPath(cairo_t* cr, const std::vector<Pt>& p, const std::vector<double>& round) {
  const size_t n = p.size();
  auto lerp = [](Pt a, Pt b, double t) { return Pt{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; };
  for (size_t i = 0; i < n; ++i) {
    const Pt& prev = p[(i + n - 1) % n];
    const Pt& cur = p[i];
    const Pt& next = p[(i + 1) % n];
    double r = round[i];
    double lp = std::hypot(cur.x - prev.x, cur.y - prev.y);
    double ln = std::hypot(next.x - cur.x, next.y - cur.y);
    r = std::min({r, lp / 2, ln / 2});
    if (r <= 1e-6 || lp == 0 || ln == 0) {
      if (i == 0) cairo_move_to(cr, cur.x, cur.y);
      else cairo_line_to(cr, cur.x, cur.y);
      continue;
    }
    Pt a = lerp(cur, prev, r / lp), b = lerp(cur, next, r / ln);
    if (i == 0) cairo_move_to(cr, a.x, a.y);
    else cairo_line_to(cr, a.x, a.y);
    Pt c1 = lerp(a, cur, 2.0 / 3), c2 = lerp(b, cur, 2.0 / 3);
    cairo_curve_to(cr, c1.x, c1.y, c2.x, c2.y, b.x, b.y);
  }
  cairo_close_path(cr);
}

}  // namespace

Shape& Shape::Add(Primitive p) {
  adds_.push_back(std::move(p));
  return *this;
}

Shape& Shape::Cut(Primitive p) {
  cuts_.push_back(std::move(p));
  return *this;
}

cairo_pattern_t* Shape::Mask(cairo_t* cr, double inset) const {
  cairo_save(cr);
  cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  // Each part is filled on its own, so the union never depends on the winding of its parts.
  for (const Primitive& add : adds_) {
    cairo_new_path(cr);
    add(cr, inset);
    cairo_fill(cr);
  }
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  for (const Primitive& cut : cuts_) {
    cairo_new_path(cr);
    cut(cr, -inset);
    cairo_fill(cr);
  }
  cairo_pattern_t* mask = cairo_pop_group(cr);
  cairo_restore(cr);
  return mask;
}

void Shape::Extents(cairo_t* cr, Pt& topLeft, Pt& bottomRight) const {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const Primitive& add : adds_) {
    cairo_new_path(cr);
    add(cr, 0);
    double a, b, c, d;
    cairo_path_extents(cr, &a, &b, &c, &d);
    if (c <= a && d <= b) continue;
    x0 = std::min(x0, a), y0 = std::min(y0, b), x1 = std::max(x1, c), y1 = std::max(y1, d);
  }
  cairo_new_path(cr);
  if (x1 < x0) x0 = y0 = x1 = y1 = 0;
  topLeft = {x0, y0};
  bottomRight = {x1, y1};
}

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::max(0.0, std::min({r, w / 2, h / 2}));
  if (r == 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void PolylinePath(cairo_t* cr, const std::vector<Pt>& points) {
  for (size_t i = 0; i < points.size(); ++i) {
    if (i == 0) cairo_move_to(cr, points[i].x, points[i].y);
    else cairo_line_to(cr, points[i].x, points[i].y);
  }
}

Primitive RoundRect(double x, double y, double w, double h, double r) {
  return [=](cairo_t* cr, double d) {
    if (w - 2 * d <= 0 || h - 2 * d <= 0) return;
    RoundRectPath(cr, x + d, y + d, w - 2 * d, h - 2 * d, r - d);
  };
}

Primitive RoundRect4(double x, double y, double w, double h, double tl, double tr, double br,
                     double bl) {
  return [=](cairo_t* cr, double d) {
    double ww = w - 2 * d, hh = h - 2 * d;
    if (ww <= 0 || hh <= 0) return;
    double x0 = x + d, y0 = y + d, lim = std::min(ww, hh) / 2;
    auto r = [&](double v) { return std::clamp(v - d, 0.0, lim); };
    double a = r(tl), b = r(tr), c = r(br), e = r(bl);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x0 + ww - b, y0 + b, b, -kPi / 2, 0);
    cairo_arc(cr, x0 + ww - c, y0 + hh - c, c, 0, kPi / 2);
    cairo_arc(cr, x0 + e, y0 + hh - e, e, kPi / 2, kPi);
    cairo_arc(cr, x0 + a, y0 + a, a, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
  };
}

Primitive Circle(double cx, double cy, double r) {
  return [=](cairo_t* cr, double d) {
    if (r - d <= 0) return;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r - d, 0, 2 * kPi);
    cairo_close_path(cr);
  };
}

Primitive Ellipse(double cx, double cy, double rx, double ry, double angleDeg) {
  return [=](cairo_t* cr, double d) {
    if (rx - d <= 0 || ry - d <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angleDeg * kPi / 180);
    cairo_scale(cr, rx - d, ry - d);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
  };
}

Primitive Capsule(Pt a, Pt b, double r) {
  return [=](cairo_t* cr, double d) {
    double rr = r - d;
    if (rr <= 0) return;
    double angle = std::atan2(b.y - a.y, b.x - a.x);
    cairo_new_sub_path(cr);
    cairo_arc(cr, b.x, b.y, rr, angle - kPi / 2, angle + kPi / 2);
    cairo_arc(cr, a.x, a.y, rr, angle + kPi / 2, angle + 3 * kPi / 2);
    cairo_close_path(cr);
  };
}

Primitive Polygon(std::vector<Pt> points, std::vector<double> round) {
  round.resize(points.size(), round.empty() ? 0 : round.back());
  if (SignedArea(points) < 0) {
    std::reverse(points.begin(), points.end());
    std::reverse(round.begin(), round.end());
  }
  return [points, round](cairo_t* cr, double d) {
    if (points.size() < 3) return;
    std::vector<Pt> p = d == 0 ? points : OffsetPolygon(points, d);
    if (d > 0 && SignedArea(p) <= 0) return;  // shrunk past nothing
    std::vector<double> r(round);
    for (double& v : r) v = std::max(0.0, v - d * 0.5);
    cairo_new_sub_path(cr);
    RoundedPolygonPath(cr, p, r);
  };
}

Primitive Polygon(std::vector<Pt> points, double round) {
  std::vector<double> r(points.size(), round);
  return Polygon(std::move(points), std::move(r));
}

Primitive StarPolygon(double cx, double cy, double outer, double inner, int points, double round,
                      double rotateDeg) {
  std::vector<Pt> p;
  std::vector<double> r;
  for (int i = 0; i < points * 2; ++i) {
    double a = (rotateDeg - 90 + i * 180.0 / points) * kPi / 180;
    double rad = i % 2 == 0 ? outer : inner;
    p.push_back({cx + rad * std::cos(a), cy + rad * std::sin(a)});
    r.push_back(i % 2 == 0 ? round : round * 0.5);
  }
  return Polygon(std::move(p), std::move(r));
}

Axis::Axis(Pt from, Pt to) : from_(from) {
  double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
  dir_ = len > 0 ? Pt{dx / len, dy / len} : Pt{1, 0};
  across_ = {-dir_.y, dir_.x};
}

Pt Axis::At(double u, double v) const {
  return {from_.x + dir_.x * u + across_.x * v, from_.y + dir_.y * u + across_.y * v};
}

Primitive Axis::Band(double u0, double u1, double w, double round) const {
  return Polygon({At(u0, -w), At(u1, -w), At(u1, w), At(u0, w)}, round);
}

Pt Rotate(Pt p, Pt c, double deg) {
  double a = deg * kPi / 180, s = std::sin(a), co = std::cos(a);
  double dx = p.x - c.x, dy = p.y - c.y;
  return {c.x + dx * co - dy * s, c.y + dx * s + dy * co};
}

}  // namespace assetgen
