// Styled pieces: the classic look pixel by pixel (with a system colour table whose colours all
// differ), the element each piece picks in the native look and under a custom style, and the
// placement rules of check boxes, radio buttons, focus rectangles and progress bars.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "kv/kvUtils/kvElements.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "kv/kvUtils/kvStyled.h"
#include "platform/graphics/framectl.h"
#include "support.h"

using kvutest::Px;
using kvutest::Rows;
using kvutest::TPaintBox;

namespace {
constexpr TColor kFace = RGB(0xC0, 0xC0, 0xC0), kHighlight = RGB(0xFF, 0xFF, 0xF0), kLight = RGB(0xE0, 0xE0, 0xE0),
                 kShadow = RGB(0x80, 0x80, 0x80), kDark = RGB(0x40, 0x40, 0x40), kWindow = RGB(0xF8, 0xF8, 0xF8),
                 kSelection = RGB(0, 0, 0x80);

// The classic look over a system colour table in which every 3-D colour differs.
class ClassicTest : public kvutest::LookTest {
protected:
  ClassicTest() {
    TStyleManager::SetClassicLook(true);
    TSystemColorTable t = DefaultSystemColors();
    t.Colors[COLOR_BTNFACE] = kFace;
    t.Colors[COLOR_BTNHIGHLIGHT] = kHighlight;
    t.Colors[COLOR_3DLIGHT] = kLight;
    t.Colors[COLOR_BTNSHADOW] = kShadow;
    t.Colors[COLOR_3DDKSHADOW] = kDark;
    t.Colors[COLOR_WINDOW] = kWindow;
    t.Colors[COLOR_HIGHLIGHT] = kSelection;
    SetSystemColors(t);
  }
  ~ClassicTest() override { ResetSystemColors(); }
  static Rows Pic(const TPaintBox& box) {
    return box.Picture({{Px(kFace), 'f'}, {Px(kHighlight), 'h'}, {Px(kLight), 'l'}, {Px(kShadow), 's'},
                        {Px(kDark), 'd'}, {Px(kWindow), 'w'}, {Px(kSelection), 'H'}, {Px(clGreen), 'G'},
                        {kvutest::kWhite, 'o'}, {kvutest::kBlue, '.'}});
  }
};

struct PictureCase {
  const char* Name;
  TSize Size;
  std::function<void(TCanvas*, const TRect&)> Draw;
  Rows Expected;
};
}  // namespace

