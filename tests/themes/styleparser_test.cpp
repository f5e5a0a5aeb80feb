#include <gtest/gtest.h>

#include "platform/themes/colormath.h"
#include "platform/themes/styleparser.h"
#include "platform/themes/stylesyntax.h"

namespace {
TStyleData Parse(const String& body) { return ParseStyle("kvstyle 1\nname \"Test\"\n" + body, "test.kvstyle"); }

const TElementLook& LookOf(const TStyleData& d, TThemedElementDetails details) { return *d.Look(details); }
template <class E>
const TElementLook& LookOf(const TStyleData& d, E value) { return LookOf(d, GetElementDetails(value)); }

TStyleRGBA Rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return {r, g, b, a}; }
}  // namespace

TEST(StyleParser, ReadsNamesAndFillsEveryStateFromTheBuiltInLook) {
  TStyleData d = ParseStyle("// a comment\nkvstyle 1\nname \"Plain\"\nauthor \"Me\"\ndescription \"Just colours\"\n"
                            "system { clBtnFace #102030; clBtnText #F0F0F0 }\n",
                            "plain.kvstyle");
  EXPECT_EQ(d.Name, "Plain");
  EXPECT_EQ(d.Author, "Me");
  EXPECT_EQ(d.Description, "Just colours");
  EXPECT_EQ(d.SystemColors.Colors[COLOR_BTNFACE], RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(d.SystemColors.Colors[COLOR_WINDOW], DefaultSystemColors().Colors[COLOR_WINDOW]);
  ASSERT_EQ(d.Looks.size(), static_cast<size_t>(ElementCatalog::SlotCount()));
  for (int slot = 0; slot < ElementCatalog::SlotCount(); ++slot) {
    if (ElementCatalog::PartOfSlot(slot).HasText) {
      EXPECT_TRUE(d.Looks[static_cast<size_t>(slot)].Text.has_value()) << ElementCatalog::ValueName(slot);
    }
  }
  // The built-in look follows the style's own system colours.
  EXPECT_EQ(LookOf(d, tbPushButtonNormal).Text, RGB(0xF0, 0xF0, 0xF0));
}

TEST(StyleParser, ElementPropertiesCascadeFromElementToStateInFileOrder) {
  TStyleData d = Parse(
      "element Button.PushButton {\n"
      "  fill #111111\n  radius 5\n"
      "  Hot, Pressed { fill #222222 }\n"
      "  *ed { border #333333 }\n"  // Pressed, Disabled, Defaulted
      "}\n"
      "element Button.PushButton { Pressed { fill #444444 } }\n");
  EXPECT_EQ(LookOf(d, tbPushButtonNormal).Fill, TPaint::Solid(Rgba(0x11, 0x11, 0x11)));
  EXPECT_EQ(LookOf(d, tbPushButtonHot).Fill, TPaint::Solid(Rgba(0x22, 0x22, 0x22)));
  EXPECT_EQ(LookOf(d, tbPushButtonPressed).Fill, TPaint::Solid(Rgba(0x44, 0x44, 0x44)));
  EXPECT_EQ(LookOf(d, tbPushButtonDisabled).Radius, 5);
  EXPECT_EQ(LookOf(d, tbPushButtonDefaulted).Border, Rgba(0x33, 0x33, 0x33));
  EXPECT_EQ(LookOf(d, tbPushButtonDisabled).Border, Rgba(0x33, 0x33, 0x33));
  EXPECT_NE(LookOf(d, tbPushButtonHot).Border, Rgba(0x33, 0x33, 0x33));
}

TEST(StyleParser, SelectorsTakeListsAndWildcards) {
  TStyleData d = Parse("element ScrollBar.*Track*, Spin.Up { fill #ABCDEF }\n"
                       "element ScrollBar.ArrowBtn { Up* { glyph arrow-up } }\n");
  for (TThemedScrollBar v : {tsLowerTrackHorzNormal, tsUpperTrackVertDisabled})
    EXPECT_EQ(LookOf(d, v).Fill, TPaint::Solid(Rgba(0xAB, 0xCD, 0xEF)));
  EXPECT_EQ(LookOf(d, tsUpHot).Fill, TPaint::Solid(Rgba(0xAB, 0xCD, 0xEF)));
  EXPECT_NE(LookOf(d, tsDownHot).Fill, TPaint::Solid(Rgba(0xAB, 0xCD, 0xEF)));
  EXPECT_EQ(LookOf(d, tsArrowBtnUpPressed).Glyph, sgArrowUp);
  EXPECT_NE(LookOf(d, tsArrowBtnDownPressed).Glyph, sgArrowUp);
}

TEST(StyleParser, EvaluatesColourExpressionsAndForwardReferences) {
  TStyleData d = Parse(
      "colors { scEdit = light; scGrid dark; scPanel mixed; scWindow clBtnFace; scListBox clRed }\n"
      "palette {\n  light lighten(base, 50)\n  dark darken(base, 50)\n  base #804020\n"
      "  mixed mix(#000000, #FFFFFF, 25)\n}\n"
      "system { clBtnFace #0A0B0C }\n"
      "element Button.PushButton { border alpha(#FFF, 128); fill #12345678 }\n");
  EXPECT_EQ(d.Colors[scEdit], RGB(0xC0, 0xA0, 0x90));
  EXPECT_EQ(d.Colors[scGrid], RGB(0x40, 0x20, 0x10));
  EXPECT_EQ(d.Colors[scPanel], RGB(0x40, 0x40, 0x40));
  EXPECT_EQ(d.Colors[scWindow], RGB(0x0A, 0x0B, 0x0C));  // system names read the style's own table
  EXPECT_EQ(d.Colors[scListBox], clRed);
  EXPECT_EQ(LookOf(d, tbPushButtonHot).Border, Rgba(255, 255, 255, 128));
  EXPECT_EQ(LookOf(d, tbPushButtonHot).Fill, TPaint::Solid(Rgba(0x12, 0x34, 0x56, 0x78)));
}

TEST(StyleParser, GradientStopsAreSpreadEvenlyUnlessPlaced) {
  TStyleData d = Parse("element Progress.Bar { fill vertical(#000, #888, #FFF) }\n"
                       "element Progress.Chunk { fill horizontal(#000 0, #111 50, #222 50,\n"
                       "                                         #333 100) }\n");
  const TPaint& even = LookOf(d, tpBar).Fill;
  ASSERT_EQ(even.Kind, pkVertical);
  ASSERT_EQ(even.Stops.size(), 3u);
  EXPECT_FLOAT_EQ(even.Stops[1].Position, 0.5f);
  EXPECT_FLOAT_EQ(even.Stops[2].Position, 1.0f);
  const TPaint& placed = LookOf(d, tpChunk).Fill;
  ASSERT_EQ(placed.Kind, pkHorizontal);
  ASSERT_EQ(placed.Stops.size(), 4u);
  EXPECT_FLOAT_EQ(placed.Stops[2].Position, 0.5f);
  EXPECT_EQ(placed.Stops[2].Color, Rgba(0x22, 0x22, 0x22));
}

TEST(StyleParser, NamedTextColoursFollowTheElementsUnlessGiven) {
  TStyleData d = Parse("element Button.PushButton { text #123456; Disabled { text #654321 } }\n"
                       "fonts { sfEditBoxTextNormal #0000FF }\n");
  EXPECT_EQ(d.Fonts[sfButtonTextNormal], RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(d.Fonts[sfButtonTextDisabled], RGB(0x65, 0x43, 0x21));
  EXPECT_EQ(d.Fonts[sfEditBoxTextNormal], RGB(0, 0, 0xFF));
  EXPECT_EQ(d.Fonts[sfEditBoxTextDisabled], d.SystemColors.Colors[COLOR_GRAYTEXT]);
}

TEST(StyleParser, ReadsEveryKindOfProperty) {
  TStyleData d = Parse(
      "element Tab.TabItem {\n"
      "  margin 1 2 3 4; content 5 6; radius 4; corners top bottom-left; sides left top\n"
      "  border-width 2; inner #010101; shadow #020202; glyph chevron-down; glyph-color #030303\n"
      "  glyph-size 9; size 40 20; text #040404\n"
      "}\n");
  const TElementLook& l = LookOf(d, ttTabItemHot);
  EXPECT_EQ(l.Margin, (TInsets{1, 2, 3, 4}));
  EXPECT_EQ(l.Content, (TInsets{5, 6, 5, 6}));
  EXPECT_EQ(l.Radius, 4);
  EXPECT_EQ(l.Corners, kCornerTopLeft | kCornerTopRight | kCornerBottomLeft);
  EXPECT_EQ(l.Sides, kSideLeft | kSideTop);
  EXPECT_EQ(l.BorderWidth, 2);
  EXPECT_EQ(l.Inner, Rgba(1, 1, 1));
  EXPECT_EQ(l.Shadow, Rgba(2, 2, 2));
  EXPECT_EQ(l.Glyph, sgChevronDown);
  EXPECT_EQ(l.GlyphColor, Rgba(3, 3, 3));
  EXPECT_EQ(l.GlyphSize, 9);
  EXPECT_EQ(l.Size, (TSize{40, 20}));
  EXPECT_EQ(l.Text, RGB(4, 4, 4));
}

// Each faulty text is refused at the place of its first fault.
TEST(StyleParser, RefusesFaultsWithTheirPlace) {
  struct TCase {
    const char* Text;
    int Line, Column;
    const char* Says;
  };
  const TCase cases[] = {
      {"name \"X\"\n", 1, 1, "starts with the line 'kvstyle 1'"},
      {"kvstyle 2\n", 1, 9, "version 2 is not supported"},
      {"kvstyle 1\nauthor \"A\"\n", 1, 1, "has no name"},
      {"kvstyle 1\nname \"X\"\nelement Button.PushButon { fill #fff }\n", 3, 9, "unknown element 'Button.PushButon'"},
      {"kvstyle 1\nname \"X\"\nelement Knob.Face { fill #fff }\n", 3, 9, "unknown element 'Knob.Face'"},
      {"kvstyle 1\nname \"X\"\nelement Button.CheckBox {\n  Hott { fill #fff }\n}\n", 4, 3, "unknown state 'Hott'"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* {\n  colour #fff\n}\n", 4, 3, "unknown property 'colour'"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { fill #ffff }\n", 3, 23, "malformed colour"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { fill paper }\n", 3, 23, "unknown colour 'paper'"},
      {"kvstyle 1\nname \"X\"\npalette {\n  a b\n  b a\n}\n", 4, 3, "defined in terms of itself"},
      {"kvstyle 1\nname \"X\"\npalette { a #fff; a #000 }\n", 3, 19, "given twice"},
      {"kvstyle 1\nname \"X\"\nsystem { clPaper #fff }\n", 3, 10, "not a system colour"},
      {"kvstyle 1\nname \"X\"\nfonts { sfNothing #fff }\n", 3, 9, "not a style font colour"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { text alpha(#fff, 10) }\n", 3, 23, "must be opaque"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { radius 500 }\n", 3, 25, "from 0 to 100"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { fill blend(#fff, #000) }\n", 3, 23, "unknown function 'blend'"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { fill mix(#fff) }\n", 3, 23, "usage: mix"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { fill vertical(#fff 50, #000 10) }\n", 3, 46, "ascending"},
      {"kvstyle 1\nname \"X \n", 2, 6, "unterminated string"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { fill #fff\n", 4, 1, "missing '}'"},
      {"kvstyle 1\nname \"X\"\ncolour #fff\n", 3, 1, "unknown statement 'colour'"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { picture knob 1 1 1 1 }\n", 3, 26, "unknown picture 'knob'"},
      {"kvstyle 1\nname \"X\"\npicture knob \"knob.png\"\n", 3, 9, "read without its files"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { glyph star }\n", 3, 24, "unknown glyph 'star'"},
      {"kvstyle 1\nname \"X\"\nelement Edit.* { margin 1 2 3 }\n", 3, 29, "1, 2 or 4"},
      {"kvstyle 1\nname \"X\"\nname \"Y\"\n", 3, 1, "given twice"},
  };
  for (const TCase& c : cases) {
    try {
      ParseStyle(c.Text, "bad.kvstyle");
      ADD_FAILURE() << "accepted: " << c.Text;
    } catch (const EStyleError& e) {
      EXPECT_EQ(e.Line(), c.Line) << c.Text << "\n" << e.Message();
      EXPECT_EQ(e.Column(), c.Column) << c.Text << "\n" << e.Message();
      EXPECT_NE(e.Message().find(c.Says), String::npos) << e.Message();
      EXPECT_EQ(e.Message().rfind("bad.kvstyle:" + IntToStr(c.Line) + ":" + IntToStr(c.Column) + ": ", 0), 0u)
          << e.Message();
    }
  }
}

TEST(StyleParser, ColumnsCountCharactersNotBytes) {
  try {
    ParseStyle("kvstyle 1\nname \"Größe\" $\n", "u.kvstyle");
    FAIL();
  } catch (const EStyleError& e) {
    EXPECT_EQ(e.Line(), 2);
    EXPECT_EQ(e.Column(), 14);
  }
}

TEST(StyleParser, WildcardsMatchRunsOfCharacters) {
  struct TCase { const char* Pattern; const char* Text; bool Match; };
  const TCase cases[] = {{"*", "", true}, {"*Hot", "CheckedHot", true}, {"*Hot", "HotTrack", false},
                         {"Up*", "UpNormal", true}, {"*track*", "LowerTrackVert", true},
                         {"a*b*c", "aXbYc", true}, {"a*b*c", "aXbY", false}, {"Normal", "normal", true}};
  for (const TCase& c : cases) EXPECT_EQ(WildcardMatch(c.Pattern, c.Text), c.Match) << c.Pattern << " " << c.Text;
}
