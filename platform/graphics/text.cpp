// Text entry points: DrawText, TextOut and the measuring calls.
#include "platform/graphics/text.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cmath>

#include "platform/graphics/raster.h"
#include "platform/graphics/textlayout.h"

namespace {
std::shared_ptr<TTextFont> SelectedFont(HDC dc) { return TextFontOf(*dc->State().Font); }

// Where and how a laid-out block is drawn.
struct TTextPlacement {
  std::vector<TPoint> LineOrigins;  // surface coordinates of each line's visible top-left
  std::optional<TRect> ClipRect;    // surface coordinates
  bool OpaqueBackground = false;
  bool PrefixOnly = false;
  TPoint Pivot;                     // rotation centre (surface coordinates)
  int Escapement = 0;
};

void SetSourceColor(cairo_t* cr, uint32_t pixel) {
  cairo_set_source_rgb(cr, PixelRed(pixel) / 255.0, PixelGreen(pixel) / 255.0, PixelBlue(pixel) / 255.0);
}

// The bounds of r turned about pivot by the escapement.
TRect RotatedBounds(const TRect& r, TPoint pivot, int escapement) {
  if (escapement % 3600 == 0) return r;
  double a = -escapement * M_PI / 1800.0, c = std::cos(a), s = std::sin(a);
  double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
  for (TPoint p : {r.TopLeft(), TPoint(r.Right, r.Top), r.BottomRight(), TPoint(r.Left, r.Bottom)}) {
    double dx = p.X - pivot.X, dy = p.Y - pivot.Y;
    double x = pivot.X + dx * c - dy * s, y = pivot.Y + dx * s + dy * c;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  return TRect(static_cast<int>(std::floor(minX)) - 1, static_cast<int>(std::floor(minY)) - 1,
               static_cast<int>(std::ceil(maxX)) + 1, static_cast<int>(std::ceil(maxY)) + 1);
}

void Paint(TDeviceContext& dc, const TTextLayout& L, const TTextFont& F, const TTextPlacement& where) {
  TSurface* s = dc.Surface();
  if (!s || L.Lines.empty()) return;
  const TClipRects& clip = dc.Clip();
  if (clip.Empty()) return;
  const TTextFontMetrics& m = F.Metrics();
  // Bounds of everything drawn, for culling and the dirty rectangle.
  TRect box;
  for (size_t i = 0; i < L.Lines.size(); ++i) {
    TPoint o = where.LineOrigins[i];
    // Glyphs may overhang their advance (italics, accents): allow for it.
    UnionRect(box, box, TRect(o.X - m.EmHeight / 2, o.Y - m.Ascent / 2, o.X + L.Lines[i].Width + m.EmHeight / 2,
                              o.Y + m.Height + m.Ascent / 2));
  }
  box = RotatedBounds(box, where.Pivot, where.Escapement);
  if (where.ClipRect) box = box.Intersect(*where.ClipRect);
  box = box.Intersect(clip.Bounds);
  if (box.IsEmpty()) return;

  cairo_t* cr = cairo_create(s->CairoSurface());
  s->MarkDirtyForCairo();
  for (const TRect& c : clip.Rects) cairo_rectangle(cr, c.Left, c.Top, c.Width(), c.Height());
  cairo_clip(cr);
  if (where.ClipRect) {
    cairo_rectangle(cr, where.ClipRect->Left, where.ClipRect->Top, where.ClipRect->Width(), where.ClipRect->Height());
    cairo_clip(cr);
  }
  if (where.Escapement % 3600 != 0) {
    cairo_translate(cr, where.Pivot.X, where.Pivot.Y);
    cairo_rotate(cr, -where.Escapement * M_PI / 1800.0);
    cairo_translate(cr, -where.Pivot.X, -where.Pivot.Y);
  }
  if (where.OpaqueBackground) {
    SetSourceColor(cr, dc.BkPixel());
    for (size_t i = 0; i < L.Lines.size(); ++i) {
      TPoint o = where.LineOrigins[i];
      cairo_rectangle(cr, o.X, o.Y, L.Lines[i].Width, m.Height);
    }
    cairo_fill(cr);
  }
  SetSourceColor(cr, dc.TextPixel());
  if (!where.PrefixOnly) {
    for (size_t i = 0; i < L.Lines.size(); ++i) {
      TPoint o = where.LineOrigins[i];
      cairo_move_to(cr, o.X + L.Lines[i].OriginX, o.Y + m.Ascent);
      pango_cairo_show_layout_line(cr, L.Lines[i].Line);
    }
  }
  // Prefix underlines and the font's own underline and strike-out: whole-pixel bars.
  for (const TLaidUnderline& u : L.Underlines) {
    TPoint o = where.LineOrigins[static_cast<size_t>(u.Line)];
    int x = o.X + L.Lines[static_cast<size_t>(u.Line)].OriginX;
    cairo_rectangle(cr, x + u.X0, o.Y + m.Ascent + m.UnderlinePosition, u.X1 - u.X0, m.UnderlineThickness);
  }
  if (!where.PrefixOnly && (F.Underline() || F.StrikeOut())) {
    for (size_t i = 0; i < L.Lines.size(); ++i) {
      TPoint o = where.LineOrigins[i];
      if (F.Underline())
        cairo_rectangle(cr, o.X, o.Y + m.Ascent + m.UnderlinePosition, L.Lines[i].Width, m.UnderlineThickness);
      if (F.StrikeOut())
        cairo_rectangle(cr, o.X, o.Y + m.Ascent - m.StrikeoutPosition, L.Lines[i].Width, m.UnderlineThickness);
    }
  }
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s->CairoSurface());
  dc.AddDirty(box);
}

int DrawTextImpl(HDC dc, std::string_view text, TRect& rect, unsigned format, String* modified) {
  if (!dc || !BlockInRange(dc, rect.Left, rect.Top, 0, 0) || !BlockInRange(dc, rect.Right, rect.Bottom, 0, 0)) return 0;
  std::lock_guard lock(TextMutex());
  int tabChars = 8;
  if (format & DT_TABSTOP) {
    tabChars = static_cast<int>((format >> 8) & 0xFF);
    format &= ~0xFF00u;  // those bits carry the tab size, not flags
    if (tabChars == 0) tabChars = 8;
  }
  auto font = SelectedFont(dc);
  const TTextFontMetrics& m = font->Metrics();
  TLayoutRequest req;
  req.Font = font;
  req.Text = text;
  req.Flags = format;
  req.Width = std::max(0, rect.Width());
  req.Height = std::max(0, rect.Height());
  req.TabChars = tabChars;
  auto L = GetTextLayout(req);
  if ((format & DT_MODIFYSTRING) && modified && L->Shortened) *modified = L->Modified;

  bool single = format & DT_SINGLELINE;
  int lineCount = static_cast<int>(L->Lines.size());
  int height = lineCount * m.Height;
  if (text.empty()) height = m.Height;
  int top = rect.Top;
  if (single) {
    if (format & DT_VCENTER) top = rect.Top + (rect.Height() - height) / 2;
    else if (format & DT_BOTTOM) top = rect.Bottom - height;
  }
  int result = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? top + height - rect.Top : height;
  if (format & DT_CALCRECT) {
    rect.Right = rect.Left + L->MaxWidth;
    rect.Bottom = rect.Top + height;
    return result;
  }
  TTextPlacement where;
  TPoint o = dc->LogicalToSurfaceOffset();
  for (const TLaidLine& line : L->Lines) {
    int x = rect.Left;
    if (format & DT_CENTER) x = rect.Left + (rect.Width() - line.Width) / 2;
    else if (format & DT_RIGHT) x = rect.Right - line.Width;
    where.LineOrigins.push_back(TPoint(x, top) + o);
    top += m.Height;
  }
  if (!(format & DT_NOCLIP)) where.ClipRect = dc->ToSurface(rect);
  where.OpaqueBackground = dc->State().BkMode == OPAQUE;
  where.PrefixOnly = format & DT_PREFIXONLY;
  where.Pivot = rect.TopLeft() + o;
  where.Escapement = font->Escapement();
  Paint(*dc, *L, *font, where);
  return result;
}

// A single line for TextOut and the measuring calls.
std::shared_ptr<const TTextLayout> LineLayout(const std::shared_ptr<TTextFont>& font, std::string_view text, bool rtl) {
  TLayoutRequest req;
  req.Font = font;
  req.Text = text;
  req.Flags = DT_SINGLELINE | DT_NOPREFIX | (rtl ? DT_RTLREADING : 0u);
  return GetTextLayout(req);
}

int LineWidth(const TTextLayout& L) { return L.Lines.empty() ? 0 : L.Lines[0].Width; }
}  // namespace

