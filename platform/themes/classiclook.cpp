#include "platform/themes/classiclook.h"

#include "platform/graphics/framectl.h"
#include "platform/graphics/objects.h"
#include "platform/graphics/primitives.h"
#include "platform/themes/standardlook.h"

namespace {
void Fill(HDC dc, const TRect& r, int colorIndex) { FillRect(dc, r, GetSysColorBrush(colorIndex)); }
void Frame(HDC dc, const TRect& r, int colorIndex) { FrameRect(dc, r, GetSysColorBrush(colorIndex)); }
void Edge(HDC dc, TRect r, unsigned edge, unsigned flags) { DrawEdge(dc, r, edge, flags); }
void Control(HDC dc, TRect r, unsigned type, unsigned state) { DrawFrameControl(dc, r, type, state); }

unsigned Pushed(const TStateTraits& t) { return t.Pressed ? DFCS_PUSHED : 0u; }
unsigned Inactive(const TStateTraits& t) { return t.Disabled ? DFCS_INACTIVE : 0u; }

// A one-pixel line across the middle of r, etched.
void Separator(HDC dc, const TRect& r, bool vertical) {
  if (vertical) {
    int x = r.Left + r.Width() / 2 - 1;
    Edge(dc, {x, r.Top, x + 2, r.Bottom}, EDGE_ETCHED, BF_LEFT);
  } else {
    int y = r.Top + r.Height() / 2 - 1;
    Edge(dc, {r.Left, y, r.Right, y + 2}, EDGE_ETCHED, BF_TOP);
  }
}

unsigned ScrollKind(TStyleGlyph arrow) {
  switch (arrow) {
    case sgArrowDown: return DFCS_SCROLLDOWN;
    case sgArrowLeft: return DFCS_SCROLLLEFT;
    case sgArrowRight: return DFCS_SCROLLRIGHT;
    default: return DFCS_SCROLLUP;
  }
}

void Button(HDC dc, const TRect& r, int part, const TStateTraits& t) {
  switch (part) {
    case 1: {  // push button; the default one has a dark frame around it
      TRect face = r;
      if (t.Defaulted) {
        Frame(dc, r, COLOR_WINDOWFRAME);
        face.Inflate(-1, -1);
      }
      Control(dc, face, DFC_BUTTON, DFCS_BUTTONPUSH | Pushed(t) | Inactive(t));
      return;
    }
    case 2:
      Control(dc, r, DFC_BUTTON, DFCS_BUTTONRADIO | (t.Checked ? DFCS_CHECKED : 0u) | Pushed(t) | Inactive(t));
      return;
    case 3: {
      unsigned kind = t.Mixed ? DFCS_BUTTON3STATE | DFCS_CHECKED : DFCS_BUTTONCHECK | (t.Checked ? DFCS_CHECKED : 0u);
      Control(dc, r, DFC_BUTTON, kind | Pushed(t) | Inactive(t));
      return;
    }
    default:
      Edge(dc, r, EDGE_ETCHED, BF_RECT);
  }
}

// A sunken field: edits and combo boxes.
void Field(HDC dc, const TRect& r, const TStateTraits& t) {
  Edge(dc, r, EDGE_SUNKEN, BF_RECT);
  Fill(dc, r.Inflated(-2, -2), t.Disabled ? COLOR_BTNFACE : COLOR_WINDOW);
}

void Tab(HDC dc, TRect r, const TStateTraits& t) {
  if (!t.Selected && !t.Focused) r.Top += 2;
  Fill(dc, r, COLOR_BTNFACE);
  Edge(dc, r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
}
}  // namespace

bool DrawClassicElement(HDC dc, const TThemedElementDetails& d, const TRect& r) {
  int slot = ElementCatalog::SlotOf(d);
  if (slot < 0) return false;
  if (r.IsEmpty()) return true;
  TStateTraits t = StateTraitsOf(ElementCatalog::StateName(slot));
  switch (d.Element) {
    case teButton:
      Button(dc, r, d.Part, t);
      break;
    case teComboBox:
      if (d.Part == 2) Field(dc, r, t);
      else Control(dc, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | Pushed(t) | Inactive(t));
      break;
    case teEdit:
      Field(dc, r, t);
      break;
    case teGrid:
    case teHeader:
      if (d.Element == teGrid && d.Part == 2) {
        Fill(dc, r, t.Selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        break;
      }
      Fill(dc, r, COLOR_BTNFACE);
      if (t.Pressed) Edge(dc, r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
      else Edge(dc, r, EDGE_RAISED, BF_RECT | BF_SOFT);
      break;
    case teMonthCal:
      if (d.Part == 1) Fill(dc, r, COLOR_WINDOW);
      else if (t.Today) Frame(dc, r, COLOR_HIGHLIGHT);
      else if (t.Selected) Fill(dc, r, t.NotFocused ? COLOR_BTNFACE : COLOR_HIGHLIGHT);
      else Frame(dc, r, COLOR_HIGHLIGHT);  // hot
      break;
    case teProgress:
      if (d.Part <= 2) {
        Fill(dc, r, COLOR_WINDOW);
        Frame(dc, r, COLOR_BTNSHADOW);
      } else {
        Fill(dc, r, COLOR_HIGHLIGHT);
      }
      break;
    case teScrollBar:
      if (d.Part == 1) Control(dc, r, DFC_SCROLL, ScrollKind(t.Arrow) | Pushed(t) | Inactive(t));
      else if (d.Part <= 3) Edge(dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
      else Fill(dc, r, t.Pressed ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR);
      break;
    case teSpin: {
      static const unsigned kinds[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLRIGHT, DFCS_SCROLLLEFT};
      Control(dc, r, DFC_SCROLL, kinds[d.Part - 1] | Pushed(t) | Inactive(t));
      break;
    }
    case teTab:
      if (d.Part == 5) Edge(dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
      else Tab(dc, r, t);
      break;
    case teToolBar:
      if (d.Part == 0) Fill(dc, r, COLOR_BTNFACE);
      else if (d.Part == 2) Separator(dc, r, true);
      else if (d.Part == 3) Separator(dc, r, false);
      else if (t.Pressed || t.Checked) Edge(dc, r, BDR_SUNKENOUTER, BF_RECT);
      else if (t.Hot) Edge(dc, r, BDR_RAISEDINNER, BF_RECT);
      break;
    case teWindow:
      Fill(dc, r, COLOR_BTNFACE);
      break;
  }
  return true;
}