TEST_F(ClassicTest, FramesAndFacesInSystemColours) {
  const PictureCase cases[] = {
      {"EditFrame", {5, 4}, [](TCanvas* c, const TRect& r) { DrawEditFrame(c, r, kvsFocused); },
       {"ssssh", "sddlh", "slllh", "hhhhh"}},
      {"GroupFrame", {5, 4}, [](TCanvas* c, const TRect& r) { DrawGroupFrame(c, r); },
       {"ssss.", "shhsh", "ssssh", ".hhhh"}},
      {"PopupFrame", {5, 4}, [](TCanvas* c, const TRect& r) { DrawPopupFrame(c, r); },
       {"sssss", "swwws", "swwws", "sssss"}},
      {"Header", {4, 3}, [](TCanvas* c, const TRect& r) { DrawHeaderSection(c, r, kvsHot); },
       {"hhhs", "hffs", "ssss"}},
      {"HeaderPressed", {4, 3}, [](TCanvas* c, const TRect& r) { DrawHeaderSection(c, r, kvsPressed); },
       {"sssh", "sffh", "hhhh"}},
      {"TabPane", {5, 4}, [](TCanvas* c, const TRect& r) { DrawTabPane(c, r); },
       {"hhhhd", "hllsd", "hsssd", "ddddd"}},
      {"ToolPressed", {4, 3}, [](TCanvas* c, const TRect& r) { DrawToolButton(c, r, kvsPressed); },
       {"sssh", "s..h", "hhhh"}},
      {"ToolHot", {4, 3}, [](TCanvas* c, const TRect& r) { DrawToolButton(c, r, kvsHot); }, {"hhhs", "h..s", "ssss"}},
      {"ToolFocused", {4, 3}, [](TCanvas* c, const TRect& r) { DrawToolButton(c, r, kvsFocused); },
       {"hhhs", "h..s", "ssss"}},
      {"ToolNormal", {4, 3}, [](TCanvas* c, const TRect& r) { DrawToolButton(c, r, kvsNormal); },
       {"....", "....", "...."}},
      {"ToolDisabled", {4, 3}, [](TCanvas* c, const TRect& r) { DrawToolButton(c, r, kvsDisabled); },
       {"....", "....", "...."}},
      {"ToolFramedHot", {6, 5}, [](TCanvas* c, const TRect& r) { DrawToolButtonFramed(c, r, kvsHot); },
       {"ffffff", "fhhhsf", "fh..sf", "fssssf", "ffffff"}},
      {"ToolFramedNormal", {4, 3}, [](TCanvas* c, const TRect& r) { DrawToolButtonFramed(c, r, kvsNormal); },
       {"ffff", "f..f", "ffff"}},
      {"Selection", {3, 2}, [](TCanvas* c, const TRect& r) { DrawSelection(c, r, true); }, {"HHH", "HHH"}},
      {"ToolBar", {3, 2}, [](TCanvas* c, const TRect& r) { DrawToolBarBackground(c, r); }, {"fff", "fff"}},
      {"Form", {3, 2}, [](TCanvas* c, const TRect& r) { DrawFormBackground(c, r); }, {"fff", "fff"}},
      {"Progress", {8, 4}, [](TCanvas* c, const TRect& r) { DrawProgressBar(c, r, 0, 100, 50); },
       {"ssssssss", "sGGGooos", "sGGGooos", "ssssssss"}},
      {"ProgressOverrun", {6, 3}, [](TCanvas* c, const TRect& r) { DrawProgressBar(c, r, 0, 100, 400); },
       {"ssssss", "sGGGGs", "ssssss"}},
  };
  for (const PictureCase& c : cases) {
    TPaintBox box(c.Size.cx, c.Size.cy, kvutest::kBlue);
    c.Draw(box.Canvas(), TRect(0, 0, c.Size.cx, c.Size.cy));
    EXPECT_EQ(Pic(box), c.Expected) << c.Name;
  }
}

TEST_F(ClassicTest, TabsOpenTowardsThePane) {
  const struct {
    int Position;
    bool AtRightEdge;
    Rows Expected;
  } cases[] = {
      {0, false, {"hhhhhd", "hlllsd", "hlffsd", "hlffsd", "hlfffd"}},
      {1, false, {"hlffff", "hlffsd", "hlffsd", "hssssd", "dddddd"}},
      {1, true, {"hlfffd", "hlffsd", "hlffsd", "hssssd", "dddddd"}},
      {2, false, {"hhhhhh", "hlllll", "hlffff", "hssssf", "dddddd"}},
      {3, false, {"hhhhhd", "flllsd", "ffffsd", "ffsssd", "fddddd"}},
  };
  for (const auto& c : cases) {
    for (TkvsCtrlState state : {kvsNormal, kvsFocused}) {  // the classic tab is the same in every state
      TPaintBox box(8, 6, kvutest::kBlue);
      DrawTab(box.Canvas(), TRect(1, 1, 7, 6), state, c.Position, false, c.AtRightEdge);
      Rows expected{"........"};
      for (const std::string& row : c.Expected) expected.push_back("." + row + ".");
      EXPECT_EQ(Pic(box), expected) << "position " << c.Position << " right edge " << c.AtRightEdge;
    }
  }
}

