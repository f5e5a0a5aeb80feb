#pragma once
// Helpers of the kvUtils tests: a small opaque white bitmap to draw on, read back as rows of
// characters, and a guard that puts the look back to the native style after a test.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/themes/stylemanager.h"

namespace kvutest {
using Rows = std::vector<std::string>;

// Opaque pixels of the test colours.
constexpr uint32_t kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u, kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu,
                   kGreen = 0xFF00FF00u;

class TPaintBox {
public:
  TPaintBox(int w, int h, uint32_t ground = kWhite) : bitmap(w, h) {
    bitmap.Surface().Fill(ground);
  }
  TCanvas* Canvas() { return bitmap.Canvas(); }
  uint32_t At(int x, int y) const { return bitmap.Surface().Row(y)[x]; }
  // '.' white, '#' black, 'r' red, 'b' blue, 'g' green, '?' anything else, plus extra entries.
  Rows Picture(std::map<uint32_t, char> extra = {}) const {
    std::map<uint32_t, char> legend{{kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}, {kBlue, 'b'}, {kGreen, 'g'}};
    for (auto& [k, v] : extra) legend[k] = v;
    Rows rows;
    const TSurface& s = bitmap.Surface();
    for (int y = 0; y < s.Height(); ++y) {
      std::string row;
      for (int x = 0; x < s.Width(); ++x) {
        auto it = legend.find(s.Row(y)[x]);
        row += it == legend.end() ? '?' : it->second;
      }
      rows.push_back(row);
    }
    return rows;
  }
  // True when no pixel differs from `ground`.
  bool Untouched(uint32_t ground = kWhite) const {
    const TSurface& s = bitmap.Surface();
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x)
        if (s.Row(y)[x] != ground) return false;
    return true;
  }
  TBitmap bitmap;
};

// Every test leaves the native look active, whatever it switched to.
class LookTest : public testing::Test {
protected:
  ~LookTest() override {
    TStyleManager::SetClassicLook(false);
    TStyleManager::SetStyle(TStyleManager::SystemStyleName);
  }
};

// The opaque pixel of a colour (system colours resolved).
inline uint32_t Px(TColor c) {
  TColor rgb = ColorToRGB(c);
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(rgb)) << 16) | (static_cast<uint32_t>(GetGValue(rgb)) << 8) |
         static_cast<uint32_t>(GetBValue(rgb));
}
}  // namespace kvutest
