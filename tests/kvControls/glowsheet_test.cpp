// A sheet of glowing captions and images for looking at (build/sheets/glow.png): captions by
// glow size, with and without Intensive, on light and dark grounds; glyphs of the generated
// image lists with their glows; a button's caption and glyph in each state as its glow
// settings resolve them, in the native and the classic look.
#include <gtest/gtest.h>

#include "kv/kvControls/kvGlowEffect.h"
#include "kv/kvUtils/kvGlow.h"
#include "platform/graphics/text.h"
#include "platform/themes/stylemanager.h"

namespace {
void LoadList(TImageList& list, const char* file, int size) {
  TBitmap strip;
  strip.LoadFromFile(String(KV_ASSETS_DIR) + "/" + file);
  list.SetSize(size, size);
  list.SetColorDepth(cd32Bit);
  list.Add(&strip, nullptr);
}

class TSheet {
public:
  TSheet(int w, int h) : FBitmap(w, h) {
    Fill(TRect(0, 0, w, h), RGB(246, 247, 250));
    Canvas()->Font()->SetName("DejaVu Sans");
  }
  TCanvas* Canvas() { return FBitmap.Canvas(); }
  void Fill(const TRect& r, TColor c) {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(c);
    Canvas()->FillRect(r);
  }
  void Label(int x, int y, const String& text) {
    Canvas()->Font()->SetSize(8);
    Canvas()->Font()->SetColor(RGB(90, 98, 112));
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->TextOut(x, y, text);
  }
  // The drawn part of a rectangle: pixels that differ from its ground.
  int Changed(const TRect& r, TColor ground) {
    uint32_t g = ColorToOpaquePixel(ground);
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += FBitmap.ScanLine(y)[x] != g;
    return n;
  }
  void Save(const String& path) { FBitmap.SaveToFile(path); }

private:
  TBitmap FBitmap;
};

const TColor kLight = RGB(236, 239, 244), kDark = RGB(38, 44, 58);
}  // namespace

TEST(GlowSheet, CaptionsAndImagesGlowInEveryState) {
  TImageList big(nullptr), mid(nullptr);
  LoadList(big, "imagelist1_48.png", 48);
  LoadList(mid, "imagelist3_32.png", 32);
  TSheet sheet(980, 700);

  // Captions: glow size by row; light and dark grounds, Intensive on and off, by column.
  const int sizes[] = {0, 3, 7, 12};
  struct Column {
    TColor ground, text, glow;
    bool intensive;
    const char* name;
  };
  const Column columns[] = {{kLight, clBlack, clHighlight, true, "highlight, intensive"},
                            {kLight, clBlack, RGB(255, 150, 30), false, "orange"},
                            {kDark, clWhite, RGB(90, 170, 255), true, "sky on dark, intensive"},
                            {kDark, RGB(255, 240, 200), RGB(255, 120, 40), false, "amber on dark"}};
  for (int c = 0; c < 4; ++c) {
    sheet.Label(20 + c * 240, 10, columns[c].name);
    for (int r = 0; r < 4; ++r) {
      const TRect cell(20 + c * 240, 28 + r * 56, 240 + c * 240, 78 + r * 56);
      sheet.Fill(cell, columns[c].ground);
      TCanvas* cv = sheet.Canvas();
      cv->Font()->SetSize(11);
      cv->Font()->SetColor(columns[c].text);
      const TRect text = cell.Inflated(-14, -12);
      DrawTextWithGlow(cv, text, "Glow size " + std::to_string(sizes[r]), DT_SINGLELINE | DT_VCENTER | DT_CENTER, 0,
                       columns[c].glow, sizes[r], columns[c].intensive, 255, false);
      EXPECT_GT(sheet.Changed(cell, columns[c].ground), 0);
    }
  }

  // Glyphs with their glows: 48-pixel images at three sizes, 32-pixel images below.
  sheet.Label(20, 258, "DrawImageWithGlow: 48 px at glow 4, 7, 10; 32 px at glow 6");
  for (int i = 0; i < 9; ++i) {
    const int x = 36 + i * 104, size = 4 + 3 * (i % 3);
    const TColor ground = i % 2 ? kDark : kLight;
    sheet.Fill(TRect(x - 16, 276, x + 80, 356), ground);
    DrawImageWithGlow(sheet.Canvas(), x + 16, 292, &big, i, 0, i % 2 ? RGB(120, 200, 255) : clHighlight, size, 230);
  }
  for (int i = 0; i < 15; ++i) {
    const TColor ground = i % 2 ? kDark : kLight;
    sheet.Fill(TRect(20 + i * 63, 366, 83 + i * 63, 420), ground);
    DrawImageWithGlow(sheet.Canvas(), 36 + i * 63, 377, &mid, i, 1, i % 2 ? RGB(255, 200, 90) : RGB(60, 190, 120), 6,
                      255);
  }

  // A button's caption and glyph in each state, as its glow settings resolve them, in the
  // native look (upper row) and the classic look (lower row: the highlight glow reads softer).
  TkvButtonGlowEffect glow;
  glow.SetEnabled(true);
  glow.SetHotColor(RGB(255, 160, 40));
  glow.SetPressedGlowSize(4);
  glow.SetPressedAlphaValue(200);
  glow.SetStates(TkvsCtrlStates{kvsNormal, kvsHot, kvsPressed, kvsFocused, kvsDisabled});
  const TkvsCtrlState states[] = {kvsNormal, kvsHot, kvsPressed, kvsFocused, kvsDisabled};
  for (int look = 0; look < 2; ++look) {
    TStyleManager::SetClassicLook(look == 1);
    sheet.Label(20, 432 + look * 130, look ? "classic look" : "native look");
    for (int s = 0; s < 5; ++s) {
      TColor color;
      uint8_t alpha, size;
      ASSERT_TRUE(glow.GetGlowParams(states[s], color, alpha, size));
      const TRect cell(20 + s * 192, 450 + look * 130, 200 + s * 192, 560 + look * 130);
      sheet.Fill(cell, kLight);
      TCanvas* cv = sheet.Canvas();
      cv->Font()->SetSize(10);
      cv->Font()->SetColor(states[s] == kvsDisabled ? TColor(clGrayText) : TColor(clBlack));
      DrawImageAndTextGlow(cv, cell.Inflated(-6, -6), -1, 4, 2, EnumInfo<TkvsCtrlState>().Name(states[s]), 3, &big,
                           states[s] != kvsDisabled, false, clNone, glow.Offset(), color, size, glow.Intensive(), alpha,
                           true, false, false);
      EXPECT_GT(sheet.Changed(cell, kLight), 0);
    }
  }
  TStyleManager::SetClassicLook(false);
  sheet.Save(String(KV_SHEETS_DIR) + "/glow.png");
}