TEST_F(ClassicTest, CheckAndRadioFrameControlsAboutTheCentre) {
  // Flags by state (normal, hot, pressed, focused, disabled) and check state.
  const unsigned checkFlags[5][3] = {
      {0, DFCS_CHECKED, DFCS_CHECKED | DFCS_INACTIVE},
      {0, DFCS_CHECKED, DFCS_CHECKED | DFCS_INACTIVE},
      {DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED, DFCS_PUSHED | DFCS_CHECKED | DFCS_INACTIVE},
      {0, DFCS_CHECKED, DFCS_CHECKED | DFCS_INACTIVE},
      {DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE},
  };
  const unsigned radioFlags[5][2] = {
      {0, DFCS_CHECKED}, {0, DFCS_CHECKED}, {DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED}, {0, DFCS_CHECKED},
      {DFCS_INACTIVE, DFCS_CHECKED | DFCS_INACTIVE}};
  const TRect r(3, 2, 30, 23);  // centre (16, 12)
  for (int s = 0; s < 5; ++s) {
    auto state = static_cast<TkvsCtrlState>(s);
    for (int check = 0; check < 3; ++check) {
      TPaintBox box(32, 26), expected(32, 26);
      DrawCheckBox(box.Canvas(), r, state, check);
      TRect square(10, 6, 23, 19);
      DrawFrameControl(expected.Canvas()->Handle(), square, DFC_BUTTON, DFCS_BUTTONCHECK | checkFlags[s][check]);
      EXPECT_EQ(box.Picture(), expected.Picture()) << "check state " << s << " " << check;
    }
    for (int checked = 0; checked < 2; ++checked) {
      TPaintBox box(32, 26), expected(32, 26);
      DrawRadioButton(box.Canvas(), r, state, checked == 1);
      TRect square(10, 6, 22, 18);
      DrawFrameControl(expected.Canvas()->Handle(), square, DFC_BUTTON, DFCS_BUTTONRADIO | radioFlags[s][checked]);
      EXPECT_EQ(box.Picture(), expected.Picture()) << "radio state " << s << " " << checked;
    }
  }
}

