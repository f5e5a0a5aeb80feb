#pragma once
// Colours of the generated pictures: straight (not premultiplied) RGB in 0..1, the shared palette
// and the few blends the drawing code needs.
#include <cstdint>

namespace assetgen {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

constexpr Rgb Hex(std::uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

constexpr Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr Rgb Lighter(Rgb c, double t) { return Mix(c, {1, 1, 1}, t); }
constexpr Rgb Darker(Rgb c, double t) { return Mix(c, {0, 0, 0}, t); }

// One palette for every glyph and wallpaper, so the set reads as one family: saturated but not
// loud hues for bodies, a cool slate for metal and frames, white paper with slate ink.
namespace palette {
constexpr Rgb Blue = Hex(0x2F7FE8);
constexpr Rgb Sky = Hex(0x4DB4F2);
constexpr Rgb Teal = Hex(0x17AFA0);
constexpr Rgb Green = Hex(0x3DBA5C);
constexpr Rgb Amber = Hex(0xF4B43A);
constexpr Rgb Orange = Hex(0xF2812E);
constexpr Rgb Red = Hex(0xE5484D);
constexpr Rgb Pink = Hex(0xE0529C);
constexpr Rgb Purple = Hex(0x8A5CF0);
constexpr Rgb Slate = Hex(0x64748B);
constexpr Rgb Steel = Hex(0xA9B7C9);
constexpr Rgb Paper = Hex(0xFBFCFE);
constexpr Rgb Ink = Hex(0x3E4C60);
constexpr Rgb White = Hex(0xFFFFFF);
// The header panel of the demonstration: red 0, green 39, blue 79.
constexpr Rgb HeaderNavy = Hex(0x00274F);
}  // namespace palette

}  // namespace assetgen
