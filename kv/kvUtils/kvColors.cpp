#include "kv/kvUtils/kvColors.h"

#include <algorithm>
#include <cmath>

#include "kv/kvUtils/kvElements.h"
#include "platform/themes/stylemanager.h"

namespace {
// Round to nearest, ties to even (the current rounding mode is never changed here).
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

uint8_t Byte(double v) { return static_cast<uint8_t>(std::clamp(RoundEven(v), 0, 255)); }

// a * b / c rounded to nearest, halves away from zero.
int MulDivRound(int a, int b, int c) {
  long long p = static_cast<long long>(a) * b;
  long long q = (std::llabs(p) * 2 + std::llabs(c)) / (2 * std::llabs(c));
  return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}

// Converts, lets `change` move V, converts back.
template <class F>
TColor WithValue(TColor Color, F change) {
  TColor c = ColorToRGB(Color);
  int v, s, h;
  ColorToHSV(static_cast<uint8_t>(GetRValue(c)), static_cast<uint8_t>(GetGValue(c)),
             static_cast<uint8_t>(GetBValue(c)), v, s, h);
  v = std::clamp(change(v), 0, 100);
  uint8_t r, g, b;
  HSVToRGB(v, s, h, r, g, b);
  return RGB(r, g, b);
}

TColor StyleTextColor(const TThemedElementDetails& details, TkvsCtrlState state) {
  TColor result = state == kvsDisabled ? clGrayText : clBtnText;
  if (IsCustomStyle()) {
    TColor c;
    if (StyleServices().GetElementColor(details, ecTextColor, c)) result = c;
  }
  return result;
}
}  // namespace

void ColorToHSV(uint8_t R, uint8_t G, uint8_t B, int& V, int& S, int& H) {
  int mx = std::max({R, G, B}), mn = std::min({R, G, B});
  V = RoundEven(mx / 255.0 * 100.0);
  if (mx == mn) {
    S = 0;
    H = 0;
    return;
  }
  double delta = mx - mn;
  S = RoundEven(delta / mx * 100.0);
  double h;
  if (mx == R) h = (G - B) / delta;
  else if (mx == G) h = 2 + (B - R) / delta;
  else h = 4 + (R - G) / delta;
  h /= 6;
  if (h < 0) h += 1;
  H = RoundEven(h * 359.0);
}

void HSVToRGB(int V, int S, int H, uint8_t& R, uint8_t& G, uint8_t& B) {
  double s = S / 100.0, v = V * 255.0 / 100.0;
  if (s == 0) {
    R = G = B = Byte(v);
    return;
  }
  double f = H / 60.0;
  double i = std::floor(f), r = f - i;
  double p = v * (1 - s), q = v * (1 - s * r), t = v * (1 - s * (1 - r));
  double rgb[3];
  switch (static_cast<int>(i)) {
    case 0: rgb[0] = v; rgb[1] = t; rgb[2] = p; break;
    case 1: rgb[0] = q; rgb[1] = v; rgb[2] = p; break;
    case 2: rgb[0] = p; rgb[1] = v; rgb[2] = t; break;
    case 3: rgb[0] = p; rgb[1] = q; rgb[2] = v; break;
    case 4: rgb[0] = t; rgb[1] = p; rgb[2] = v; break;
    default: rgb[0] = v; rgb[1] = p; rgb[2] = q; break;
  }
  R = Byte(rgb[0]);
  G = Byte(rgb[1]);
  B = Byte(rgb[2]);
}

TColor LighterColor(TColor Color, int Percent) {
  return WithValue(Color, [&](int v) { return v + MulDivRound(v, Percent, 100); });
}

TColor DarkerColor(TColor Color, int Percent) {
  return WithValue(Color, [&](int v) { return v - MulDivRound(v, Percent, 100); });
}

TColor ShadeColor(TColor Color) {
  TColor c = ColorToRGB(Color);
  int v, s, h;
  ColorToHSV(static_cast<uint8_t>(GetRValue(c)), static_cast<uint8_t>(GetGValue(c)),
             static_cast<uint8_t>(GetBValue(c)), v, s, h);
  return v >= 50 ? DarkerColor(c, 10) : LighterColor(c, 25);
}

TColor MixColors(TColor Color1, TColor Color2) {
  TColor a = ColorToRGB(Color1), b = ColorToRGB(Color2);
  return RGB((GetRValue(a) + GetRValue(b)) >> 1, (GetGValue(a) + GetGValue(b)) >> 1,
             (GetBValue(a) + GetBValue(b)) >> 1);
}

TColor GetStyleSystemColor(TColor Color) {
  return IsCustomStyle() ? StyleServices().GetSystemColor(Color) : Color;
}

TColor GetEditBrushColor(TkvsCtrlState State) {
  if (!IsCustomStyle()) return clWindow;
  return StyleServices().GetStyleColor(State == kvsNormal ? scEdit : scEditDisabled);
}

TColor GetEditTextColor(TkvsCtrlState State) {
  if (IsCustomStyle())
    return StyleServices().GetStyleFontColor(State == kvsNormal ? sfEditBoxTextNormal : sfEditBoxTextDisabled);
  return State == kvsDisabled ? clGrayText : clWindowText;
}

TColor GetSelectionTextColor() {
  TColor c;
  if (ThemesOn() && StyleServices().GetElementColor(GetElementDetails(tgCellSelected), ecTextColor, c)) return c;
  return clHighlightText;
}

uint32_t ColorToPixel(TColor Color, uint8_t Alpha) {
  TColor c = ColorToRGB(Color);
  return (static_cast<uint32_t>(Alpha) << 24) | (static_cast<uint32_t>(GetRValue(c)) << 16) |
         (static_cast<uint32_t>(GetGValue(c)) << 8) | static_cast<uint32_t>(GetBValue(c));
}

TColor GetButtonTextColor(TkvsCtrlState State) { return StyleTextColor(PushButtonDetails(State), State); }

TColor GetToolButtonTextColor(TkvsCtrlState State) { return StyleTextColor(ToolButtonDetails(State), State); }

TColor GetCheckBoxTextColor(TkvsCtrlState State) {
  return StyleTextColor(CheckBoxDetails(State, 0), State);
}

TColor GetGroupBoxTextColor(TkvsCtrlState State) {
  return StyleTextColor(GetElementDetails(State == kvsDisabled ? tbGroupBoxDisabled : tbGroupBoxNormal), State);
}

TColor GetHeaderTextColor(TkvsCtrlState State) {
  TThemedGrid g = State == kvsHot ? tgFixedCellHot : State == kvsPressed ? tgFixedCellPressed : tgFixedCellNormal;
  return StyleTextColor(GetElementDetails(g), State);
}

TColor GetTabTextColor(TkvsCtrlState State) {
  TThemedTab t = State == kvsHot        ? ttTabItemHot
                 : State == kvsFocused  ? ttTabItemSelected
                 : State == kvsDisabled ? ttTabItemDisabled
                                        : ttTabItemNormal;
  return StyleTextColor(GetElementDetails(t), State);
}
