// Pictures of controls for the link bar and the small lists: each shows the control family its
// page demonstrates, drawn for 16 px first (whole-unit edges, half-unit 1 px lines).
#include "tools/assetgen/glyphs.h"

namespace assetgen::glyph {
namespace {

using namespace palette;

void Line(const Painter& p, double x0, double y0, double x1, double y1, Rgb c, double alpha,
          double width = 1) {
  p.Polyline({{x0, y0}, {x1, y1}}, c, width, alpha);
}

// Lines that stand on the background rather than on paper: mid tones that read on light and
// dark backgrounds alike.
const Rgb kLineStrong = Hex(0x6F819D), kLineSoft = Hex(0x97A7BE);

Material Pointer() { return {Hex(0xFFFFFF), Hex(0xE8EEF6), Hex(0x253245), false, true}; }

void BoxWithSign(const Painter& p, bool plus) {
  p.Body(RoundRect(2, 2, 12, 12, 2), Material{Hex(0xFFFFFF), Hex(0xDCE5F0), Hex(0x6D7F99)});
  p.Flat(RoundRect(4.5, 7, 7, 2, 0.4), Blue);
  if (plus) p.Flat(RoundRect(7, 4.5, 2, 7, 0.4), Blue);
}

}  // namespace

void Button(const Painter& p) {
  p.Body(RoundRect(0.5, 2, 15, 9, 2.2), Blue);
  Line(p, 3.5, 6.5, 9, 6.5, {1, 1, 1}, 0.95);
  p.Body(Polygon({{8.5, 5.5},
                  {8.5, 14},
                  {10.4, 12.3},
                  {11.6, 14.9},
                  {13, 14.3},
                  {11.8, 11.8},
                  {14.3, 11.6}},
                 {0.1, 0.3, 0.2, 0.3, 0.3, 0.2, 0.3}),
         Pointer());
}

void OptionGroup(const Painter& p) {
  p.Body(RoundRect(1, 1, 7, 7, 1.4), Blue);
  p.Polyline({{2.7, 4.6}, {4.1, 6}, {6.4, 3.1}}, {1, 1, 1}, p.Small() ? 1.3 : 1.2, 1,
             CAIRO_LINE_CAP_ROUND);
  p.Body(Circle(4.5, 11.5, 3.5), Material{Hex(0xFFFFFF), Hex(0xDCE5F0), Hex(0x6D7F99)});
  p.Body(Circle(4.5, 11.5, 1.6), SoftMat(Blue));
  Line(p, 10, 4.5, 15, 4.5, kLineStrong, 1);
  Line(p, 10, 11.5, 15, 11.5, kLineStrong, 1);
}

void Tabs(const Painter& p) {
  p.Body(RoundRect4(7.5, 2, 5.5, 4, 1.2, 1.2, 0, 0),
         Material{Hex(0xE4EAF2), Hex(0xC9D3E1), Hex(0x7A8AA2)});
  p.Body(RoundRect(1, 5, 14, 10, 1.2), PaperMat());
  p.Body(RoundRect4(1, 1, 6.5, 5, 1.4, 1.4, 0, 0), Blue);
  p.Flat(RoundRect(1, 5, 14, 1, 0), Darker(Blue, 0.36));
  Line(p, 3.5, 8.5, 12.5, 8.5, Ink, 0.45);
  Line(p, 3.5, 10.5, 12.5, 10.5, Ink, 0.45);
  Line(p, 3.5, 12.5, 9.5, 12.5, Ink, 0.45);
}

void List(const Painter& p) {
  p.Body(RoundRect(1, 1, 14, 14, 1.6), PaperMat());
  Line(p, 3.5, 3.5, 12.5, 3.5, Ink, 0.5);
  p.Body(RoundRect(2, 5, 12, 5, 0.8), SoftMat(Blue));
  Line(p, 3.5, 7.5, 11.5, 7.5, {1, 1, 1}, 1);
  Line(p, 3.5, 11.5, 12.5, 11.5, Ink, 0.5);
  if (!p.Small()) Line(p, 3.5, 13.3, 10, 13.3, Ink, 0.5, 0.6);
}

void Edit(const Painter& p) {
  p.Body(RoundRect(0.5, 6, 13, 7, 1.2), PaperMat());
  Line(p, 2.5, 9.5, 6, 9.5, Ink, 0.6);
  Line(p, 7.5, 7.5, 7.5, 11.5, Blue, 1);
  // A pencil resting across the field's upper right corner, tip down-left.
  const Axis pencil({7.8, 8.7}, {8.8, 7.7});
  auto at = [&](double u, double v) { return pencil.At(u, v); };
  p.Body(pencil.Band(2.6, 8.4, 1.5, 0.2), Material{Hex(0xFFD060), Hex(0xF2A02A), Hex(0x9E6210)});
  p.Body(Polygon({at(8.4, -1.5), at(10.2, -1.5), at(10.2, 1.5), at(8.4, 1.5)}, {0, 0.9, 0.9, 0}),
         Pink);
  p.Body(Polygon({at(0, 0), at(2.6, -1.5), at(2.6, 1.5)}, 0.2),
         Material{Hex(0xF8E2C0), Hex(0xE8C692), Hex(0x9E6210)});
  p.Flat(Polygon({at(0, 0), at(1.1, -0.65), at(1.1, 0.65)}), Hex(0x2F3A4A));
}

void Tree(const Painter& p) {
  Rgb wire = Hex(0x7A8AA2);
  Line(p, 3.5, 5, 3.5, 12.5, wire, 1);
  Line(p, 3.5, 7.5, 8, 7.5, wire, 1);
  Line(p, 3.5, 12.5, 8, 12.5, wire, 1);
  p.Body(RoundRect(1, 1, 5, 4, 0.9), Hex(0xF4B43A));
  p.Body(RoundRect(8, 6, 7, 3, 0.8), Blue);
  p.Body(RoundRect(8, 11, 7, 3, 0.8), Green);
}

void RichList(const Painter& p) {
  p.Body(RoundRect(1, 1, 5.5, 5.5, 1.1), Blue);
  Line(p, 8, 2.5, 15, 2.5, kLineStrong, 1, p.Small() ? 1 : 1.3);
  Line(p, 8, 5, 13, 5, kLineSoft, 1);
  p.Body(RoundRect(1, 9, 5.5, 5.5, 1.1), Orange);
  Line(p, 8, 10.5, 15, 10.5, kLineStrong, 1, p.Small() ? 1 : 1.3);
  Line(p, 8, 13, 12, 13, kLineSoft, 1);
}

void Grid(const Painter& p) {
  p.Body(RoundRect(1, 1, 6, 6, 1.3), Blue);
  p.Body(RoundRect(9, 1, 6, 6, 1.3), Orange);
  p.Body(RoundRect(1, 9, 6, 6, 1.3), Green);
  p.Body(RoundRect(9, 9, 6, 6, 1.3), Purple);
}

void Calculator(const Painter& p) {
  p.Body(RoundRect(2, 0.5, 12, 15, 1.8), Hex(0x6A7B95));
  p.Body(RoundRect(3.5, 2, 9, 3.5, 0.5),
         Material{Hex(0xE9FFF3), Hex(0xBFE9D2), Hex(0x2E3A4B), false, true});
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 3; ++col) {
      Shape key(RoundRect(4 + col * 3, 7.5 + row * 3.5, 2, 2.5, 0.4));
      if (row == 1 && col == 2) p.Flat(key, Orange);
      else p.Flat(key, {1, 1, 1}, 0.85);
    }
}

void ButtonsBar(const Painter& p) {
  p.Body(RoundRect(1, 0.5, 14, 4, 1), Blue);
  p.Body(RoundRect(2, 5, 12, 6, 0.6), PaperMat());
  p.Flat(RoundRect(3.5, 6.5, 3, 3, 0.5), Orange);
  p.Flat(RoundRect(7.5, 6.5, 3, 3, 0.5), Green);
  p.Body(RoundRect(1, 11.5, 14, 4, 1), Sky);
  Line(p, 3, 2.5, 8, 2.5, {1, 1, 1}, 0.95);
  Line(p, 3, 13.5, 8, 13.5, {1, 1, 1}, 0.95);
}

void Collapse(const Painter& p) { BoxWithSign(p, false); }
void Expand(const Painter& p) { BoxWithSign(p, true); }

}  // namespace assetgen::glyph
