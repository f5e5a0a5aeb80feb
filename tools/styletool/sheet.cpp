#include "tools/styletool/sheet.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/graphics/dc.h"
#include "platform/graphics/objects.h"
#include "platform/graphics/primitives.h"
#include "platform/graphics/surface.h"
#include "platform/themes/stylemanager.h"

namespace {
constexpr int kLabelWidth = 220, kCellWidth = 118, kPerLine = 8, kMargin = 14;

// Labels are drawn straight with cairo, in the sheet's own text colour.
void Label(cairo_t* cr, double x, double y, const String& text, TColor color, double size, bool bold = false) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}
void Centred(cairo_t* cr, const TRect& r, const String& text, TColor color, double size) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  Label(cr, r.Left + (r.Width() - e.x_advance) / 2, r.Top + (r.Height() + e.height) / 2 - 1, text, color, size);
}

struct TSample {
  TSize Size;
  TThemedElementDetails Under;  // drawn first, as the surface the element stands on
  bool HasUnder = false;
  bool Beside = false;           // a caption beside the element (check and radio boxes)
};

TSample SampleOf(const TElementPartInfo& p, HDC dc) {
  TSample s;
  s.Size = {88, 26};
  TSize natural;
  auto under = [&](TThemedElementDetails d) { s.Under = d; s.HasUnder = true; };
  switch (p.Element) {
    case teButton:
      if (p.Part == 2 || p.Part == 3) {
        if (!StyleServices().GetElementSize(dc, {teButton, p.Part, p.FirstState}, esActual, natural)) natural = {13, 13};
        s.Size = natural;
        s.Beside = true;
      } else if (p.Part == 4) {
        s.Size = {96, 44};
      }
      break;
    case teComboBox:
      s.Size = {100, 24};
      if (p.Part != 2) under(GetElementDetails(tcBorderNormal));
      break;
    case teEdit: s.Size = {100, 24}; break;
    case teGrid: case teHeader: s.Size = {96, 22}; break;
    case teMonthCal: s.Size = p.Part == 1 ? TSize{80, 40} : TSize{30, 22}; if (p.Part == 2) under(GetElementDetails(tmcBackground)); break;
    case teProgress:
      s.Size = (p.Part == 2 || p.Part == 4) ? TSize{18, 60} : TSize{100, 18};
      if (p.Part == 3) under(GetElementDetails(tpBar));
      if (p.Part == 4) under(GetElementDetails(tpBarVert));
      break;
    case teScrollBar:
      if (p.Part == 1) s.Size = {17, 17};
      else if (p.Part == 2 || p.Part == 4 || p.Part == 5) s.Size = {80, 17};
      else s.Size = {17, 60};
      if (p.Part == 2) under(GetElementDetails(tsUpperTrackHorzNormal));
      if (p.Part == 3) under(GetElementDetails(tsUpperTrackVertNormal));
      break;
    case teSpin:
      if (!StyleServices().GetElementSize(dc, {teSpin, p.Part, 1}, esActual, natural)) natural = {15, 10};
      s.Size = {natural.cx * 2, natural.cy * 2};
      break;
    case teTab: s.Size = p.Part == 5 ? TSize{100, 50} : TSize{88, 24}; break;
    case teToolBar:
      if (p.Part == 0) s.Size = {110, 32};
      else if (p.Part == 2) s.Size = {8, 28};
      else if (p.Part == 3) s.Size = {60, 8};
      else s.Size = {70, 28};
      if (p.Part != 0) under(GetElementDetails(ttbBackground));
      break;
    case teWindow: s.Size = {100, 50}; break;
  }
  return s;
}

int RowHeight(const TElementPartInfo& p, HDC dc) {
  int lines = (static_cast<int>(p.States.size()) + kPerLine - 1) / kPerLine;
  return lines * (std::max(SampleOf(p, dc).Size.cy, 20) + 30);
}

TColor TextColorOf(const TThemedElementDetails& d, bool disabled) {
  TColor c;
  if (StyleServices().GetElementColor(d, ecTextColor, c)) return c;
  return ColorToRGB(disabled ? clGrayText : clBtnText);
}
}  // namespace

