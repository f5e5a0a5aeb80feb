// Pictures of things: documents, folders, media, communication and tools. Coordinates are on the
// 16-unit grid of Painter; edges meant to be crisp at 16 px sit on whole units, 1-unit lines on
// half units.
#include <cmath>

#include "tools/assetgen/glyphs.h"

namespace assetgen::glyph {
namespace {

using namespace palette;

void TextLine(const Painter& p, double x0, double x1, double y, Rgb c, double alpha,
              double width = 1) {
  p.Polyline({{x0, y}, {x1, y}}, c, width, alpha);
}

}  // namespace

void Document(const Painter& p) {
  Shape page(Polygon({{3, 1}, {9.5, 1}, {13, 4.5}, {13, 15}, {3, 15}}, {1, 0.2, 0.2, 1, 1}));
  p.Body(page, PaperMat());
  p.Body(Polygon({{9.5, 1}, {9.5, 4.5}, {13, 4.5}}, {0.1, 0.6, 0.1}),
         Material{Hex(0xE9EEF5), Hex(0xC3CEDD), Hex(0x7A8AA2), false, true});
  TextLine(p, 5, 9, 4.5, Blue, 0.9, 1.2);
  TextLine(p, 5, 11, 7.5, Ink, 0.55);
  TextLine(p, 5, 11, 9.5, Ink, 0.55);
  TextLine(p, 5, 9.5, 11.5, Ink, 0.55);
}

void Folder(const Painter& p) {
  Rgb back = Hex(0xE39A2A), front = Hex(0xF8C652);
  p.Body(
      Polygon({{1, 2.5}, {6, 2.5}, {7.5, 4}, {15, 4}, {15, 14}, {1, 14}}, {1, 0.6, 0.6, 1, 1, 1}),
      back);
  if (!p.Small()) p.Body(RoundRect(2.5, 5, 11, 4, 0.4), PaperMat());
  p.Body(Polygon({{1, 6.5}, {15, 6.5}, {15, 14}, {1, 14}}, 1), front);
}

void Picture(const Painter& p) {
  Shape frame(RoundRect(1, 2, 14, 12, 1.2));
  p.Body(frame, PaperMat());
  Shape view(RoundRect(3, 4, 10, 8, 0.4));
  p.Body(view, Material{Hex(0x7CC6F7), Hex(0xD6EFFF), Hex(0x5E8FC0), false, false});
  p.Inside(view, [&] {
    p.Body(Circle(10.5, 6.5, 1.4), SoftMat(Amber));
    p.Body(Polygon({{5, 12.5}, {9.5, 6.8}, {14.5, 12.5}}, 0.6), Mat(Hex(0x2FA06B)));
    p.Body(Polygon({{1.5, 12.5}, {5.5, 8}, {10, 12.5}}, 0.6), Mat(Green));
  });
}

void Music(const Painter& p) {
  Shape note;
  note.Add(Ellipse(4.7, 12.3, 2.35, 1.75, -22))
      .Add(Ellipse(11.7, 10.8, 2.35, 1.75, -22))
      .Add(RoundRect(5.8, 3.8, 1.3, 8.4, 0.3))
      .Add(RoundRect(12.8, 2.3, 1.3, 8.4, 0.3))
      .Add(Polygon({{5.8, 3.8}, {14.1, 1.3}, {14.1, 4.3}, {5.8, 6.8}}, 0.3));
  p.Body(note, Material{Hex(0xEE6FB4), Hex(0x8A4FE6), Darker(Purple, 0.38)});
}

void Gear(const Painter& p) {
  std::vector<Pt> pts;
  const double outer = 7, root = 5.4;
  for (int i = 0; i < 8; ++i) {
    double a = i * 45.0;
    for (auto [r, da] : {std::pair{root, -15.0}, {outer, -8.5}, {outer, 8.5}, {root, 15.0}}) {
      double ang = (a + da) * kPi / 180;
      pts.push_back({8 + r * std::cos(ang), 8 + r * std::sin(ang)});
    }
  }
  Shape gear(Polygon(pts, 0.45));
  gear.Cut(Circle(8, 8, 2.3));
  p.Body(gear, Hex(0x6F86A6));
  Shape hub(Circle(8, 8, 3.7));
  hub.Cut(Circle(8, 8, 2.3));
  p.Body(hub, SoftMat(Hex(0x9CB0CB)));
}

void Mail(const Painter& p) {
  Shape body(RoundRect(1, 3, 14, 10, 1.2));
  p.Body(body, Blue);
  p.Inside(
      body,
      [&] {
        Rgb line = Darker(Blue, 0.3);
        double width = p.Px(p.Small() ? 1 : 1.5);
        p.Polyline({{1.5, 12.8}, {6.6, 8}}, line, width, 0.7, CAIRO_LINE_CAP_ROUND);
        p.Polyline({{14.5, 12.8}, {9.4, 8}}, line, width, 0.7, CAIRO_LINE_CAP_ROUND);
      },
      p.Outline());
  p.Body(Polygon({{1.4, 3.4}, {14.6, 3.4}, {8, 9.2}}, {0.3, 0.3, 0.9}),
         Material{Hex(0xFFFFFF), Hex(0xCFE4FB), Darker(Blue, 0.36), false, true});
}

void Calendar(const Painter& p) {
  Shape page(RoundRect(1.5, 2.5, 13, 12, 1.5));
  p.Body(page, PaperMat());
  p.Inside(
      page, [&] { p.Body(RoundRect(0, 0, 16, 6.5, 0), SoftMat(Red)); }, p.Outline());
  p.Body(Capsule({5, 1.2}, {5, 4.2}, 0.85), Hex(0x8A99AE));
  p.Body(Capsule({11, 1.2}, {11, 4.2}, 0.85), Hex(0x8A99AE));
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 3; ++col) {
      bool today = row == 1 && col == 1;
      Shape day(RoundRect(3.5 + col * 3.2, 8 + row * 3, 2.2, 2, 0.4));
      if (today) p.Body(day, SoftMat(Blue));
      else p.Flat(day, Ink, 0.3);
    }
}

