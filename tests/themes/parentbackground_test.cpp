#include <gtest/gtest.h>

#include "platform/graphics/objects.h"
#include "platform/graphics/surface.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/window.h"

namespace {
constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;
int gChildPaints = 0;

// The parent erases to red and paints a blue square at (50, 50)-(60, 60) of its client area.
LRESULT ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  HDC dc = reinterpret_cast<HDC>(wp);
  if (msg == WM_ERASEBKGND) {
    HBRUSH red = CreateSolidBrush(clRed);
    FillRect(dc, TRect(0, 0, 200, 200), red);
    DeleteObject(red);
    return 1;
  }
  if (msg == WM_PRINTCLIENT) {
    HBRUSH blue = CreateSolidBrush(clBlue);
    FillRect(dc, TRect(50, 50, 60, 60), blue);
    DeleteObject(blue);
    return 0;
  }
  return DefWindowProc(h, msg, wp, lp);
}
LRESULT ChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PRINTCLIENT || msg == WM_ERASEBKGND || msg == WM_PAINT) ++gChildPaints;
  return DefWindowProc(h, msg, wp, lp);
}

class ParentBackgroundTest : public testing::Test {
protected:
  ParentBackgroundTest() : surface(30, 30), dc(CreateSurfaceDC(&surface)) {
    static bool registered = [] {
      WNDCLASS parent;
      parent.lpfnWndProc = ParentProc;
      parent.lpszClassName = "ParentBackgroundParent";
      RegisterClass(parent);
      WNDCLASS child;
      child.lpfnWndProc = ChildProc;
      child.lpszClassName = "ParentBackgroundChild";
      RegisterClass(child);
      return true;
    }();
    (void)registered;
    parent = CreateWindowEx(0, "ParentBackgroundParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    child = CreateWindowEx(0, "ParentBackgroundChild", "", WS_CHILD | WS_VISIBLE, 40, 40, 30, 30, parent, nullptr, nullptr, nullptr);
    gChildPaints = 0;
  }
  ~ParentBackgroundTest() override {
    DestroyWindow(parent);
    DeleteDC(dc);
  }
  uint32_t At(int x, int y) const { return surface.Row(y)[x]; }
  TSurface surface;
  HDC dc;
  HWND parent = nullptr, child = nullptr;
};
}  // namespace

TEST_F(ParentBackgroundTest, PaintsWhatTheParentShowsBehindTheWindow) {
  ASSERT_TRUE(child);
  EXPECT_TRUE(StyleServices().DrawParentBackground(child, dc, nullptr, false));
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(10, 10), kBlue);  // the parent's (50, 50)
  EXPECT_EQ(At(19, 19), kBlue);
  EXPECT_EQ(At(20, 20), kRed);
  EXPECT_EQ(gChildPaints, 0);  // the window itself is not painted again
  TPoint org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org, TPoint(0, 0));
}

TEST_F(ParentBackgroundTest, KeepsToTheBoundsGiven) {
  TRect bounds(0, 0, 15, 30);
  EXPECT_TRUE(StyleServices().DrawParentBackground(child, dc, nullptr, false, &bounds));
  EXPECT_EQ(At(12, 12), kBlue);
  EXPECT_EQ(At(16, 12), 0u);
  EXPECT_EQ(At(20, 25), 0u);
}

TEST_F(ParentBackgroundTest, OnlyIfTransparentSkipsOpaqueElements) {
  TThemedElementDetails opaque = GetElementDetails(tgCellSelected);  // a square solid fill
  EXPECT_FALSE(StyleServices().IsElementTransparent(opaque));
  EXPECT_TRUE(StyleServices().DrawParentBackground(child, dc, &opaque, true));
  EXPECT_EQ(At(0, 0), 0u);
  TThemedElementDetails rounded = GetElementDetails(tbPushButtonNormal);
  EXPECT_TRUE(StyleServices().IsElementTransparent(rounded));
  EXPECT_TRUE(StyleServices().DrawParentBackground(child, dc, &rounded, true));
  EXPECT_EQ(At(0, 0), kRed);
}

TEST_F(ParentBackgroundTest, TopLevelWindowsHaveNothingBehindThem) {
  EXPECT_FALSE(StyleServices().DrawParentBackground(parent, dc, nullptr, false));
  EXPECT_FALSE(StyleServices().DrawParentBackground(child, nullptr, nullptr, false));
  EXPECT_FALSE(StyleServices().DrawParentBackground(nullptr, dc, nullptr, false));
}
