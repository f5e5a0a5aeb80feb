#pragma once
// Shapes of the glyphs: unions of simple primitives minus holes, each able to shrink or grow by a
// distance. Shrinking is what gives every body its inner outline (the shape minus the shape shrunk
// by the outline width) and its top highlight, without the seams that stroking overlapping
// sub-paths would leave inside a union.
#include <cairo.h>

#include <functional>
#include <vector>

namespace assetgen {

constexpr double kPi = 3.14159265358979323846;

struct Pt {
  double x = 0, y = 0;
};

// Adds one closed sub-path to the current path, shrunk by `inset` (grown when negative). A
// primitive that shrinks to nothing adds nothing.
using Primitive = std::function<void(cairo_t*, double inset)>;

class Shape {
public:
  Shape() = default;
  Shape(Primitive p) { Add(std::move(p)); }  // NOLINT: a primitive is a shape of one part

  Shape& Add(Primitive p);
  Shape& Cut(Primitive p);  // a hole through every part added before or after

  // An alpha pattern of the shape shrunk by `inset`, in the current user space. The caller
  // destroys it.
  cairo_pattern_t* Mask(cairo_t* cr, double inset = 0) const;
  // Bounding box of the parts (holes ignored) in user space: top-left and bottom-right.
  void Extents(cairo_t* cr, Pt& topLeft, Pt& bottomRight) const;
  bool Empty() const { return adds_.empty(); }

private:
  std::vector<Primitive> adds_, cuts_;
};

Primitive RoundRect(double x, double y, double w, double h, double r);
// A rectangle with its own radius at each corner: top-left, top-right, bottom-right, bottom-left.
Primitive RoundRect4(double x, double y, double w, double h, double tl, double tr, double br,
                     double bl);
Primitive Circle(double cx, double cy, double r);
Primitive Ellipse(double cx, double cy, double rx, double ry, double angleDeg = 0);
// A bar from a to b with round ends of radius r.
Primitive Capsule(Pt a, Pt b, double r);
// A simple polygon in either winding; corners are rounded over `round` along each edge (a
// quadratic blend, limited to half of the shorter edge).
Primitive Polygon(std::vector<Pt> points, double round = 0);
Primitive Polygon(std::vector<Pt> points, std::vector<double> round);
// A regular star of `points` tips.
Primitive StarPolygon(double cx, double cy, double outer, double inner, int points,
                      double round = 0, double rotateDeg = 0);

// A frame along a bar that runs from `from` toward `to`: At(u, v) is u along the bar and v
// across it (to its right on screen). Tools, pens and brushes are laid out in it.
class Axis {
public:
  Axis(Pt from, Pt to);
  Pt At(double u, double v) const;
  // A rectangle from u0 to u1 along the axis, half-width w across it.
  Primitive Band(double u0, double u1, double w, double round = 0) const;

private:
  Pt from_, dir_, across_;
};

// Plain paths for strokes.
void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void PolylinePath(cairo_t* cr, const std::vector<Pt>& points);

// Rotates p about c by deg degrees (y down, so positive turns clockwise on screen).
Pt Rotate(Pt p, Pt c, double deg);

}  // namespace assetgen
