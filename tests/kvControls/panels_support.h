#pragma once
// Shared pieces of the panel, group box and label tests: a fixture with a shown form in the
// native look, screen captures of a form's client area, and small pictures made in code.
#include <gtest/gtest.h>

#include "controls/support.h"
#include "kv/kvControls/kvPanels.h"
#include "platform/graphics/png.h"
#include "platform/themes/stylemanager.h"

namespace kvtest {

class PanelsTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    TStyleManager::SetStyle(TStyleManager::SystemStyleName);
    TStyleManager::SetClassicLook(false);
  }
  void TearDown() override {
    ControlsTest::TearDown();
    TStyleManager::SetStyle(TStyleManager::SystemStyleName);
    TStyleManager::SetClassicLook(false);
  }

  // A shown form without a frame whose client area is W x H.
  TForm* ShownForm(int W = 400, int H = 300) {
    TForm* f = MakeForm(100, 100, W, H);
    f->Show();
    Application->ProcessMessages();
    return f;
  }

  // What the screen shows of the form's client area, once everything pending has run.
  static void Shot(TCustomForm* f, TSurface& out) {
    Application->ProcessMessages();
    ASSERT_TRUE(Headless::CaptureWindow(f->Handle(), &out, true));
  }
  static uint32_t Px(const TSurface& s, int x, int y) { return s.Row(y)[x] | 0xFF000000u; }
  static uint32_t Opaque(TColor c) { return ColorToOpaquePixel(ColorToRGB(c)); }
};

// An opaque picture of W x H whose every pixel differs from its neighbours, so that a
// misplaced copy shows.
inline void MakePattern(TPicture* Picture, int W, int H) {
  TPngImage png;
  png.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      png.Pixels().Row(y)[x] = 0xFF000000u | static_cast<uint32_t>((x * 37 + 20) % 256) << 16 |
                               static_cast<uint32_t>((y * 53 + 40) % 256) << 8 | static_cast<uint32_t>((x + y) * 11 % 256);
  Picture->SetGraphic(&png);
}
// The pixel the pattern has at (x, y) when tiled from the origin.
inline uint32_t PatternPixel(const TPicture* Picture, int x, int y) {
  const auto* png = static_cast<const TPngImage*>(Picture->Graphic());
  return png->Pixels().Row(y % png->Height())[x % png->Width()] | 0xFF000000u;
}

}  // namespace kvtest
