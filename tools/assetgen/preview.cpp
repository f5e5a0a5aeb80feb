#include "tools/assetgen/preview.h"

#include <algorithm>
#include <string>

#include "tools/assetgen/light.h"

namespace assetgen {
namespace {

const Rgb kLight = Hex(0xF3F5F8), kDark = Hex(0x23272E), kNavy = palette::HeaderNavy;
const Rgb kFace = Hex(0xF0F0F0);
constexpr int kWidth = 1240, kPad = 16;

void Fill(cairo_t* cr, double x, double y, double w, double h, Rgb c) {
  SetRgba(cr, c, 1);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void Label(cairo_t* cr, double x, double y, const std::string& text, Rgb c, double size = 12) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  SetRgba(cr, c, 1);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}

// Paints part of a surface scaled, pixel for pixel when enlarging.
void Blit(cairo_t* cr, cairo_surface_t* src, double sx, double sy, double sw, double sh, double x,
          double y, double scale) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, sw * scale, sh * scale);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, src, -sx, -sy);
  cairo_pattern_set_filter(cairo_get_source(cr),
                           scale > 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

void Tile(cairo_t* cr, cairo_surface_t* tile, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_set_source_surface(cr, tile, 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
}

int Scale(const ImageListDef& l) { return l.size <= 16 ? 4 : 2; }
int EnlargedCell(const ImageListDef& l) { return l.size * Scale(l) + 6; }
int EnlargedRows(const ImageListDef& l) {
  int perRow = (kWidth - 2 * kPad - 6) / EnlargedCell(l);
  return (static_cast<int>(l.glyphs.size()) + perRow - 1) / perRow;
}
int EnlargedHeight(const ImageListDef& l) { return EnlargedRows(l) * EnlargedCell(l) + 6; }

int ListBlockHeight(const ImageListDef& l) {
  return 24 + 2 * (l.size + 24) + 2 * EnlargedHeight(l);
}

int DrawList(cairo_t* cr, const ImageListDef& l, cairo_surface_t* strip, int top) {
  int n = static_cast<int>(l.glyphs.size());
  Label(cr, kPad, top + 16,
        std::string(l.component) + "  (" + std::to_string(l.size) + " px, " + std::to_string(n) +
            " glyphs)",
        {0.1, 0.1, 0.1}, 14);
  int y = top + 24;
  int step = std::max(l.size + 16, 64);
  for (Rgb bg : {kLight, kNavy}) {
    Fill(cr, kPad, y, kWidth - 2 * kPad, l.size + 24, bg);
    for (int i = 0; i < n; ++i) {
      Blit(cr, strip, i * l.size, 0, l.size, l.size, kPad + 8 + i * step, y + 4, 1);
      Label(cr, kPad + 8 + i * step, y + l.size + 18, std::to_string(i) + " " + l.glyphs[i].name,
            bg.r > 0.5 ? Rgb{0.3, 0.3, 0.3} : Rgb{0.8, 0.85, 0.9}, 9);
    }
    y += l.size + 24;
  }
  int cell = EnlargedCell(l), perRow = (kWidth - 2 * kPad - 6) / cell;
  for (Rgb bg : {Rgb{1, 1, 1}, kDark}) {
    Fill(cr, kPad, y, kWidth - 2 * kPad, EnlargedHeight(l), bg);
    for (int i = 0; i < n; ++i)
      Blit(cr, strip, i * l.size, 0, l.size, l.size, kPad + 6 + (i % perRow) * cell,
           y + 6 + (i / perRow) * cell, Scale(l));
    y += EnlargedHeight(l);
  }
  return y;
}

// The header as the main window shows it: the wallpaper centred on the navy panel, the header
// glyphs where their buttons sit.
void DrawHeader(cairo_t* cr, cairo_surface_t* wallpaper, cairo_surface_t* glyphs48, int top) {
  const int w = 778, h = 89;
  Fill(cr, kPad, top, w, h, kNavy);
  cairo_save(cr);
  cairo_rectangle(cr, kPad, top, w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, wallpaper, kPad + (w - 513) / 2, top + (h - 152) / 2);
  cairo_paint(cr);
  cairo_restore(cr);
  struct B {
    int index, left, width;
    const char* caption;
  };
  for (B b : {B{0, 3, 97, "kvButton1"}, B{7, 106, 87, "Style"}, B{1, 199, 82, "Disabled"},
              B{3, w - 89, 86, "Home"}}) {
    double x = kPad + b.left + (b.width - 48) / 2.0;
    Blit(cr, glyphs48, b.index * 48, 0, 48, 48, x, top + 10, 1);
    Label(cr, kPad + b.left + 14, top + 76, b.caption, {1, 1, 1}, 12);
  }
}

void DrawLinkBar(cairo_t* cr, cairo_surface_t* wallpaper, cairo_surface_t* glyphs16, int left,
                 int top, Rgb face, Rgb text) {
  const int w = 201, h = 438;
  Fill(cr, left, top, w, h, face);
  cairo_save(cr);
  cairo_rectangle(cr, left, top, w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, wallpaper, left, top + h - 300);
  cairo_paint(cr);
  cairo_restore(cr);
  struct I {
    int image;
    const char* caption;
  };
  const I items[] = {{-1, "Standard controls"},
                     {0, "Button, Label"},
                     {1, "GroupBox, RadioGroup..."},
                     {2, "Panel, PageControl"},
                     {3, "ListBox, ComboBox"},
                     {4, "Edit, Memo"},
                     {5, "TreeView, ListView"},
                     {-1, "Advanced controls"},
                     {6, "ListBox, HorzListBox..."},
                     {7, "GridView, Gallery"},
                     {15, "ButtonsBar"},
                     {-1, "Shell controls"},
                     {9, "ShellListView..."},
                     {-1, "About"},
                     {13, "Kalvora Info"}};
  int y = top + 4;
  for (const I& it : items) {
    if (it.image < 0) {
      Label(cr, left + 6, y + 14, it.caption, text, 11);
      y += 20;
      continue;
    }
    Blit(cr, glyphs16, it.image * 16, 0, 16, 16, left + 10, y + 9, 1);
    Label(cr, left + 34, y + 21, it.caption, text, 11);
    y += 35 - 10;
  }
}

}  // namespace

SurfacePtr ContactSheet(const std::vector<ImageListDef>& lists,
                        const std::vector<cairo_surface_t*>& strips,
                        const std::vector<cairo_surface_t*>& pictures) {
  int height = kPad;
  for (const ImageListDef& l : lists) height += ListBlockHeight(l) + kPad;
  height += 89 + kPad + 438 + kPad + 40;
  SurfacePtr sheet = NewSurface(CAIRO_FORMAT_RGB24, kWidth, height);
  ContextPtr c = NewContext(sheet.get());
  cairo_t* cr = c.get();
  Fill(cr, 0, 0, kWidth, height, {0.86, 0.87, 0.89});

  int y = kPad;
  for (size_t i = 0; i < lists.size(); ++i) y = DrawList(cr, lists[i], strips[i], y) + kPad;

  cairo_surface_t* g48 = strips[0];
  cairo_surface_t* g16 = strips[1];
  DrawHeader(cr, pictures[0], g48, y);
  y += 89 + kPad;
  DrawLinkBar(cr, pictures[1], g16, kPad, y, kFace, {0.1, 0.1, 0.1});
  DrawLinkBar(cr, pictures[1], g16, kPad + 211, y, Hex(0x2B2F36), {0.9, 0.9, 0.9});
  // The tile repeated, to show that it meets itself without a seam.
  Tile(cr, pictures[2], kPad + 430, y, 480, 360);
  // The about panel over the page.
  int ax = kPad + 430 + 500, ay = y;
  Fill(cr, ax - 10, ay, 274, 360, kFace);
  cairo_set_source_surface(cr, pictures[3], ax + 2, ay);
  cairo_paint(cr);
  Label(cr, ax + 19, ay + 84 + 14, "Kalvora Controls - Demo", {0.1, 0.1, 0.1}, 15);
  Label(cr, ax + 71, ay + 125 + 13, "Version 1.15", {0, 0, 0}, 13);
  Label(cr, ax + 28, ay + 183 + 12, "Home:", {0.1, 0.1, 0.1}, 12);
  Label(cr, ax + 75, ay + 183 + 12, "home page", palette::Blue, 12);
  Label(cr, ax + 38, ay + 302 + 11, "Copyright line", {0.1, 0.1, 0.1}, 11);
  return sheet;
}

}  // namespace assetgen
