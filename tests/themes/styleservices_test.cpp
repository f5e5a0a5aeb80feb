#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/graphics/framectl.h"
#include "platform/graphics/surface.h"
#include "platform/themes/stylemanager.h"

namespace {
// A style whose push buttons are plain opaque red, so pixels tell where it drew.
const char* kFlatStyle =
    "kvstyle 1\nname \"Flat Test\"\nsystem { clBtnFace #203040; clWindow #F0E0D0 }\n"
    "element Button.PushButton { fill #FF0000; border none; inner none; shadow none; radius 0 }\n"
    "element Button.CheckBox { size 16 15 }\n";

class StyleServicesTest : public testing::Test {
protected:
  StyleServicesTest() : surface(40, 30), dc(CreateSurfaceDC(&surface)) {
    if (!TStyleManager::Style("Flat Test"))
      TStyleManager::LoadFromBytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(kFlatStyle),
                                                            std::strlen(kFlatStyle)), "flat");
  }
  ~StyleServicesTest() override {
    DeleteDC(dc);
    TStyleManager::SetClassicLook(false);
    TStyleManager::SetStyle(TStyleManager::SystemStyleName);
  }
  uint32_t At(int x, int y) const { return surface.Row(y)[x]; }
  TSurface surface;
  HDC dc;
};
constexpr uint32_t kRed = 0xFFFF0000u;
}  // namespace

TEST_F(StyleServicesTest, DrawElementHonoursTheOriginAndTheClip) {
  TStyleManager::SetStyle("Flat Test");
  SetViewportOrgEx(dc, 10, 5, nullptr);
  IntersectClipRect(dc, 0, 0, 8, 100);  // logical: device columns 10..17
  TRect clipArg(0, 0, 100, 6);          // and rows 5..10 through the call's own clip
  EXPECT_TRUE(StyleServices().DrawElement(dc, GetElementDetails(tbPushButtonNormal), TRect(0, 0, 20, 12), &clipArg));
  EXPECT_EQ(At(10, 5), kRed);
  EXPECT_EQ(At(17, 10), kRed);
  EXPECT_EQ(At(18, 8), 0u);   // outside the DC's clip
  EXPECT_EQ(At(12, 11), 0u);  // outside the clip argument
  EXPECT_EQ(At(9, 5), 0u);
  // The call's clip is gone afterwards: the DC's own clip alone applies again.
  TRect box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, TRect(0, 0, 8, 25));
}

TEST_F(StyleServicesTest, RefusesDetailsOutsideTheCatalogue) {
  EXPECT_FALSE(StyleServices().DrawElement(dc, GetElementDetails(teButton, 7, 1), TRect(0, 0, 10, 10)));
  EXPECT_FALSE(StyleServices().DrawElement(nullptr, GetElementDetails(tbPushButtonNormal), TRect(0, 0, 10, 10)));
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) ASSERT_EQ(At(x, y), 0u);
}

TEST_F(StyleServicesTest, RepeatedDrawsGiveTheSamePixels) {
  TStyleManager::SetStyle("Glossy");
  TSurface first(40, 30);
  HDC firstDC = CreateSurfaceDC(&first);
  StyleServices().DrawElement(firstDC, GetElementDetails(tbPushButtonHot), TRect(2, 3, 38, 27));
  StyleServices().DrawElement(dc, GetElementDetails(tbPushButtonHot), TRect(2, 3, 38, 27));
  DeleteDC(firstDC);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(first.Row(y)[x], At(x, y)) << x << "," << y;
  EXPECT_NE(At(20, 15), 0u);
}

TEST_F(StyleServicesTest, ClassicSwitchDisablesStyleServicesAndDrawsFrameControls) {
  ASSERT_TRUE(StyleServices().Enabled());
  EXPECT_TRUE(StyleServices().IsSystemStyle());
  TStyleManager::SetClassicLook(true);
  EXPECT_FALSE(StyleServices().Enabled());
  EXPECT_TRUE(TStyleManager::ClassicLook());
  StyleServices().DrawElement(dc, GetElementDetails(tbPushButtonPressed), TRect(1, 1, 31, 21));
  TSurface expected(40, 30);
  HDC expectedDC = CreateSurfaceDC(&expected);
  TRect r(1, 1, 31, 21);
  DrawFrameControl(expectedDC, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  DeleteDC(expectedDC);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(expected.Row(y)[x], At(x, y)) << x << "," << y;
  // A custom style still draws itself while the classic look is on.
  TStyleManager::SetStyle("Flat Test");
  EXPECT_TRUE(StyleServices().Enabled());
}

TEST(StyleServicesEnvironment, ClassicLookCanBeChosenForAWholeProgram) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";  // a fresh process reads the environment
  setenv("KV_CLASSIC", "1", 1);
  EXPECT_EXIT(std::exit(StyleServices().Enabled() || !TStyleManager::ClassicLook() ? 1 : 0),
              testing::ExitedWithCode(0), "");
  unsetenv("KV_CLASSIC");
}

