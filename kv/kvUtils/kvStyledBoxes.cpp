// Styled pieces with their own placement rules: check boxes, radio buttons, the drop-down
// button and tabs.
#include <algorithm>

#include "kv/kvUtils/kvElements.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "kv/kvUtils/kvLayout.h"
#include "kv/kvUtils/kvPaint.h"
#include "kv/kvUtils/kvStyled.h"
#include "kv/kvUtils/kvStyledShared.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/primitives.h"

namespace {
// The check-box and radio-button glyph: the style's size of a checked check box (13 x 13 when
// it cannot tell), at Rect's left, centred vertically.
void ThemedGlyph(HDC dc, const TRect& Rect, const TThemedElementDetails& Details) {
  TSize size;
  if (!StyleServices().GetElementSize(dc, GetElementDetails(tbCheckBoxCheckedNormal), esActual, size)) size = {13, 13};
  TRect glyph = CenterRectVert(TRect(0, 0, size.cx, size.cy), Rect);
  int saved = SaveDC(dc);
  DrawThemed(dc, Details, glyph);
  RestoreDC(dc, saved);
}

// Classic frame-control flags of a check box by state and CheckState (0, 1, 2).
unsigned CheckFlags(TkvsCtrlState State, int CheckState) {
  static constexpr unsigned kNormal[3] = {0, DFCS_CHECKED, DFCS_CHECKED | DFCS_INACTIVE};
  static constexpr unsigned kPressed[3] = {DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED,
                                           DFCS_PUSHED | DFCS_CHECKED | DFCS_INACTIVE};
  static constexpr unsigned kDisabled[3] = {DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE,
                                            DFCS_CHECKED | DFCS_INACTIVE};
  int c = std::clamp(CheckState, 0, 2);
  return State == kvsPressed ? kPressed[c] : State == kvsDisabled ? kDisabled[c] : kNormal[c];
}

unsigned RadioFlags(TkvsCtrlState State, bool Checked) {
  unsigned checked = Checked ? DFCS_CHECKED : 0u;
  if (State == kvsPressed) return DFCS_PUSHED | checked;
  if (State == kvsDisabled) return DFCS_INACTIVE | checked;
  return checked;
}

// A tab state of a part whose first state is First: Normal, Hot, Selected (kvsFocused).
TThemedTab TabState(TThemedTab First, TkvsCtrlState State) {
  int offset = State == kvsFocused ? 2 : State == kvsHot ? 1 : 0;
  return static_cast<TThemedTab>(static_cast<int>(First) + offset);
}

TThemedTab ThemedTab(TkvsCtrlState State, int TabPosition, bool AtLeftEdge, bool AtRightEdge) {
  switch (TabPosition) {
    case 1: return TabState(ttTabItemBothEdgeNormal, State);
    case 2: return TabState(ttTabItemLeftEdgeNormal, State);
    case 3: return TabState(ttTabItemRightEdgeNormal, State);
    default:
      if (State == kvsFocused && !IsCustomStyle()) {
        if (AtLeftEdge) return ttTabItemLeftEdgeSelected;
        if (AtRightEdge) return ttTabItemRightEdgeSelected;
      }
      return TabState(ttTabItemNormal, State);
  }
}

// The classic tab's two 3-D lines (outer, then inner) on the tab bitmap R: each line starts
// in its light colour and turns into its dark colour, and the side towards the pane stays
// open.
void ClassicTabLines(TSolidPainter& p, TRect R, int TabPosition, bool AtRightEdge) {
  const TColor light[2] = {clBtnHighlight, cl3DLight}, dark[2] = {cl3DDkShadow, clBtnShadow};
  for (int line = 0; line < 2; ++line, R.Inflate(-1, -1)) {
    int l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
    p.SetColor(light[line]);
    switch (TabPosition) {
      case 1:  // bottom: the outer line reaches past the top when the tab ends the row
        p.MoveTo(l, line == 0 ? t : t - 1);
        p.LineTo(l, b - 1);
        p.SetColor(dark[line]);
        p.LineTo(r - 1, b - 1);
        p.LineTo(r - 1, line == 0 && !AtRightEdge ? t : t - 1);
        break;
      case 2:  // left
        p.MoveTo(r, t);
        p.LineTo(l, t);
        p.LineTo(l, b - 1);
        p.SetColor(dark[line]);
        p.LineTo(r, b - 1);
        break;
      case 3:  // right
        p.MoveTo(l, t);
        p.LineTo(r - 1, t);
        p.SetColor(dark[line]);
        p.LineTo(r - 1, b - 1);
        p.LineTo(l, b - 1);
        break;
      default:  // top
        p.MoveTo(l, b);
        p.LineTo(l, t);
        p.LineTo(r - 1, t);
        p.SetColor(dark[line]);
        p.LineTo(r - 1, b);
        break;
    }
  }
}
}  // namespace

