// Colour routines: HSV conversion and the colours derived from it, mixing, pixels, and the
// style-dependent colours (system colour mapping, edit colours, caption colours by state).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "kv/kvUtils/kvColors.h"
#include "support.h"

using kvutest::LookTest;

namespace {
struct HsvCase {
  uint8_t R, G, B;
  int V, S, H;
};
}  // namespace

TEST(HsvTest, ColorToHsvTable) {
  const HsvCase cases[] = {
      {255, 0, 0, 100, 100, 0},     {0, 255, 0, 100, 100, 120},  // 1/3 of 359 = 119.67
      {0, 0, 255, 100, 100, 239},   {255, 255, 0, 100, 100, 60},  // red wins a tie for max
      {255, 0, 255, 100, 100, 299},                                // negative hue wraps
      {10, 20, 30, 12, 67, 209},    {128, 128, 128, 50, 0, 0},  {0, 0, 0, 0, 0, 0},
      {200, 199, 199, 78, 0, 0},    // S = 0.5 rounds to even 0
      {200, 195, 195, 78, 2, 0},    // S = 2.5 rounds to even 2
  };
  for (const HsvCase& c : cases) {
    int v = -1, s = -1, h = -1;
    ColorToHSV(c.R, c.G, c.B, v, s, h);
    EXPECT_EQ(v, c.V) << int(c.R) << "," << int(c.G) << "," << int(c.B);
    EXPECT_EQ(s, c.S) << int(c.R) << "," << int(c.G) << "," << int(c.B);
    EXPECT_EQ(h, c.H) << int(c.R) << "," << int(c.G) << "," << int(c.B);
  }
}

TEST(HsvTest, HsvToRgbTable) {
  const HsvCase cases[] = {
      {255, 0, 0, 100, 100, 0},   {0, 255, 0, 100, 100, 120},
      {0, 4, 255, 100, 100, 239},  // hue 239 read as degrees lies just short of blue
      {128, 128, 128, 50, 0, 77},  // grey: 127.5 rounds to even 128, hue ignored
      {255, 128, 255, 100, 50, 300}, {0, 0, 0, 0, 100, 200},
  };
  for (const HsvCase& c : cases) {
    uint8_t r, g, b;
    HSVToRGB(c.V, c.S, c.H, r, g, b);
    EXPECT_EQ(int(r), c.R) << c.V << "," << c.S << "," << c.H;
    EXPECT_EQ(int(g), c.G) << c.V << "," << c.S << "," << c.H;
    EXPECT_EQ(int(b), c.B) << c.V << "," << c.S << "," << c.H;
  }
}

TEST(HsvTest, LighterDarkerAndShade) {
  EXPECT_EQ(LighterColor(clBlack, 50), clBlack);  // V = 0 stays 0
  EXPECT_EQ(LighterColor(RGB(128, 128, 128), 50), RGB(191, 191, 191));
  EXPECT_EQ(LighterColor(RGB(128, 128, 128), 200), clWhite);  // capped at V = 100
  EXPECT_EQ(LighterColor(clWhite, 30), clWhite);
  EXPECT_EQ(DarkerColor(clWhite, 10), RGB(230, 230, 230));
  EXPECT_EQ(DarkerColor(RGB(128, 128, 128), 25), RGB(94, 94, 94));  // 50 * 25 / 100 rounds to 13
  EXPECT_EQ(DarkerColor(clWhite, 150), clBlack);                    // floored at V = 0
  EXPECT_EQ(ShadeColor(clWhite), DarkerColor(clWhite, 10));
  EXPECT_EQ(ShadeColor(RGB(40, 40, 40)), LighterColor(RGB(40, 40, 40), 25));
  EXPECT_EQ(ShadeColor(RGB(40, 40, 40)), RGB(51, 51, 51));
  // System colours are resolved first.
  EXPECT_EQ(DarkerColor(clBtnFace, 10), DarkerColor(ColorToRGB(clBtnFace), 10));
}

TEST(HsvTest, MixAndPixel) {
  EXPECT_EQ(MixColors(clWhite, clBlack), RGB(127, 127, 127));
  EXPECT_EQ(MixColors(RGB(10, 21, 255), RGB(3, 0, 254)), RGB(6, 10, 254));
  EXPECT_EQ(MixColors(clBtnFace, clBtnFace), ColorToRGB(clBtnFace));
  EXPECT_EQ(ColorToPixel(RGB(1, 2, 3), 0x80), 0x80010203u);
  EXPECT_EQ(ColorToPixel(clRed, 0), 0x00FF0000u);  // alpha does not scale the channels
  EXPECT_EQ(ColorToPixel(clBtnFace, 255), kvutest::Px(clBtnFace));
}

