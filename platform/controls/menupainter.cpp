#include "platform/controls/menupainter.h"

#include <algorithm>

#include "platform/graphics/primitives.h"
#include "platform/graphics/text.h"

namespace {
std::unique_ptr<TMenuPainter>& PainterSlot() {
  static std::unique_ptr<TMenuPainter> p;
  return p;
}

// Text and glyph colours of a row.
TColor TextColor(TMenuItemDrawState s) {
  switch (s) {
    case mdsHot: return clHighlightText;
    case mdsDisabled:
    case mdsDisabledHot: return clGrayText;
    default: return clMenuText;
  }
}

// A tick drawn with two strokes, 2 pixels thick, centred in r.
void DrawTick(TCanvas* c, const TRect& r, TColor color) {
  TPoint m = r.CenterPoint();
  c->Pen()->SetColor(color);
  c->Pen()->SetWidth(1);
  for (int t = 0; t < 2; ++t) {
    c->MoveTo(m.X - 4, m.Y - 1 + t);
    c->LineTo(m.X - 1, m.Y + 2 + t);
    c->LineTo(m.X + 5, m.Y - 4 + t);
  }
}

// A right-pointing arrow head of a sub-menu row.
void DrawArrow(TCanvas* c, const TRect& r, TColor color) {
  TPoint m = r.CenterPoint();
  c->Pen()->SetColor(color);
  c->Pen()->SetWidth(1);
  for (int i = 0; i < 4; ++i) {
    c->MoveTo(m.X - 1 + i, m.Y - 3 + i);
    c->LineTo(m.X - 1 + i, m.Y + 4 - i);
  }
}
}  // namespace

TMenuPainter* MenuPainter() {
  auto& slot = PainterSlot();
  if (!slot) slot = std::make_unique<TStandardMenuPainter>();
  return slot.get();
}

void SetMenuPainter(std::unique_ptr<TMenuPainter> Painter) {
  PainterSlot() = Painter ? std::move(Painter) : std::make_unique<TStandardMenuPainter>();
}

TStandardMenuPainter::TStandardMenuPainter() {
  FFont.SetName("Tahoma");
  FFont.SetSize(8);
  FFont.SetColor(clMenuText);
}

TSize TStandardMenuPainter::MeasureItem(TCanvas* Canvas, const TMenuEntry& Entry) {
  if (Entry.Separator) return TSize(GutterWidth + 8, SeparatorHeight);
  Canvas->Font()->Assign(&FFont);
  if (Entry.Default) Canvas->Font()->SetStyle(TFontStyles{fsBold});
  TRect r(0, 0, 0, 0);
  String text = Entry.Caption;
  Canvas->TextRect(r, text, DT_CALCRECT | DT_SINGLELINE);
  int w = GutterWidth + 6 + r.Width() + ArrowWidth;
  if (!Entry.ShortCutText.empty()) w += 24 + Canvas->TextWidth(Entry.ShortCutText);
  int h = std::max(r.Height() + 8, 22);
  if (Entry.Images && Entry.ImageIndex >= 0) h = std::max(h, Entry.Images->Height() + 6);
  return TSize(w, h);
}

void TStandardMenuPainter::DrawBackground(TCanvas* Canvas, const TRect& WindowRect) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clMenu);
  Canvas->FillRect(WindowRect);
  Canvas->Brush()->SetColor(clBtnShadow);
  Canvas->FrameRect(WindowRect);
}

void TStandardMenuPainter::DrawItem(TCanvas* Canvas, const TRect& Row, const TMenuEntry& Entry, TMenuItemDrawState State) {
  if (Entry.Separator) {
    int y = Row.Top + Row.Height() / 2;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clBtnShadow);
    Canvas->FillRect(TRect(Row.Left + GutterWidth, y, Row.Right - 2, y + 1));
    return;
  }
  bool hot = State == mdsHot || State == mdsDisabledHot;
  if (hot) {
    Canvas->Brush()->SetStyle(bsSolid);
    if (State == mdsHot) {
      Canvas->Brush()->SetColor(clHighlight);
      Canvas->FillRect(Row);
    } else {
      // A disabled row under the pointer gets a frame only: it cannot be chosen.
      Canvas->Brush()->SetColor(clBtnShadow);
      Canvas->FrameRect(Row);
    }
  }
  TColor fg = TextColor(State);
  TRect gutter(Row.Left, Row.Top, Row.Left + GutterWidth, Row.Bottom);
  bool image = Entry.Images && Entry.ImageIndex >= 0 && Entry.ImageIndex < Entry.Images->Count();
  if (image) {
    int x = gutter.Left + (gutter.Width() - Entry.Images->Width()) / 2;
    int y = gutter.Top + (gutter.Height() - Entry.Images->Height()) / 2;
    if (Entry.Checked) {
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(hot ? clHighlightText : clBtnShadow);
      Canvas->FrameRect(TRect(x - 2, y - 2, x + Entry.Images->Width() + 2, y + Entry.Images->Height() + 2));
    }
    Entry.Images->Draw(Canvas, x, y, Entry.ImageIndex, Entry.Enabled);
  } else if (Entry.Checked) {
    if (Entry.Radio) {
      TPoint m = gutter.CenterPoint();
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(fg);
      Canvas->Pen()->SetColor(fg);
      Canvas->Ellipse(m.X - 3, m.Y - 3, m.X + 4, m.Y + 4);
    } else {
      DrawTick(Canvas, gutter, fg);
    }
  }
  Canvas->Font()->Assign(&FFont);
  if (Entry.Default) Canvas->Font()->SetStyle(TFontStyles{fsBold});
  Canvas->Font()->SetColor(fg);
  Canvas->Brush()->SetStyle(bsClear);
  TRect text(gutter.Right + 6, Row.Top, Row.Right - ArrowWidth, Row.Bottom);
  String caption = Entry.Caption;
  Canvas->TextRect(text, caption, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!Entry.ShortCutText.empty()) {
    String sc = Entry.ShortCutText;
    Canvas->TextRect(text, sc, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  if (Entry.HasSubmenu) DrawArrow(Canvas, TRect(Row.Right - ArrowWidth, Row.Top, Row.Right, Row.Bottom), fg);
}