TEST_F(StyleServicesTest, SystemColoursMapOnlyUnderACustomStyle) {
  TCustomStyleServices* flat = TStyleManager::Style("Flat Test");
  TCustomStyleServices* system = TStyleManager::SystemStyle();
  const TColor unchanged[] = {clRed, RGB(1, 2, 3), clNone, clDefault, clBlack};
  for (TColor c : unchanged) {
    EXPECT_EQ(flat->GetSystemColor(c), c);
    EXPECT_EQ(system->GetSystemColor(c), c);
  }
  EXPECT_EQ(flat->GetSystemColor(clBtnFace), RGB(0x20, 0x30, 0x40));
  EXPECT_EQ(flat->GetSystemColor(clWindow), RGB(0xF0, 0xE0, 0xD0));
  EXPECT_EQ(flat->GetSystemColor(clHighlight), DefaultSystemColors().Colors[COLOR_HIGHLIGHT]);
  EXPECT_EQ(system->GetSystemColor(clBtnFace), clBtnFace);
  // While the style is active, the system colour table is the style's.
  TStyleManager::SetStyle("Flat Test");
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(0x20, 0x30, 0x40));
  TStyleManager::SetStyle("Windows");
  EXPECT_EQ(ColorToRGB(clBtnFace), DefaultSystemColors().Colors[COLOR_BTNFACE]);
}

TEST_F(StyleServicesTest, ElementSizesAndColoursMayFail) {
  TCustomStyleServices* flat = TStyleManager::Style("Flat Test");
  TSize size;
  ASSERT_TRUE(flat->GetElementSize(dc, GetElementDetails(tbCheckBoxCheckedNormal), esActual, size));
  EXPECT_EQ(size, TSize(16, 15));
  EXPECT_FALSE(flat->GetElementSize(dc, GetElementDetails(tbPushButtonNormal), esActual, size));
  EXPECT_FALSE(flat->GetElementSize(dc, GetElementDetails(teButton, 9, 1), esActual, size));
  TStyleManager::SetClassicLook(true);
  ASSERT_TRUE(StyleServices().GetElementSize(dc, GetElementDetails(tbCheckBoxCheckedNormal), esActual, size));
  EXPECT_EQ(size, TSize(13, 13));

  TColor c;
  EXPECT_TRUE(flat->GetElementColor(GetElementDetails(tbPushButtonNormal), ecFillColor, c));
  EXPECT_EQ(c, clRed);
  EXPECT_FALSE(flat->GetElementColor(GetElementDetails(tbPushButtonNormal), ecBorderColor, c));
  EXPECT_FALSE(flat->GetElementColor(GetElementDetails(tsLowerTrackVertNormal), ecTextColor, c));
  EXPECT_FALSE(flat->GetElementColor(GetElementDetails(teWindow, 3, 0), ecTextColor, c));
}

// The text colours the drawing routines ask of a custom style, for every state they ask about.
TEST(CustomStyleText, EveryCarriedStyleAnswersEveryCaptionTheLibraryAsksFor) {
  const TThemedElementDetails asked[] = {
      GetElementDetails(tbPushButtonNormal), GetElementDetails(tbPushButtonHot),
      GetElementDetails(tbPushButtonPressed), GetElementDetails(tbPushButtonDefaulted),
      GetElementDetails(tbPushButtonDisabled), GetElementDetails(ttbButtonNormal),
      GetElementDetails(ttbButtonHot), GetElementDetails(ttbButtonPressed),
      GetElementDetails(ttbButtonDisabled), GetElementDetails(tbCheckBoxUncheckedNormal),
      GetElementDetails(tbCheckBoxUncheckedHot), GetElementDetails(tbCheckBoxUncheckedPressed),
      GetElementDetails(tbCheckBoxUncheckedDisabled), GetElementDetails(tbGroupBoxNormal),
      GetElementDetails(tbGroupBoxDisabled), GetElementDetails(tgFixedCellNormal),
      GetElementDetails(tgFixedCellHot), GetElementDetails(tgFixedCellPressed),
      GetElementDetails(ttTabItemNormal), GetElementDetails(ttTabItemHot),
      GetElementDetails(ttTabItemSelected), GetElementDetails(ttTabItemDisabled),
      GetElementDetails(tgCellSelected)};
  for (const String& name : TStyleManager::StyleNames()) {
    TCustomStyleServices* style = TStyleManager::Style(name);
    if (style->IsSystemStyle()) continue;
    for (const TThemedElementDetails& d : asked) {
      TColor text = clNone, fill = clNone;
      ASSERT_TRUE(style->GetElementColor(d, ecTextColor, text))
          << name << " " << ElementCatalog::ValueName(ElementCatalog::SlotOf(d));
      // Never the face it is drawn on (the flaw of a face-coloured fallback).
      if (style->GetElementColor(d, ecFillColor, fill)) {
        EXPECT_NE(text, fill) << name;
      }
      EXPECT_NE(text, style->GetSystemColor(clBtnFace)) << name;
    }
  }
}