namespace {
// A style with a distinct caption colour for every state the colour family asks about.
const char* kCaptionStyle = R"(kvstyle 1
name "Caption Test"
colors { scEdit #112233; scEditDisabled #445566 }
fonts { sfEditBoxTextNormal #010203; sfEditBoxTextDisabled #040506 }
system { clBtnFace #336699 }
element Button.PushButton {
  Normal { text #000001 }
  Hot { text #000002 }
  Pressed { text #000003 }
  Disabled { text #000004 }
  Defaulted { text #000005 }
}
element ToolBar.Button {
  Normal { text #000011 }
  Hot { text #000012 }
  Pressed { text #000013 }
  Disabled { text #000014 }
}
element Button.CheckBox {
  UncheckedNormal { text #000021 }
  UncheckedHot { text #000022 }
  UncheckedPressed { text #000023 }
  UncheckedDisabled { text #000024 }
}
element Button.GroupBox {
  Normal { text #000031 }
  Disabled { text #000034 }
}
element Grid.FixedCell {
  Normal { text #000041 }
  Hot { text #000042 }
  Pressed { text #000043 }
}
element Grid.Cell {
  Selected { text #000045 }
}
element Tab.TabItem {
  Normal { text #000051 }
  Hot { text #000052 }
  Selected { text #000053 }
  Disabled { text #000054 }
}
)";

class StyleColorTest : public LookTest {
protected:
  void UseCaptionStyle() {
    if (!TStyleManager::Style("Caption Test"))
      TStyleManager::LoadFromBytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(kCaptionStyle),
                                                            std::strlen(kCaptionStyle)),
                                   "caption");
    TStyleManager::SetStyle("Caption Test");
  }
};

using TTextColorFn = std::function<TColor(TkvsCtrlState)>;
struct FamilyCase {
  const char* Name;
  TTextColorFn Fn;
  // Blue channel of the style's colour per state: normal, hot, pressed, focused, disabled.
  int Expected[5];
};
const FamilyCase kFamily[] = {
    {"Button", GetButtonTextColor, {0x01, 0x02, 0x03, 0x05, 0x04}},
    {"ToolButton", GetToolButtonTextColor, {0x11, 0x12, 0x13, 0x12, 0x14}},
    {"CheckBox", GetCheckBoxTextColor, {0x21, 0x22, 0x23, 0x22, 0x24}},
    {"GroupBox", GetGroupBoxTextColor, {0x31, 0x31, 0x31, 0x31, 0x34}},
    {"Header", GetHeaderTextColor, {0x41, 0x42, 0x43, 0x41, 0x41}},
    {"Tab", GetTabTextColor, {0x51, 0x52, 0x51, 0x53, 0x54}},
};
}  // namespace

TEST_F(StyleColorTest, CaptionColoursFollowTheStyleElementOfEachState) {
  UseCaptionStyle();
  for (const FamilyCase& f : kFamily)
    for (int s = 0; s < 5; ++s)
      EXPECT_EQ(f.Fn(static_cast<TkvsCtrlState>(s)), RGB(0, 0, f.Expected[s])) << f.Name << " state " << s;
}

TEST_F(StyleColorTest, WithoutACustomStyleCaptionsAreButtonTextOrGrey) {
  for (bool classic : {false, true}) {
    TStyleManager::SetClassicLook(classic);
    for (const FamilyCase& f : kFamily)
      for (int s = 0; s < 5; ++s)
        EXPECT_EQ(f.Fn(static_cast<TkvsCtrlState>(s)), s == kvsDisabled ? clGrayText : clBtnText) << f.Name;
  }
}

TEST_F(StyleColorTest, SystemEditAndSelectionColours) {
  // Native and classic: system colours pass through unchanged.
  EXPECT_EQ(GetStyleSystemColor(clBtnFace), clBtnFace);
  EXPECT_EQ(GetEditBrushColor(kvsNormal), clWindow);
  EXPECT_EQ(GetEditTextColor(kvsNormal), clWindowText);
  EXPECT_EQ(GetEditTextColor(kvsDisabled), clGrayText);
  EXPECT_EQ(GetEditTextColor(kvsFocused), clWindowText);
  TColor nativeSelection;
  ASSERT_TRUE(StyleServices().GetElementColor(GetElementDetails(tgCellSelected), ecTextColor, nativeSelection));
  EXPECT_EQ(GetSelectionTextColor(), nativeSelection);
  TStyleManager::SetClassicLook(true);
  EXPECT_EQ(GetSelectionTextColor(), clHighlightText);

  TStyleManager::SetClassicLook(false);
  UseCaptionStyle();
  EXPECT_EQ(GetStyleSystemColor(clBtnFace), RGB(0x33, 0x66, 0x99));
  EXPECT_EQ(GetStyleSystemColor(clRed), clRed);
  EXPECT_EQ(GetEditBrushColor(kvsNormal), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(GetEditBrushColor(kvsHot), RGB(0x44, 0x55, 0x66));  // any state but normal
  EXPECT_EQ(GetEditTextColor(kvsNormal), RGB(1, 2, 3));
  EXPECT_EQ(GetEditTextColor(kvsFocused), RGB(4, 5, 6));
  EXPECT_EQ(GetSelectionTextColor(), RGB(0, 0, 0x45));
}
