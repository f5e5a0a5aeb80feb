// A sheet of all draw styles, drawn from the generated wallpapers, for looking at
// (build/sheets/imagecollection.png). Each style is also checked to draw inside its rectangle
// and nowhere else.
#include <gtest/gtest.h>

#include "platform/graphics/blit.h"
#include "platform/graphics/text.h"
#include "support.h"

namespace {
// The wallpaper scaled to w x h, as a 32-bit picture with alpha.
std::unique_ptr<TBitmap> Scaled(const char* file, int w, int h) {
  TPicture source;
  source.LoadFromFile(String(KV_ASSETS_DIR) + "/" + file);
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetAlphaFormat(afPremultiplied);
  b->SetSize(w, h);
  SetStretchBltMode(b->Canvas()->Handle(), HALFTONE);
  b->Canvas()->StretchDraw(TRect(0, 0, w, h), source.Graphic());
  return b;
}

bool UsesTile(TkvImageDrawStyle s) {
  switch (s) {
    case idsTile:
    case idsStretch:
    case idsTopTile:
    case idsLeftTile:
    case idsRightTile:
    case idsBottomTile:
    case idsHorzStretchTile:
    case idsVertStretchTile: return true;
    default: return false;
  }
}

void Checker(TCanvas* c, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; y += 8)
    for (int x = r.Left; x < r.Right; x += 8) {
      c->Brush()->SetColor(((x - r.Left) / 8 + (y - r.Top) / 8) % 2 ? TColor(RGB(214, 214, 214)) : clWhite);
      c->FillRect(TRect(x, y, std::min(x + 8, r.Right), std::min(y + 8, r.Bottom)));
    }
}
}  // namespace

TEST(ImageCollectionSheet, EveryDrawStyleDrawsInsideItsRectangle) {
  auto tile = Scaled("wallpaper2.png", 80, 40);
  auto card = Scaled("wallpaper3.png", 90, 122);
  constexpr int cellW = 220, cellH = 150, gap = 20, caption = 18, columns = 6;
  const int cells = static_cast<int>(EnumCount<TkvImageDrawStyle>()) + 1;  // and a tile with gaps
  const int rows = (cells + columns - 1) / columns;
  TBitmap sheet(gap + columns * (cellW + gap), gap + rows * (caption + cellH + gap));
  sheet.Canvas()->Brush()->SetColor(RGB(246, 247, 250));
  sheet.Canvas()->FillRect(TRect(0, 0, sheet.Width(), sheet.Height()));
  sheet.Canvas()->Font()->SetName("DejaVu Sans");
  sheet.Canvas()->Font()->SetSize(9);

  for (int i = 0; i < cells; ++i) {
    const bool gaps = i == cells - 1;
    const auto style = gaps ? idsTile : static_cast<TkvImageDrawStyle>(i);
    String name = EnumInfo<TkvImageDrawStyle>().Name(style) + (gaps ? " (offsets 8, 6)" : "");
    SCOPED_TRACE(name);
    TkvImageCollection c(nullptr);
    kvtest::AddItem(c, UsesTile(style) ? static_cast<const TGraphic&>(*tile) : *card, style, gaps ? 8 : 0,
                    gaps ? 6 : 0);

    // Drawn alone first, into a target with a margin, to see that nothing leaves the rectangle.
    kvtest::TTarget alone(cellW + 40, cellH + 40);
    const TRect inner(20, 20, 20 + cellW, 20 + cellH);
    c.Draw(alone.Canvas(), inner, 0);
    EXPECT_GT(alone.CountDrawn(inner), 0);
    EXPECT_EQ(alone.CountDrawn(TRect(0, 0, alone.Bitmap.Width(), alone.Bitmap.Height())), alone.CountDrawn(inner));

    const int x = gap + (i % columns) * (cellW + gap), y = gap + (i / columns) * (caption + cellH + gap);
    sheet.Canvas()->Brush()->SetStyle(bsClear);
    sheet.Canvas()->Font()->SetColor(RGB(40, 48, 64));
    sheet.Canvas()->TextOut(x, y, name);
    const TRect target(x, y + caption, x + cellW, y + caption + cellH);
    sheet.Canvas()->Brush()->SetStyle(bsSolid);
    sheet.Canvas()->Brush()->SetColor(RGB(220, 60, 60));
    sheet.Canvas()->FrameRect(target.Inflated(1, 1));
    Checker(sheet.Canvas(), target);
    c.Draw(sheet.Canvas(), target, 0);
  }
  sheet.SaveToFile(String(KV_SHEETS_DIR) + "/imagecollection.png");
}
