#include <gtest/gtest.h>

#include <fstream>

#include "platform/themes/stylefile.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/paint.h"
#include "platform/windows/window.h"

namespace {
class StyleManagerTest : public testing::Test {
protected:
  ~StyleManagerTest() override {
    for (int id : Listeners) TStyleManager::RemoveStyleChangeListener(id);
    TStyleManager::SetStyle(TStyleManager::SystemStyleName);
  }
  int Listen(std::function<void(TObject*)> f) {
    int id = TStyleManager::AddStyleChangeListener(TNotifyEvent(std::move(f)));
    Listeners.push_back(id);
    return id;
  }
  static String WriteFile(const String& name, const std::vector<uint8_t>& bytes) {
    String path = testing::TempDir() + name;
    WriteFileBytes(path, bytes);
    return path;
  }
  static std::vector<uint8_t> Bytes(const String& s) { return {s.begin(), s.end()}; }
  std::vector<int> Listeners;
};
}  // namespace

TEST_F(StyleManagerTest, RegistersTheBuiltInAndTheCarriedStylesAtStart) {
  EXPECT_TRUE(TStyleManager::StartupProblems().empty());
  std::vector<String> names = TStyleManager::StyleNames();
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ(std::vector<String>(names.begin(), names.begin() + 5),
            (std::vector<String>{"Windows", "Aqua Light Slate", "Glossy", "Sapphire Kamri", "TabletDark"}));
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
  EXPECT_EQ(TStyleManager::ActiveStyle(), TStyleManager::SystemStyle());
}

TEST_F(StyleManagerTest, SetStyleSwitchesByDisplayNameAndAnnouncesOnce) {
  std::vector<String> heard;
  Listen([&](TObject* sender) { heard.push_back(static_cast<TCustomStyleServices*>(sender)->Name()); });
  TStyleManager::SetStyle("glossy");  // display names ignore case
  EXPECT_TRUE(TStyleManager::IsCustomStyleActive());
  EXPECT_EQ(StyleServices().Name(), "Glossy");
  TStyleManager::SetStyle("Glossy");  // already active: nothing happens
  TStyleManager::SetStyle("TabletDark");
  TStyleManager::SetStyle("Windows");
  EXPECT_EQ(heard, (std::vector<String>{"Glossy", "TabletDark", "Windows"}));
}

TEST_F(StyleManagerTest, AnUnknownNameRaisesAndChangesNothing) {
  TStyleManager::SetStyle("Sapphire Kamri");
  TColor face = ColorToRGB(clBtnFace);
  int heard = 0;
  Listen([&](TObject*) { ++heard; });
  try {
    TStyleManager::SetStyle("Tablet Dark");
    FAIL();
  } catch (const EStyleNotFound& e) {
    EXPECT_NE(e.Message().find("Style \"Tablet Dark\" not found"), String::npos) << e.Message();
    EXPECT_NE(e.Message().find("TabletDark"), String::npos) << e.Message();
  }
  EXPECT_EQ(StyleServices().Name(), "Sapphire Kamri");
  EXPECT_EQ(ColorToRGB(clBtnFace), face);
  EXPECT_EQ(heard, 0);
}

TEST_F(StyleManagerTest, EveryListenerHearsEachSwitchOnce) {
  // Stand-ins for the controls of a form: each counts the change notices it receives.
  std::vector<int> notices(200, 0);
  for (int& n : notices) Listen([&n](TObject*) { ++n; });
  TStyleManager::SetStyle("Glossy");
  TStyleManager::SetClassicLook(true);   // a custom style is active: the look does not change
  TStyleManager::SetStyle("Windows");    // now classic
  TStyleManager::SetClassicLook(false);  // back to the native look
  for (int n : notices) EXPECT_EQ(n, 3);
}

TEST_F(StyleManagerTest, ListenersMayLeaveButNotSwitchDuringAnAnnouncement) {
  int second = 0;
  int secondId = 0;
  Listen([&](TObject*) { TStyleManager::RemoveStyleChangeListener(secondId); });
  secondId = Listen([&](TObject*) { ++second; });
  TStyleManager::SetStyle("Glossy");
  EXPECT_EQ(second, 0);
  Listen([&](TObject*) { TStyleManager::SetStyle("Windows"); });
  EXPECT_THROW(TStyleManager::SetStyle("TabletDark"), EInvalidOperation);
}