int DrawText(HDC dc, std::string_view text, TRect& rect, unsigned format) {
  return DrawTextImpl(dc, text, rect, format, nullptr);
}

int DrawText(HDC dc, String& text, TRect& rect, unsigned format) {
  String copy = text;  // the layout reads the original while the result is written
  return DrawTextImpl(dc, copy, rect, format, &text);
}

bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text) {
  if (!dc || !BlockInRange(dc, x, y, 0, 0)) return false;
  std::lock_guard lock(TextMutex());
  unsigned align = dc->State().TextAlign;
  bool rtl = (align & TA_RTLREADING) || (options & ETO_RTLREADING);
  auto font = SelectedFont(dc);
  const TTextFontMetrics& m = font->Metrics();
  if (align & TA_UPDATECP) {
    x = dc->State().CurrentPos.X;
    y = dc->State().CurrentPos.Y;
  }
  auto L = LineLayout(font, text, rtl);
  int w = LineWidth(*L);
  int dx = 0, dy = 0;
  switch (align & TA_CENTER) {
    case TA_RIGHT: dx = -w; break;
    case TA_CENTER: dx = -w / 2; break;
    default: break;
  }
  switch (align & TA_BASELINE) {
    case TA_BOTTOM: dy = -m.Height; break;
    case TA_BASELINE: dy = -m.Ascent; break;
    default: break;
  }
  if (rect && (options & ETO_OPAQUE)) {
    TSpanPainter bk(*dc, dc->BkPixel(), R2_COPYPEN);
    bk.Rect(dc->ToSurface(*rect));
  }
  TPoint o = dc->LogicalToSurfaceOffset();
  TTextPlacement where;
  where.LineOrigins.push_back(TPoint(x + dx, y + dy) + o);
  if (rect && (options & ETO_CLIPPED)) where.ClipRect = dc->ToSurface(*rect);
  where.OpaqueBackground = dc->State().BkMode == OPAQUE && !(rect && (options & ETO_OPAQUE));
  where.Pivot = TPoint(x, y) + o;
  where.Escapement = font->Escapement();
  Paint(*dc, *L, *font, where);
  if (align & TA_UPDATECP) {
    // The current position advances along the text (for left-aligned text).
    if ((align & TA_CENTER) == TA_LEFT) dc->State().CurrentPos.X = x + w;
    else if ((align & TA_CENTER) == TA_RIGHT) dc->State().CurrentPos.X = x - w;
  }
  return true;
}