TEST_F(ClassicTest, DropDownButtonIsAPushButtonWithADownArrow) {
  for (bool vista : {false, true}) {
    TPaintBox box(17, 20), expected(17, 20);
    DrawDropDownButton(box.Canvas(), TRect(0, 0, 17, 20), kvsPressed, vista, false);
    TRect r(0, 0, 17, 20);
    DrawFrameControl(expected.Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    DrawArrow(expected.Canvas(), TRect(0, 0, 17, 20), clBtnText, 4);
    EXPECT_EQ(box.Picture(), expected.Picture()) << vista;
  }
}

TEST(ProgressTest, FilledPartRoundsToEvenAndStaysWithinTheBar) {
  const TRect r(0, 0, 12, 5);  // 10 pixels to fill
  const struct {
    int Min, Max, Position, Width;
  } cases[] = {
      {0, 100, 0, 0},   {0, 100, 35, 4},  // 3.5 rounds to even 4
      {0, 100, 25, 2},                    // 2.5 rounds to even 2
      {0, 100, 100, 10}, {0, 100, 150, 10}, {0, 100, -5, 0}, {5, 5, 5, 0},
      {0, -10, 50, 0},  // Max below Min
      {-50, 50, 0, 5},
  };
  for (const auto& c : cases) {
    TRect f = ProgressFillRect(r, c.Min, c.Max, c.Position);
    EXPECT_EQ(f, TRect(1, 1, 1 + c.Width, 4)) << c.Min << ".." << c.Max << " at " << c.Position;
  }
  EXPECT_EQ(ProgressFillRect(TRect(0, 0, 1, 5), 0, 10, 10).Width(), 0);  // narrower than its border
}

namespace {
// The element (and where) a piece draws, in the native look and under a custom style.
struct TElementAt {
  TThemedElementDetails Details;
  TRect Grow;  // added outwards to the piece's rectangle: left, top, right, bottom
};
struct MappingCase {
  const char* Name;
  std::function<void(TCanvas*, const TRect&)> Draw;
  TElementAt Native, Custom;
};
TElementAt At(TThemedElementDetails d, TRect grow = {}) { return {d, grow}; }

const MappingCase kMappings[] = {
    {"Button normal", [](TCanvas* c, const TRect& r) { DrawButton(c, r, kvsNormal, false); },
     At(GetElementDetails(tbPushButtonNormal)), At(GetElementDetails(tbPushButtonNormal))},
    {"Button focused", [](TCanvas* c, const TRect& r) { DrawButton(c, r, kvsFocused, false); },
     At(GetElementDetails(tbPushButtonDefaulted)), At(GetElementDetails(tbPushButtonDefaulted))},
    {"Button disabled", [](TCanvas* c, const TRect& r) { DrawButton(c, r, kvsDisabled, false); },
     At(GetElementDetails(tbPushButtonDisabled)), At(GetElementDetails(tbPushButtonDisabled))},
    {"ToolButton focused", [](TCanvas* c, const TRect& r) { DrawToolButton(c, r, kvsFocused); },
     At(GetElementDetails(ttbButtonHot)), At(GetElementDetails(ttbButtonHot))},
    {"ToolButtonFramed pressed", [](TCanvas* c, const TRect& r) { DrawToolButtonFramed(c, r, kvsPressed); },
     At(GetElementDetails(ttbButtonPressed)), At(GetElementDetails(ttbButtonPressed))},
    {"Up pressed", [](TCanvas* c, const TRect& r) { DrawUpArrowButton(c, r, kvsPressed); },
     At(GetElementDetails(tsUpPressed)), At(GetElementDetails(tsArrowBtnUpPressed))},
    {"Down normal", [](TCanvas* c, const TRect& r) { DrawDownArrowButton(c, r, kvsNormal); },
     At(GetElementDetails(tsDownNormal)), At(GetElementDetails(tsArrowBtnDownNormal))},
    {"Left hot", [](TCanvas* c, const TRect& r) { DrawLeftArrowButton(c, r, kvsHot); },
     At(GetElementDetails(tsDownHorzHot)), At(GetElementDetails(tsArrowBtnLeftHot))},
    {"Right disabled", [](TCanvas* c, const TRect& r) { DrawRightArrowButton(c, r, kvsDisabled); },
     At(GetElementDetails(tsUpHorzDisabled)), At(GetElementDetails(tsArrowBtnRightDisabled))},
    {"Edit focused", [](TCanvas* c, const TRect& r) { DrawEditFrame(c, r, kvsFocused); },
     At(GetElementDetails(teEditBorderNoScrollHot)), At(GetElementDetails(teEditBorderNoScrollHot))},
    {"Edit normal", [](TCanvas* c, const TRect& r) { DrawEditFrame(c, r, kvsNormal); },
     At(GetElementDetails(teEditBorderNoScrollNormal)), At(GetElementDetails(teEditBorderNoScrollNormal))},
    {"Header focused", [](TCanvas* c, const TRect& r) { DrawHeaderSection(c, r, kvsFocused); },
     At(GetElementDetails(tgFixedCellHot)), At(GetElementDetails(tgFixedCellHot))},
    {"Header pressed", [](TCanvas* c, const TRect& r) { DrawHeaderSection(c, r, kvsPressed); },
     At(GetElementDetails(tgFixedCellPressed)), At(GetElementDetails(tgFixedCellPressed))},
    {"Selection focused", [](TCanvas* c, const TRect& r) { DrawSelection(c, r, true); },
     At(GetElementDetails(tmcGridCellBackgroundSelectedHot)), At(GetElementDetails(tgCellSelected))},
    {"Selection", [](TCanvas* c, const TRect& r) { DrawSelection(c, r, false); },
     At(GetElementDetails(tgCellSelected)), At(GetElementDetails(tgCellSelected))},
    {"GroupFrame", [](TCanvas* c, const TRect& r) { DrawGroupFrame(c, r); }, At(GetElementDetails(tbGroupBoxNormal)),
     At(GetElementDetails(tbGroupBoxNormal))},
    {"ToolBar", [](TCanvas* c, const TRect& r) { DrawToolBarBackground(c, r); }, At(GetElementDetails(ttbBackground)),
     At(GetElementDetails(ttbBackground))},
    {"TabPane", [](TCanvas* c, const TRect& r) { DrawTabPane(c, r); }, At(GetElementDetails(ttPane)),
     At(GetElementDetails(ttPane))},
    {"Tab top active at left", [](TCanvas* c, const TRect& r) { DrawTab(c, r, kvsFocused, 0, true, true); },
     At(GetElementDetails(ttTabItemLeftEdgeSelected)), At(GetElementDetails(ttTabItemSelected))},
    {"Tab top active at right", [](TCanvas* c, const TRect& r) { DrawTab(c, r, kvsFocused, 0, false, true); },
     At(GetElementDetails(ttTabItemRightEdgeSelected)), At(GetElementDetails(ttTabItemSelected))},
    {"Tab top hot at left", [](TCanvas* c, const TRect& r) { DrawTab(c, r, kvsHot, 0, true, false); },
     At(GetElementDetails(ttTabItemHot)), At(GetElementDetails(ttTabItemHot))},
    {"Tab bottom hot", [](TCanvas* c, const TRect& r) { DrawTab(c, r, kvsHot, 1, false, false); },
     At(GetElementDetails(ttTabItemBothEdgeHot)), At(GetElementDetails(ttTabItemBothEdgeHot))},
    {"Tab left disabled", [](TCanvas* c, const TRect& r) { DrawTab(c, r, kvsDisabled, 2, false, false); },
     At(GetElementDetails(ttTabItemLeftEdgeNormal)), At(GetElementDetails(ttTabItemLeftEdgeNormal))},
    {"Tab right active", [](TCanvas* c, const TRect& r) { DrawTab(c, r, kvsFocused, 3, true, false); },
     At(GetElementDetails(ttTabItemRightEdgeSelected)), At(GetElementDetails(ttTabItemRightEdgeSelected))},
    {"DropDown vista", [](TCanvas* c, const TRect& r) { DrawDropDownButton(c, r, kvsHot, true, false); },
     At(GetElementDetails(tcDropDownButtonRightHot), {0, 1, 1, 1}), At(GetElementDetails(tcDropDownButtonHot))},
    {"DropDown vista rtl", [](TCanvas* c, const TRect& r) { DrawDropDownButton(c, r, kvsPressed, true, true); },
     At(GetElementDetails(tcDropDownButtonLeftPressed), {1, 1, 0, 1}), At(GetElementDetails(tcDropDownButtonPressed))},
    {"DropDown", [](TCanvas* c, const TRect& r) { DrawDropDownButton(c, r, kvsDisabled, false, true); },
     At(GetElementDetails(tcDropDownButtonDisabled)), At(GetElementDetails(tcDropDownButtonDisabled))},
    {"Progress 30%", [](TCanvas* c, const TRect& r) { DrawProgressBar(c, r, 0, 10, 3); },
     At(GetElementDetails(tpBar)), At(GetElementDetails(tpBar))},
};

class MappingTest : public kvutest::LookTest {
protected:
  void Check(bool custom) {
    const TRect r(3, 3, 31, 21);
    for (const MappingCase& m : kMappings) {
      const TElementAt& e = custom ? m.Custom : m.Native;
      TPaintBox box(34, 24), expected(34, 24);
      m.Draw(box.Canvas(), r);
      TRect er(r.Left - e.Grow.Left, r.Top - e.Grow.Top, r.Right + e.Grow.Right, r.Bottom + e.Grow.Bottom);
      StyleServices().DrawElement(expected.Canvas()->Handle(), e.Details, er);
      if (std::strncmp(m.Name, "Progress", 8) == 0)  // 3 of 10: the chunk over 8 of the 26 inner pixels
        StyleServices().DrawElement(expected.Canvas()->Handle(), GetElementDetails(tpChunk), TRect(4, 4, 12, 20));
      EXPECT_EQ(box.Picture(), expected.Picture()) << m.Name << (custom ? " (custom style)" : " (native)");
      if (!custom) {  // flat styles leave some parts unpainted
        EXPECT_FALSE(box.Untouched()) << m.Name;
      }
    }
  }
};
}  // namespace

TEST_F(MappingTest, NativeLookElements) { Check(false); }

TEST_F(MappingTest, CustomStyleElements) {
  for (const char* style : {"Glossy", "TabletDark"}) {
    TStyleManager::SetStyle(style);
    Check(true);
  }
}

TEST_F(MappingTest, FormBackgroundIsTheWindowElementOnlyUnderACustomStyle) {
  TPaintBox native(6, 4), face(6, 4);
  DrawFormBackground(native.Canvas(), TRect(0, 0, 6, 4));
  EXPECT_EQ(native.At(2, 2), Px(clBtnFace));
  TStyleManager::SetStyle("Glossy");
  TPaintBox styled(6, 4), expected(6, 4);
  DrawFormBackground(styled.Canvas(), TRect(0, 0, 6, 4));
  StyleServices().DrawElement(expected.Canvas()->Handle(), GetElementDetails(twBackground), TRect(0, 0, 6, 4));
  EXPECT_EQ(styled.Picture(), expected.Picture());
}

TEST_F(MappingTest, FocusRectangleInsetByThreeOnlyWithoutACustomStyle) {
  auto differing = [](bool classic, const char* style) {
    TStyleManager::SetClassicLook(classic);
    TStyleManager::SetStyle(style);
    TPaintBox plain(30, 20), focused(30, 20);
    DrawButton(plain.Canvas(), TRect(0, 0, 30, 20), kvsHot, false);
    DrawButton(focused.Canvas(), TRect(0, 0, 30, 20), kvsHot, true);
    TRect bounds(100, 100, -1, -1);
    int count = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x)
        if (plain.At(x, y) != focused.At(x, y)) {
          ++count;
          bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1),
                    std::max(bounds.Bottom, y + 1)};
        }
    return std::make_pair(count, bounds);
  };
  for (bool classic : {false, true}) {
    auto [count, bounds] = differing(classic, TStyleManager::SystemStyleName);
    EXPECT_GT(count, 0) << classic;
    EXPECT_EQ(bounds, TRect(3, 3, 27, 17)) << classic;
  }
  EXPECT_EQ(differing(false, "Glossy").first, 0);
}