void Chart(const Painter& p) {
  p.Body(RoundRect(1, 1.5, 14, 13, 1.5), PaperMat());
  p.Body(RoundRect(3.5, 8.5, 2.5, 4.5, 0.5), Blue);
  p.Body(RoundRect(6.75, 5.5, 2.5, 7.5, 0.5), Green);
  p.Body(RoundRect(10, 3.5, 2.5, 9.5, 0.5), Orange);
}

void Globe(const Painter& p) {
  Shape sphere(Circle(8, 8, 7));
  p.Body(sphere, Material{Hex(0x5FD0F4), Hex(0x1F73D2), Hex(0x164F93)});
  p.Inside(
      sphere,
      [&] {
        Rgb land = Hex(0x49C46E);
        p.Body(Polygon({{2.5, 5}, {6, 3.2}, {8.2, 5.2}, {7, 8.4}, {4.8, 9.6}, {2.2, 8.6}}, 1.2),
               SoftMat(land));
        p.Body(Polygon({{9, 9.2}, {12.6, 8.2}, {14, 11}, {11.4, 14.2}, {9.2, 12.6}}, 1.2),
               SoftMat(land));
        p.Stroke(
            [](cairo_t* cr) {
              cairo_save(cr);
              cairo_translate(cr, 8, 8);
              cairo_scale(cr, 3.2, 7);
              cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
              cairo_restore(cr);
              cairo_move_to(cr, 0, 8);
              cairo_line_to(cr, 16, 8);
            },
            {1, 1, 1}, p.Px(p.Small() ? 1 : 1.2), 0.45);
      },
      p.Outline());
  p.Flat(Ellipse(5.6, 4.8, 3, 1.7, -35), {1, 1, 1}, 0.22);
}

void Users(const Painter& p) {
  Rgb back = Teal, front = Blue;
  p.Body(Circle(11.2, 4.6, 2.4), back);
  p.Body(RoundRect4(7.2, 8.2, 8, 6, 3.4, 3.4, 0.8, 0.8), back);
  p.Body(Circle(6, 5.4, 2.8), front);
  p.Body(RoundRect4(1, 9.4, 10, 5.6, 4, 4, 0.9, 0.9), front);
}

void Chat(const Painter& p) {
  Shape back(RoundRect(1, 1, 10, 7.5, 2.2));
  back.Add(Polygon({{3, 7}, {3, 11}, {6.5, 7.5}}, 0.3));
  p.Body(back, Blue);
  Shape front(RoundRect(5, 5.5, 10, 7.5, 2.2));
  front.Add(Polygon({{13, 12}, {13, 15}, {9.5, 12.5}}, 0.3));
  p.Body(front, Green);
  for (int i = 0; i < 3; ++i) p.Flat(Circle(7.6 + i * 2.4, 9.25, 0.85), {1, 1, 1}, 0.95);
}

