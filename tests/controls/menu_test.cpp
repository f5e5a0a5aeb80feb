// Pop-up menus: the blocking Popup answered by the mouse or the keyboard, nothing leaking to
// the controls under the menu, sub-menus, radio items, the work area, menus by handle.
#include "support.h"

#include <filesystem>

#include "platform/controls/menus.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/surface.h"

using namespace kvtest;

namespace {
using Strings = std::vector<String>;

// The open menu windows, the first level first.
std::vector<HWND> MenuWindows() {
  std::vector<HWND> out;
  for (HWND h : GetTopLevelWindows())
    if (GetClassName(h) == "TPopupMenuWindow" && IsWindowVisible(h)) out.insert(out.begin(), h);
  return out;
}

// Screen centre of a row of the menu window, computed as the menu lays its rows out.
TPoint RowCentre(HWND menu, const std::vector<TMenuEntry>& entries, int row) {
  TMenuPainter* p = MenuPainter();
  TBitmap scratch(1, 1);
  int y = p->Insets().Top;
  for (int i = 0; i < row; ++i) y += p->MeasureItem(scratch.Canvas(), entries[static_cast<size_t>(i)]).cy;
  int h = p->MeasureItem(scratch.Canvas(), entries[static_cast<size_t>(row)]).cy;
  TRect r;
  GetWindowRect(menu, &r);
  return TPoint(r.Left + r.Width() / 2, r.Top + y + h / 2);
}

std::vector<TMenuEntry> EntriesOf(TMenuItem* parent) {
  std::vector<TMenuEntry> out;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuEntry e;
    e.Caption = parent->Items(i)->Caption();
    e.Separator = parent->Items(i)->IsLine();
    e.HasSubmenu = parent->Items(i)->Count() > 0;
    out.push_back(e);
  }
  return out;
}
}  // namespace

class MenuTest : public ControlsTest {
protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = MakeForm(100, 100, 400, 300);
    opener = new TProbe(form);
    opener->SetParent(form);
    opener->SetBounds(10, 10, 80, 30);
    under = new TProbe(form);
    under->SetParent(form);
    under->SetBounds(10, 60, 300, 200);
    for (TProbe* p : {opener, under}) {
      String n = p == opener ? "opener" : "under";
      p->OnClick = [this, n](TObject*) { log.push_back(n + ".click"); };
      p->OnMouseDown = [this, n](TObject*, TMouseButton, TShiftState, int, int) { log.push_back(n + ".down"); };
      p->OnMouseUp = [this, n](TObject*, TMouseButton, TShiftState, int, int) { log.push_back(n + ".up"); };
    }
    menu = new TPopupMenu(form);
    for (const char* c : {"&Alpha", "-", "&Beta", "&Gamma", "Disabled"}) {
      auto* item = new TMenuItem(form);
      item->SetCaption(c);
      item->OnClick = [this, c](TObject*) { log.push_back(String(c) + ".chosen"); };
      menu->Items()->Add(item);
    }
    menu->Items()->Items(4)->SetEnabled(false);
    form->Show();
  }
  // Runs fn once the menu is open (it is tracked inside the call that opened it).
  void WhenOpen(std::function<void()> fn, uint64_t delay = 10) { Headless::Schedule(delay, std::move(fn)); }
  void ClickRow(int row, TMenuItem* parent = nullptr) {
    auto wins = MenuWindows();
    ASSERT_FALSE(wins.empty());
    TPoint p = RowCentre(wins.back(), EntriesOf(parent ? parent : menu->Items()), row);
    Headless::Click(p.X, p.Y);
  }
  TForm* form = nullptr;
  TProbe* opener = nullptr;
  TProbe* under = nullptr;
  TPopupMenu* menu = nullptr;
  Strings log;
};

TEST_F(MenuTest, PopupFromAPressIsAnsweredByAClickAndNothingLeaks) {
  opener->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    log.push_back("opener.down");
    TPoint p = under->ClientToScreen(TPoint(20, 20));
    menu->Popup(p.X, p.Y);  // over the other control
    log.push_back("popup returned");
  };
  TPoint press = At(opener, 5, 5);
  WhenOpen([&] {
    Headless::MouseUp(VK_LBUTTON, press.X, press.Y);  // the release of the opening press
    EXPECT_EQ(MenuWindows().size(), 1u) << "the release of the opening press does not close the menu";
    ClickRow(2);
  });
  Headless::MouseDown(VK_LBUTTON, press.X, press.Y);
  EXPECT_EQ(log, (Strings{"opener.down", "&Beta.chosen", "popup returned"}));
  EXPECT_TRUE(MenuWindows().empty());
  EXPECT_EQ(menu->LastChosen(), menu->Items()->Items(2));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MenuTest, KeyboardMovesSkipsSeparatorsAndChooses) {
  struct Case {
    std::vector<WORD> keys;
    String chosen;  // empty: closed without a choice
  } cases[] = {
      {{VK_DOWN, VK_DOWN, VK_RETURN}, "&Beta.chosen"},
      {{VK_UP, VK_UP, VK_RETURN}, "&Gamma.chosen"},  // wraps to the last rows
      {{'G'}, "&Gamma.chosen"},                       // accelerator
      {{'D', VK_RETURN, VK_ESCAPE}, ""},              // first letter; a disabled row is not chosen
      {{VK_ESCAPE}, ""},
  };
  for (const Case& k : cases) {
    log.clear();
    WhenOpen([&] {
      for (WORD vk : k.keys) Headless::KeyPress(vk);
    });
    menu->Popup(300, 300);
    Strings want;
    if (!k.chosen.empty()) want.push_back(k.chosen);
    EXPECT_EQ(log, want) << k.chosen;
    EXPECT_TRUE(MenuWindows().empty());
  }
}