TEST_F(StyleManagerTest, LoadsUserStylesFromFiles) {
  String path = WriteFile("harbour.kvstyle", Bytes("kvstyle 1\nname \"Harbour\"\nsystem { clBtnFace #335566 }\n"));
  String name;
  EXPECT_TRUE(TStyleManager::IsValidStyle(path, &name));
  EXPECT_EQ(name, "Harbour");
  EXPECT_EQ(TStyleManager::LoadFromFile(path), "Harbour");
  TStyleManager::SetStyle("Harbour");
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(0x33, 0x55, 0x66));
  // A packed copy cannot be registered under the same name.
  String packed = WriteFile("harbour.kvs", PackStyle(ReadStyleSource(path)));
  EXPECT_THROW(TStyleManager::LoadFromFile(packed), EStyleError);
  TStyleManager::SetStyle("Windows");
  EXPECT_TRUE(TStyleManager::UnRegisterStyle("Harbour"));
  EXPECT_EQ(TStyleManager::LoadFromFile(packed), "Harbour");
  EXPECT_FALSE(TStyleManager::UnRegisterStyle("Windows"));
  EXPECT_TRUE(TStyleManager::UnRegisterStyle("Harbour"));
}

// A bad file is refused with a message naming the fault, registers nothing and leaves the
// active style as it was.
TEST_F(StyleManagerTest, BadFilesAreRefusedAndChangeNothing) {
  TStyleManager::SetStyle("Glossy");
  std::vector<uint8_t> good = PackStyle(ReadStyleSource(WriteFile("ok.kvstyle", Bytes("kvstyle 1\nname \"Okay\"\n"))));
  std::vector<uint8_t> badSignature = good;
  badSignature.at(1) = 'X';
  struct TCase {
    const char* File;
    std::vector<uint8_t> Bytes;
    const char* Says;
  };
  const TCase cases[] = {
      {"truncated.kvs", std::vector<uint8_t>(good.begin(), good.begin() + 30), "truncated"},
      {"signature.kvs", badSignature, "not a style file"},
      {"element.kvstyle", Bytes("kvstyle 1\nname \"Okay\"\nelement Button.Knob { fill #FFF }\n"),
       ":3:9: unknown element 'Button.Knob'"},
      {"windows.kvstyle", Bytes("kvstyle 1\nname \"Windows\"\n"), "the built-in style's name"},
  };
  size_t before = TStyleManager::StyleNames().size();
  int heard = 0;
  Listen([&](TObject*) { ++heard; });
  for (const TCase& c : cases) {
    String path = WriteFile(c.File, c.Bytes);
    EXPECT_FALSE(TStyleManager::IsValidStyle(path) && String(c.File) != "windows.kvstyle");
    try {
      TStyleManager::LoadFromFile(path);
      ADD_FAILURE() << c.File << " accepted";
    } catch (const EStyleError& e) {
      EXPECT_NE(e.Message().find(c.Says), String::npos) << e.Message();
    }
  }
  EXPECT_THROW(TStyleManager::LoadFromFile(testing::TempDir() + "missing.kvs"), EReadError);
  EXPECT_THROW(TStyleManager::LoadFromResource("NO_SUCH_STYLE"), EStyleError);
  EXPECT_EQ(TStyleManager::StyleNames().size(), before);
  EXPECT_EQ(StyleServices().Name(), "Glossy");
  EXPECT_EQ(heard, 0);
}

TEST_F(StyleManagerTest, ASwitchRepaintsEveryWindowWithoutRecreatingIt) {
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "StyleSwitchWindow";
  RegisterClass(wc);
  HWND form = CreateWindowEx(0, "StyleSwitchWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowEx(0, "StyleSwitchWindow", "", WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, form, nullptr, nullptr, nullptr);
  for (HWND h : {form, child}) ValidateRect(h, nullptr);
  TRect dirty;
  ASSERT_FALSE(GetUpdateRect(child, &dirty, false));
  TStyleManager::SetStyle("Sapphire Kamri");
  EXPECT_TRUE(IsWindow(form) && IsWindow(child));
  ASSERT_TRUE(GetUpdateRect(form, &dirty, false));
  EXPECT_EQ(dirty, TRect(0, 0, 100, 80));
  ASSERT_TRUE(GetUpdateRect(child, &dirty, false));
  EXPECT_EQ(dirty, TRect(0, 0, 30, 20));
  DestroyWindow(form);
}