void Cloud(const Painter& p) {
  Shape cloud;
  cloud.Add(Circle(5.4, 9.2, 3.2))
      .Add(Circle(9.4, 7.2, 4.3))
      .Add(Circle(12.3, 10.2, 2.7))
      .Add(RoundRect(1.8, 9, 13.2, 4.9, 2.4));
  p.Body(cloud, Material{Hex(0xFFFFFF), Hex(0xC7E2FA), Hex(0x4A8ED6)});
}

void Search(const Painter& p) {
  p.Body(Capsule({10.2, 10.2}, {14.2, 14.2}, p.Small() ? 1.5 : 1.45), Hex(0x60708A));
  Shape glass(Circle(6.5, 6.5, 4));
  p.Flat(glass, Hex(0xBFE3FF), 0.75);
  p.Flat(Ellipse(5.3, 5, 2, 1.1, -40), {1, 1, 1}, 0.7);
  Shape ring(Circle(6.5, 6.5, 5.5));
  ring.Cut(Circle(6.5, 6.5, 4));
  p.Body(ring, Blue);
}

void Star(const Painter& p) {
  p.Body(StarPolygon(8, 8.5, 7.4, 3.2, 5, 0.9),
         Material{Hex(0xFFD76A), Hex(0xF29A22), Hex(0xB86A10)});
}

void Trash(const Painter& p) {
  Rgb metal = Hex(0x7F92AD);
  Shape lid(RoundRect(1.5, 3, 13, 2.4, 0.7));
  lid.Add(RoundRect(5.5, 1, 5, 3, 1.1)).Cut(RoundRect(7, 2.2, 2, 1.2, 0.3));
  p.Body(Polygon({{2.8, 5.8}, {13.2, 5.8}, {12.2, 15}, {3.8, 15}}, {0.3, 0.3, 1, 1}), metal);
  for (double x : {5.8, 8.0, 10.2})
    p.Polyline({{x, 8}, {x, 12.8}}, {1, 1, 1}, p.Px(p.Small() ? 1 : 1.6), 0.55,
               CAIRO_LINE_CAP_ROUND);
  p.Body(lid, Hex(0x93A5BE));
}

void Tools(const Painter& p) {
  // A wrench from lower left to upper right under a screwdriver the other way; they cross at
  // the centre.
  Axis wrench({2.6, 13.4}, {11.2, 4.8});
  Shape w(Capsule(wrench.At(0, 0), wrench.At(9.2, 0), 1.25));
  Pt head = wrench.At(10.6, 0);
  w.Add(Circle(head.x, head.y, 3.1));
  w.Cut(wrench.Band(10.9, 16, 1.15, 0.3));
  p.Body(w, Hex(0x9BAEC7));

  Axis driver({13.6, 13.6}, {2.6, 2.6});
  Rgb steel = Hex(0xC3CFDF);
  p.Body(Capsule(driver.At(5, 0), driver.At(13.4, 0), 0.65), steel);
  Shape handle(Polygon(
      {driver.At(0, -1.9), driver.At(4.8, -1.5), driver.At(4.8, 1.5), driver.At(0, 1.9)}, 1.1));
  p.Body(handle, Red);
  p.Body(driver.Band(4.5, 5.7, 1.05, 0.3), steel);
  p.Inside(
      handle,
      [&] {
        for (double u : {1.6, 3.0})
          p.Polyline({driver.At(u, -2), driver.At(u, 2)}, Darker(Red, 0.3), p.Px(2), 0.6,
                     CAIRO_LINE_CAP_ROUND);
      },
      p.Outline());
}

void Lock(const Painter& p) {
  Shape shackle(Circle(8, 6.4, 4.6));
  shackle.Add(RoundRect(3.4, 6.4, 9.2, 3, 0))
      .Cut(Circle(8, 6.4, 2.8))
      .Cut(RoundRect(5.2, 6.4, 5.6, 4, 0));
  p.Body(shackle, Hex(0xA3B3C8));
  p.Body(RoundRect(2.2, 7.6, 11.6, 7.6, 1.8),
         Material{Hex(0xFFD36B), Hex(0xEE9F26), Hex(0xA86A12)});
  Shape hole(Circle(8, 10.6, 1.35));
  hole.Add(Polygon({{7.3, 11}, {8.7, 11}, {9.1, 13.4}, {6.9, 13.4}}, 0.3));
  p.Flat(hole, Hex(0x6B430C), 0.9);
}