TEST_F(MenuTest, APressOutsideClosesAndItsReleaseIsSwallowed) {
  WhenOpen([&] {
    TPoint p = At(under, 250, 150);  // on the control, outside the menu
    Headless::MouseDown(VK_LBUTTON, p.X, p.Y);
    EXPECT_TRUE(MenuWindows().empty());
    Headless::MouseUp(VK_LBUTTON, p.X, p.Y);
  });
  TPoint at = At(under, 5, 5);
  menu->Popup(at.X, at.Y);
  Application->ProcessMessages();
  EXPECT_TRUE(log.empty()) << "neither the closing press nor its release reached the control";
  Click(under, 250, 150);
  EXPECT_EQ(log, (Strings{"under.down", "under.click", "under.up"})) << "the next click is an ordinary one";
}

TEST_F(MenuTest, SubmenusOpenOnHoverAndChooseAndLeftClosesThem) {
  TMenuItem* gamma = menu->Items()->Items(3);
  for (const char* c : {"One", "Two"}) {
    auto* sub = new TMenuItem(form);
    sub->SetCaption(c);
    sub->OnClick = [this, c](TObject*) { log.push_back(String(c) + ".chosen"); };
    gamma->Add(sub);
  }
  WhenOpen([&] {
    auto wins = MenuWindows();
    TPoint p = RowCentre(wins[0], EntriesOf(menu->Items()), 3);
    Headless::MouseMove(p.X, p.Y);
    EXPECT_EQ(MenuWindows().size(), 1u) << "a sub-menu opens after a moment";
    Headless::AdvanceTime(300);
    ASSERT_EQ(MenuWindows().size(), 2u);
    Headless::KeyPress(VK_LEFT);
    EXPECT_EQ(MenuWindows().size(), 1u);
    Headless::KeyPress(VK_RIGHT);  // opens it again with its first row hot
    ASSERT_EQ(MenuWindows().size(), 2u);
    ClickRow(1, gamma);
  });
  menu->Popup(150, 150);
  EXPECT_EQ(log, (Strings{"Two.chosen"}));
}

TEST_F(MenuTest, RadioItemsOfAGroupCheckOneAtATime) {
  TMenuItem* a = menu->Items()->Items(0);
  TMenuItem* b = menu->Items()->Items(2);
  TMenuItem* c = menu->Items()->Items(3);
  for (TMenuItem* i : {a, b, c}) {
    i->SetRadioItem(true);
    i->SetAutoCheck(true);
    i->SetGroupIndex(1);
  }
  c->SetGroupIndex(2);
  c->SetChecked(true);
  a->SetChecked(true);
  WhenOpen([&] { ClickRow(2); });
  menu->Popup(150, 150);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(c->Checked()) << "another group";
}

TEST_F(MenuTest, TheMenuStaysInsideTheWorkArea) {
  TRect work = Screen->WorkAreaRect();
  WhenOpen([&] {
    auto wins = MenuWindows();
    ASSERT_EQ(wins.size(), 1u);
    TRect r;
    GetWindowRect(wins[0], &r);
    EXPECT_LE(r.Right, work.Right);
    EXPECT_LE(r.Bottom, work.Bottom);
    EXPECT_EQ(r.Bottom, work.Bottom - 2) << "opened above the point that was too low";
    Headless::KeyPress(VK_ESCAPE);
  });
  menu->Popup(work.Right - 5, work.Bottom - 2);
}

TEST_F(MenuTest, OlderHooksWaitWhileTheMenuIsOpen) {
  int older = 0;
  int hook = Application->AddMessageHook([&](MSG& m) {
    older += m.message == WM_KEYDOWN;
    return false;
  });
  WhenOpen([&] { Headless::KeyPress(VK_ESCAPE); });
  menu->Popup(150, 150);
  EXPECT_EQ(older, 0);
  Headless::KeyPress('X');
  EXPECT_EQ(older, 1) << "the hook installed before the menu is back";
  Application->RemoveMessageHook(hook);
}

