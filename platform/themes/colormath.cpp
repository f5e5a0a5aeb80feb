#include "platform/themes/colormath.h"

#include <algorithm>
#include <cmath>

namespace {
int MixChannel(int a, int b, int percent) { return (a * (100 - percent) + b * percent + 50) / 100; }
double Linear(int channel) {
  double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
}  // namespace

TColor MixColor(TColor a, TColor b, int percent) {
  percent = std::clamp(percent, 0, 100);
  return RGB(MixChannel(GetRValue(a), GetRValue(b), percent),
             MixChannel(GetGValue(a), GetGValue(b), percent),
             MixChannel(GetBValue(a), GetBValue(b), percent));
}

TStyleRGBA MixRGBA(TStyleRGBA a, TStyleRGBA b, int percent) {
  percent = std::clamp(percent, 0, 100);
  return {static_cast<uint8_t>(MixChannel(a.R, b.R, percent)),
          static_cast<uint8_t>(MixChannel(a.G, b.G, percent)),
          static_cast<uint8_t>(MixChannel(a.B, b.B, percent)),
          static_cast<uint8_t>(MixChannel(a.A, b.A, percent))};
}

TColor Lighten(TColor c, int percent) { return MixColor(c, clWhite, percent); }
TColor Darken(TColor c, int percent) { return MixColor(c, clBlack, percent); }

double Luminance(TColor c) {
  return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

double ContrastRatio(TColor a, TColor b) {
  double la = Luminance(a), lb = Luminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

TColor Flatten(TStyleRGBA c, TColor background) {
  return MixColor(background, c.ToColor(), (c.A * 100 + 127) / 255);
}