void Wand(const Painter& p) {
  Axis stick({2.2, 13.8}, {10.6, 5.4});
  p.Body(Capsule(stick.At(0, 0), stick.At(11.9, 0), 1.15), Hex(0x6B5BD8));
  p.Body(Capsule(stick.At(9.6, 0), stick.At(11.9, 0), 1.15), Paper);
  p.Body(StarPolygon(12.4, 3.6, 3.4, 1.05, 4, 0.25),
         Material{Hex(0xFFE07A), Hex(0xF4A62A), Hex(0xB8700F)});
  p.Body(StarPolygon(5.6, 3.8, 2.0, 0.6, 4, 0.15),
         Material{Hex(0xFFE9A8), Hex(0xF6BE4A), Hex(0xB8700F)});
  p.Body(StarPolygon(13, 10.8, 1.8, 0.55, 4, 0.15),
         Material{Hex(0xB9E4FF), Hex(0x5BB2F0), Hex(0x2A6FB0)});
  p.Flat(Circle(9, 1.8, 0.6), Amber);
  p.Flat(Circle(8.8, 7.8, 0.5), Sky);
}

void Home(const Painter& p) {
  p.Body(RoundRect(10.6, 2, 2.2, 4.5, 0.3), Hex(0xB55B3C));
  p.Body(RoundRect(3, 7, 10, 8, 0.8), Material{Hex(0xFFFFFF), Hex(0xF0E4D2), Hex(0x9A7B5C)});
  p.Body(RoundRect4(6.5, 9.5, 3, 5.5, 1.4, 1.4, 0.1, 0.1), Blue);
  p.Body(Polygon({{0.6, 8.2}, {8, 1.3}, {15.4, 8.2}, {14, 9.6}, {8, 4}, {2, 9.6}}, 0.6),
         Material{Hex(0xF8734E), Hex(0xD9432C), Hex(0x8E2416)});
}

void Palette(const Painter& p) {
  struct Dot {
    double x, y;
    Rgb c;
  };
  const Material wood{Hex(0xFBE7C2), Hex(0xE5BE83), Hex(0x9A7142)};
  if (p.Small()) {
    // Four large dots on whole pixels: five would blur into one another at 16 px.
    Shape board(Ellipse(8, 8, 7.5, 6.8, -12));
    board.Cut(Circle(13, 12.5, 2.5));
    p.Body(board, wood);
    for (Dot d : {Dot{4.5, 8.5, Red}, Dot{5.5, 4.5, Amber}, Dot{9.5, 3.5, Green}, Dot{12, 7, Blue}})
      p.Body(Circle(d.x, d.y, 1.5), SoftMat(d.c));
    return;
  }
  Shape board(Ellipse(8, 8.4, 7, 6.4, -12));
  board.Cut(Circle(12.4, 12.4, 2.3)).Cut(Circle(9.9, 10.9, 1.15));
  p.Body(board, wood);
  for (Dot d : {Dot{4.4, 9.2, Red}, Dot{4.9, 5.6, Amber}, Dot{8.2, 3.9, Green},
                Dot{11.6, 5.2, Blue}, Dot{12.2, 8.6, Purple}})
    p.Body(Circle(d.x, d.y, 1.45), d.c);
}

void Brush(const Painter& p) {
  Axis axis({14.2, 1.8}, {1.4, 14.6});
  p.Body(Capsule(axis.At(0.4, 0), axis.At(6.6, 0), 1.2), Hex(0xC9874A));
  p.Body(axis.Band(6.4, 9.4, 1.6, 0.3), Hex(0x9AABC2));
  Primitive tip = Polygon({axis.At(9.2, -1.9), axis.At(9.2, 1.9), axis.At(12.2, 1.6),
                           axis.At(14.8, 0.2), axis.At(14.2, -1.2), axis.At(12.2, -1.9)},
                          {0.3, 0.3, 1.5, 0.8, 1, 1.2});
  p.Body(tip, Blue);
}

void Info(const Painter& p) {
  p.Body(Circle(8, 8, 7), Blue);
  Shape i(Circle(8, 4.5, 1.3));
  i.Add(RoundRect(7, 6.6, 2, 6, 0.5));
  p.Flat(i, {1, 1, 1}, 1);
}

void InfoPressed(const Painter& p) {
  Rgb pressed = Darker(Blue, 0.22);
  p.Body(Circle(8, 8, 7),
         Material{Darker(pressed, 0.1), Lighter(pressed, 0.12), Darker(pressed, 0.4), false, true});
  Shape i(Circle(8, 4.5, 1.3));
  i.Add(RoundRect(7, 6.6, 2, 6, 0.5));
  p.Flat(i, Hex(0xDCE9FB), 1);
}

}  // namespace assetgen::glyph