TEST_F(MenuTest, RightClickOpensThePopupMenuOfTheControl) {
  under->SetPopupMenu(menu);
  WhenOpen([&] { ClickRow(0); });
  TPoint p = At(under, 30, 30);
  Headless::Click(p.X, p.Y, VK_RBUTTON);
  EXPECT_EQ(menu->PopupComponent(), under);
  // The menu opens from the release's default handling, before the control's OnMouseUp.
  EXPECT_EQ(log, (Strings{"under.down", "&Alpha.chosen", "under.up"}));
}

TEST_F(MenuTest, AnEmptyMenuShowsNothing) {
  auto* empty = new TPopupMenu(form);
  auto* hidden = new TMenuItem(form);
  hidden->SetCaption("Hidden");
  hidden->SetVisible(false);
  empty->Items()->Add(hidden);
  int popups = 0;
  empty->OnPopup = [&](TObject*) { ++popups; };
  empty->Popup(150, 150);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(MenuWindows().empty());
}

TEST_F(MenuTest, TheOpenMenuIsDrawnWithItsHotRow) {
  std::unique_ptr<TSurface> shot;
  WhenOpen([&] {
    Headless::KeyPress(VK_DOWN);
    Headless::KeyPress(VK_DOWN);
    Application->ProcessMessages();
    auto wins = MenuWindows();
    ASSERT_EQ(wins.size(), 1u);
    shot = std::make_unique<TSurface>();
    ASSERT_TRUE(Headless::CaptureWindow(wins[0], shot.get()));
    TSurface screen;
    Headless::CaptureScreen(&screen);
    Headless::SavePNG(screen, (std::filesystem::temp_directory_path() / "controls_menu.png").string());
    Headless::KeyPress(VK_ESCAPE);
  });
  menu->Popup(150, 150);
  ASSERT_TRUE(shot);
  TColor hl = ColorToRGB(clHighlight);
  uint32_t want = 0xFF000000u | (static_cast<uint32_t>(GetRValue(hl)) << 16) | (static_cast<uint32_t>(GetGValue(hl)) << 8) |
                  static_cast<uint32_t>(GetBValue(hl));
  int highlighted = 0;
  for (int y = 0; y < shot->Height(); ++y) highlighted += shot->Row(y)[shot->Width() - 6] == want;
  TBitmap scratch(1, 1);
  int rowHeight = MenuPainter()->MeasureItem(scratch.Canvas(), EntriesOf(menu->Items())[2]).cy;
  EXPECT_EQ(highlighted, rowHeight) << "exactly the hot row is highlighted";
}

TEST(MenuHandleTest, MenusBuiltByHandleAnswerTheChosenCommand) {
  HMENU m = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenu(m, MF_STRING, 10, "&Open"));
  ASSERT_TRUE(AppendMenu(m, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenu(m, MF_STRING | MF_GRAYED, 11, "Print"));
  ASSERT_TRUE(AppendMenu(sub, MF_STRING, 20, "Copy\tCtrl+C"));
  ASSERT_TRUE(AppendMenu(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&Edit"));
  EXPECT_FALSE(AppendMenu(m, MF_POPUP, reinterpret_cast<UINT_PTR>(m), "Self")) << "a menu cannot hold itself";
  EXPECT_EQ(GetMenuItemCount(m), 4);
  EXPECT_EQ(GetMenuItemID(m, 0), 10u);
  EXPECT_EQ(GetSubMenu(m, 3), sub);
  EXPECT_EQ(CheckMenuItem(m, 20, MF_CHECKED), 0u) << "found inside the sub-menu by command";
  EXPECT_EQ(GetMenuState(m, 20, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(m, 11, MF_ENABLED), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(GetMenuString(m, 2, MF_BYPOSITION), "Print");
  Headless::SetScreenSize(1024, 768);
  Headless::Schedule(10, [] {
    Headless::KeyPress(VK_UP);     // the sub-menu row (last)
    Headless::KeyPress(VK_RIGHT);  // opens it, first row hot
    Headless::KeyPress(VK_RETURN);
  });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 200, 200, 0, nullptr, nullptr), 20u);
  Headless::Schedule(10, [] { Headless::KeyPress(VK_ESCAPE); });
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 200, 200, 0, nullptr, nullptr), 0u);
  EXPECT_TRUE(DeleteMenu(m, 3, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub)) << "deleting a sub-menu row destroys the sub-menu";
  EXPECT_TRUE(DestroyMenu(m));
  EXPECT_FALSE(DestroyMenu(m));
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr), 0u);
}