namespace {
// Check boxes 16 x 15 in red, radio buttons (whose own size the routines ignore) in blue.
const char* kGlyphStyle = R"(kvstyle 1
name "Glyph Size Test"
element Button.CheckBox { size 16 15; fill #FF0000; border none; inner none; shadow none; radius 0; glyph none; margin 0 }
element Button.RadioButton { size 9 9; fill #0000FF; border none; inner none; shadow none; radius 0; glyph none; margin 0 }
)";

TRect InkBounds(const TPaintBox& box, uint32_t ink, int w, int h) {
  TRect b(w, h, -1, -1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (box.At(x, y) == ink)
        b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x + 1), std::max(b.Bottom, y + 1)};
  return b;
}
}  // namespace

TEST_F(MappingTest, ThemedCheckAndRadioGlyphsTakeTheCheckBoxSizeAtTheLeft) {
  if (!TStyleManager::Style("Glyph Size Test"))
    TStyleManager::LoadFromBytes(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(kGlyphStyle), std::strlen(kGlyphStyle)), "glyphs");
  TStyleManager::SetStyle("Glyph Size Test");
  for (TkvsCtrlState state : {kvsNormal, kvsHot, kvsPressed, kvsDisabled}) {
    TPaintBox check(40, 26), radio(40, 26);
    DrawCheckBox(check.Canvas(), TRect(2, 1, 40, 26), state, 1);
    DrawRadioButton(radio.Canvas(), TRect(2, 1, 40, 26), state, true);
    EXPECT_EQ(InkBounds(check, kvutest::kRed, 40, 26), TRect(2, 6, 18, 21));  // (25 - 15) / 2 = 5 below the top
    EXPECT_EQ(InkBounds(radio, kvutest::kBlue, 40, 26), TRect(2, 6, 18, 21));
  }
  // The DC is left as it was.
  TPaintBox box(40, 26);
  HDC dc = box.Canvas()->Handle();
  SetViewportOrgEx(dc, 5, 0, nullptr);
  DrawCheckBox(box.Canvas(), TRect(0, 0, 20, 20), kvsNormal, 0);
  TPoint org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org, TPoint(5, 0));
}