bool TextOut(HDC dc, int x, int y, std::string_view text) { return ExtTextOut(dc, x, y, 0, nullptr, text); }

bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size) {
  if (!dc || !size) return false;
  std::lock_guard lock(TextMutex());
  auto font = SelectedFont(dc);
  *size = TSize(LineWidth(*LineLayout(font, text, false)), font->Metrics().Height);
  return true;
}

bool GetTextExtentExPoint(HDC dc, std::string_view text, int maxExtent, int* fit, std::vector<int>* widths,
                          TSize* size) {
  if (!dc) return false;
  std::lock_guard lock(TextMutex());
  auto font = SelectedFont(dc);
  auto L = LineLayout(font, text, false);
  int count = 0;
  std::vector<int> local;
  std::vector<int>& w = widths ? *widths : local;
  w.clear();
  if (!L->Lines.empty()) {
    PangoLayoutLine* line = L->Lines[0].Line;
    const std::string& shown = L->Text;
    for (size_t i = 0; i < shown.size();) {
      i += utf8::CharBytes(shown, i);
      int x;
      pango_layout_line_index_to_x(line, static_cast<int>(i), FALSE, &x);
      if (i >= shown.size()) x = LineWidth(*L) * PANGO_SCALE;
      w.push_back(PANGO_PIXELS(x) + L->Lines[0].OriginX);
    }
  }
  for (int v : w) {
    if (v > maxExtent) break;
    ++count;
  }
  if (fit) *fit = count;
  if (size) *size = TSize(LineWidth(*L), font->Metrics().Height);
  return true;
}

bool GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
  if (!dc || !tm) return false;
  std::lock_guard lock(TextMutex());
  const TGdiFont& gf = *dc->State().Font;
  auto font = SelectedFont(dc);
  const TTextFontMetrics& m = font->Metrics();
  tm->tmHeight = m.Height;
  tm->tmAscent = m.Ascent;
  tm->tmDescent = m.Descent;
  tm->tmInternalLeading = std::max(0, m.Height - m.EmHeight);
  tm->tmExternalLeading = 0;
  tm->tmAveCharWidth = m.AveCharWidth;
  tm->tmMaxCharWidth = m.MaxCharWidth;
  tm->tmWeight = gf.Log.lfWeight <= 0 ? FW_NORMAL : gf.Log.lfWeight;
  tm->tmItalic = gf.Log.lfItalic;
  tm->tmUnderlined = gf.Log.lfUnderline;
  tm->tmStruckOut = gf.Log.lfStrikeOut;
  tm->tmPitchAndFamily = gf.Log.lfPitchAndFamily;
  return true;
}

String GetTextFace(HDC dc) {
  if (!dc) return {};
  std::lock_guard lock(TextMutex());
  return SelectedFont(dc)->Family();
}

String RemovePrefixes(std::string_view text) {
  String out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}