void WriteElementSheet(const String& title, const String& pngPath) {
  TSurface probe(1, 1);
  HDC probeDC = CreateSurfaceDC(&probe);
  int height = kMargin + 40;
  for (const TElementInfo& e : ElementCatalog::Elements())
    for (const TElementPartInfo& p : e.Parts) height += RowHeight(p, probeDC);
  DeleteDC(probeDC);
  int width = kMargin * 2 + kLabelWidth + kPerLine * kCellWidth;
  TSurface surface(width, height + kMargin);
  HDC dc = CreateSurfaceDC(&surface);
  TRect all(0, 0, width, surface.Height());
  if (!StyleServices().DrawElement(dc, GetElementDetails(twBackground), all) || !StyleServices().Enabled())
    FillRect(dc, all, GetSysColorBrush(COLOR_BTNFACE));

  TColor ink = ColorToRGB(clBtnText), dim = ColorToRGB(clGrayText);
  std::vector<std::pair<TRect, std::pair<String, TColor>>> captions;  // drawn after the elements
  std::vector<std::pair<TPoint, String>> labels, states;
  int y = kMargin + 40;
  for (const TElementInfo& e : ElementCatalog::Elements()) {
    for (const TElementPartInfo& p : e.Parts) {
      TSample sample = SampleOf(p, dc);
      labels.push_back({{kMargin, y + 16}, ElementCatalog::PartName(p)});
      int cellHeight = std::max(sample.Size.cy, 20) + 30;
      for (size_t i = 0; i < p.States.size(); ++i) {
        int col = static_cast<int>(i) % kPerLine, line = static_cast<int>(i) / kPerLine;
        int x = kMargin + kLabelWidth + col * kCellWidth, top = y + line * cellHeight + 4;
        TThemedElementDetails d{p.Element, p.Part, p.FirstState + static_cast<int>(i)};
        TRect r = Bounds(x, top, sample.Size.cx, sample.Size.cy);
        if (sample.HasUnder) {
          TRect u = r;
          bool toolBar = p.Element == teToolBar;
          StyleServices().DrawElement(dc, sample.Under, toolBar ? r.Inflated(4, 3) : r);
          if (p.Element == teProgress) {  // a chunk fills three fifths of its bar
            u.Inflate(-1, -1);
            if (p.Part == 3) u.Right = u.Left + u.Width() * 3 / 5;
            else u.Top = u.Bottom - u.Height() * 3 / 5;
          } else if (p.Element == teComboBox) {  // the button at the right end of the box
            u = {r.Right - 19, r.Top + 1, r.Right - 1, r.Bottom - 1};
            if (p.Part == 4) u = {r.Left + 1, r.Top + 1, r.Left + 19, r.Bottom - 1};
          }
          r = u;
        }
        if (p.Element == teWindow) {  // the same as the sheet's ground: frame it to show where
          FrameRect(dc, r.Inflated(1, 1), GetSysColorBrush(COLOR_BTNSHADOW));
        }
        StyleServices().DrawElement(dc, d, r);
        if (p.HasText) {
          bool disabled = std::strstr(p.States[i], "Disabled") != nullptr;
          TColor c = TextColorOf(d, disabled);
          String text = p.Element == teMonthCal ? "12" : "Text";
          TRect where = sample.Beside ? Bounds(r.Right + 4, r.Top - 4, 40, r.Height() + 8)
                        : p.Element == teButton && p.Part == 4 ? Bounds(r.Left + 8, r.Top - 7, 34, 14)
                                                              : r;
          if (p.Element == teButton && p.Part == 4) {  // a group caption interrupts the frame
            TRect gap = where;
            StyleServices().DrawElement(dc, GetElementDetails(twBackground), gap, &gap);
          }
          captions.push_back({where, {text, c}});
        }
        states.push_back({{x, top + std::max(sample.Size.cy, 20) + 14}, p.States[i]});
      }
      y += RowHeight(p, dc);
    }
  }
  DeleteDC(dc);

  surface.MarkDirtyForCairo();
  cairo_t* cr = cairo_create(surface.CairoSurface());
  Label(cr, kMargin, kMargin + 18, title, ink, 17, true);
  for (const auto& [at, text] : labels) Label(cr, at.X, at.Y, text, ink, 12, true);
  for (const auto& [at, text] : states) Label(cr, at.X, at.Y, text, dim, 10);
  for (const auto& [r, t] : captions) Centred(cr, r, t.first, t.second, 11);
  cairo_destroy(cr);
  cairo_surface_flush(surface.CairoSurface());
  if (cairo_surface_write_to_png(surface.CairoSurface(), pngPath.c_str()) != CAIRO_STATUS_SUCCESS)
    throw EReadError("cannot write '" + pngPath + "'");
}