void DrawCheckBox(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, int CheckState) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) {
    ThemedGlyph(dc, Rect, CheckBoxDetails(State, CheckState));
    return;
  }
  TPoint c = Rect.CenterPoint();
  DrawClassicControl(dc, {c.X - 6, c.Y - 6, c.X + 7, c.Y + 7}, DFC_BUTTON,
                     DFCS_BUTTONCHECK | CheckFlags(State, CheckState));
}

void DrawRadioButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, bool Checked) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) {
    ThemedGlyph(dc, Rect, RadioButtonDetails(State, Checked));
    return;
  }
  TPoint c = Rect.CenterPoint();
  DrawClassicControl(dc, {c.X - 6, c.Y - 6, c.X + 6, c.Y + 6}, DFC_BUTTON, DFCS_BUTTONRADIO | RadioFlags(State, Checked));
}

void DrawDropDownButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, bool VistaLook, bool RightToLeft) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  // The button that joins the box's border belongs to the native look. (Its original condition
  // also asked for an operating system of version 6.0 or later, which ours always is.)
  bool joined = VistaLook && !IsCustomStyle() && ThemesOn();
  if (joined && !RightToLeft) {
    DrawThemed(dc, GetElementDetails(FourState(tcDropDownButtonRightNormal, State)),
               {Rect.Left, Rect.Top - 1, Rect.Right + 1, Rect.Bottom + 1});
  } else if (joined) {
    DrawThemed(dc, GetElementDetails(FourState(tcDropDownButtonLeftNormal, State)),
               {Rect.Left - 1, Rect.Top - 1, Rect.Right, Rect.Bottom + 1});
  } else if (!ThemesOn()) {
    DrawClassicControl(dc, Rect, DFC_BUTTON, DFCS_BUTTONPUSH | (State == kvsPressed ? DFCS_PUSHED : 0u));
    DrawArrow(Canvas, Rect, clBtnText, 4);
  } else {
    DrawThemed(dc, GetElementDetails(FourState(tcDropDownButtonNormal, State)), Rect);
  }
}

void DrawTab(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, int TabPosition, bool AtLeftEdge,
             bool AtRightEdge) {
  HDC dc = CanvasDC(Canvas);
  if (!dc || Rect.IsEmpty()) return;
  if (ThemesOn()) {
    int saved = SaveDC(dc);
    DrawThemed(dc, GetElementDetails(ThemedTab(State, TabPosition, AtLeftEdge, AtRightEdge)), Rect);
    RestoreDC(dc, saved);
    return;
  }
  TBitmap tab(Rect.Width(), Rect.Height());
  HDC tabDC = tab.Canvas()->Handle();
  {
    TSolidPainter p(tabDC, clBtnFace);
    p.Fill({0, 0, Rect.Width(), Rect.Height()});
    ClassicTabLines(p, {0, 0, Rect.Width(), Rect.Height()}, TabPosition, AtRightEdge);
  }
  BitBlt(dc, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), tabDC, 0, 0, SRCCOPY);
}
