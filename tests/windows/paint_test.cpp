// Painting: update regions, coalescing and clipping, erasing, WM_SETREDRAW, clipping of
// children and siblings, the non-client area, presenting dirty rectangles, scrolling, carets.
#include "fixture.h"
#include "platform/graphics/dc.h"
#include "platform/windows/scrollbars.h"

namespace {
// A paint handler that fills its whole client area with a colour (the DC clips it).
void PaintWith(WindowTest* t, HWND h, TColor color, std::vector<TRect>* paintRects = nullptr) {
  (void)t;
  HBRUSH brush = CreateSolidBrush(color);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  if (paintRects) paintRects->push_back(ps.rcPaint);
  TRect c;
  GetClientRect(h, &c);
  FillRect(dc, c, brush);
  EndPaint(h, &ps);
  DeleteObject(brush);
}
}  // namespace

TEST_F(WindowTest, PaintsCoalesceAndClipToTheUpdateRegion) {
  HWND h = CreateTop(TRect(0, 0, 200, 100));
  On(h, WM_PAINT, [this](HWND hh, UINT, WPARAM, LPARAM) -> LRESULT {
    PaintWith(this, hh, clWhite);
    return 0;
  });
  Pump();
  std::vector<TRect> rects;
  On(h, WM_PAINT, [&](HWND hh, UINT, WPARAM, LPARAM) -> LRESULT {
    PaintWith(this, hh, clRed, &rects);
    return 0;
  });
  ClearLog();
  TRect a(10, 10, 20, 20), b(50, 40, 60, 50);
  InvalidateRect(h, &a, false);
  InvalidateRect(h, &b, false);
  InvalidateRect(h, &a, false);
  EXPECT_EQ(Count(h, WM_PAINT), 0);  // nothing until the queue runs empty
  TRect u;
  EXPECT_TRUE(GetUpdateRect(h, &u, false));
  EXPECT_EQ(u, TRect(10, 10, 60, 50));
  Pump();
  EXPECT_EQ(Count(h, WM_PAINT), 1);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0], TRect(10, 10, 60, 50));
  // Only the two invalid squares took the red, not their bounding box.
  EXPECT_EQ(ShownPixel(h, 15, 15), Opaque(clRed));
  EXPECT_EQ(ShownPixel(h, 55, 45), Opaque(clRed));
  EXPECT_EQ(ShownPixel(h, 30, 30), Opaque(clWhite));
  EXPECT_EQ(ShownPixel(h, 9, 15), Opaque(clWhite));
  EXPECT_FALSE(GetUpdateRect(h, &u, false));
  // Validating part of the region leaves the rest.
  InvalidateRect(h, nullptr, false);
  ValidateRect(h, &a);
  TRegion rgn;
  GetUpdateRgn(h, &rgn, false);
  EXPECT_FALSE(rgn.Intersects(a));
  EXPECT_TRUE(rgn.Contains({100, 50}));
}

TEST_F(WindowTest, EraseUsesTheClassBrushAndCanBeAnsweredByTheWindow) {
  HWND h = CreateTop(TRect(0, 0, 50, 50));
  Pump();
  EXPECT_EQ(ShownPixel(h, 25, 25), Opaque(ColorToRGB(clWindow)));  // the default paint erased
  bool fErase = false;
  On(h, WM_ERASEBKGND, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; });  // "not erased"
  On(h, WM_PAINT, [&](HWND hh, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    BeginPaint(hh, &ps);
    fErase = ps.fErase;
    EndPaint(hh, &ps);
    return 0;
  });
  InvalidateRect(h, nullptr, true);
  Pump();
  EXPECT_TRUE(fErase);
  InvalidateRect(h, nullptr, false);
  Pump();
  EXPECT_FALSE(fErase);
  EXPECT_EQ(Count(h, WM_ERASEBKGND), 2);  // the first paint and the invalidation with erase
}

TEST_F(WindowTest, SetRedrawOffSuppressesPaintingUntilItIsOnAgain) {
  HWND h = CreateTop(TRect(0, 0, 100, 100));
  Pump();
  ClearLog();
  SendMessage(h, WM_SETREDRAW, 0, 0);
  InvalidateRect(h, nullptr, true);
  Pump();
  Headless::AdvanceTime(1000);
  EXPECT_EQ(Count(h, WM_PAINT), 0);
  // Drawing through GetDC while redraw is off reaches no pixel either.
  HDC dc = GetDC(h);
  FillRect(dc, TRect(0, 0, 100, 100), GetSysColorBrush(COLOR_HIGHLIGHT));
  ReleaseDC(h, dc);
  Pump();
  EXPECT_EQ(ShownPixel(h, 50, 50), Opaque(ColorToRGB(clWindow)));
  SendMessage(h, WM_SETREDRAW, 1, 0);
  Pump();
  EXPECT_EQ(Count(h, WM_PAINT), 1);  // what was invalidated meanwhile is painted now
}

TEST_F(WindowTest, ChildrenAndSiblingsClipEachOtherOnlyWhenAsked) {
  struct TCase {
    DWORD ParentStyle;
    DWORD SiblingStyle;
    uint32_t UnderChild;    // pixel at a point covered by the child, after the parent paints
    uint32_t UnderSibling;  // pixel where the upper sibling overlaps the lower one
  };
  const uint32_t red = Opaque(clRed), green = Opaque(clLime), blue = Opaque(clBlue);
  const TCase cases[] = {
      {WS_CLIPCHILDREN, WS_CLIPSIBLINGS, green, blue},
      {0, WS_CLIPSIBLINGS, green, blue},  // the parent paints first, its children over it
      {WS_CLIPCHILDREN, 0, green, green},  // the lower sibling paints over the upper one
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.ParentStyle | c.SiblingStyle);
    HWND top = CreateTop(TRect(0, 0, 200, 200), WS_POPUP | WS_VISIBLE | c.ParentStyle);
    HWND upper = CreateChild(top, TRect(40, 40, 100, 100), WS_CHILD | WS_VISIBLE | c.SiblingStyle);
    HWND lower = CreateChild(top, TRect(10, 10, 60, 60), WS_CHILD | WS_VISIBLE | c.SiblingStyle);
    SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    On(top, WM_PAINT, [this](HWND h, UINT, WPARAM, LPARAM) -> LRESULT { PaintWith(this, h, clRed); return 0; });
    On(lower, WM_PAINT, [this](HWND h, UINT, WPARAM, LPARAM) -> LRESULT { PaintWith(this, h, clLime); return 0; });
    On(upper, WM_PAINT, [this](HWND h, UINT, WPARAM, LPARAM) -> LRESULT { PaintWith(this, h, clBlue); return 0; });
    Pump();
    EXPECT_EQ(ShownPixel(top, 150, 150), red);
    EXPECT_EQ(ShownPixel(top, 20, 20), c.UnderChild);
    EXPECT_EQ(ShownPixel(top, 50, 50), c.UnderSibling);
    // Repainting only the parent keeps the children where it clips them.
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(ShownPixel(top, 20, 20), (c.ParentStyle & WS_CLIPCHILDREN) ? c.UnderChild : red);
    DestroyWindow(top);
    ShutdownWindowSystem();
    SetUp();
  }
}

TEST_F(WindowTest, TheNonClientAreaHasItsOwnSizePaintAndHitTest) {
  HWND top = CreateTop(TRect(0, 0, 300, 200));
  HWND framed = Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, TRect(10, 10, 110, 110), top, WS_EX_CLIENTEDGE);
  TRect c;
  GetClientRect(framed, &c);
  EXPECT_EQ(c, TRect(0, 0, 100 - 2 - 4 - 17, 100 - 2 - 4));
  TPoint origin;
  ClientToScreen(framed, &origin);
  EXPECT_EQ(origin, TPoint(13, 13));
  struct THit {
    TPoint Screen;
    LRESULT Code;
  };
  for (THit h : {THit{{20, 20}, HTCLIENT}, THit{{10, 50}, HTBORDER}, THit{{100, 50}, HTVSCROLL}, THit{{200, 50}, HTNOWHERE}})
    EXPECT_EQ(SendMessage(framed, WM_NCHITTEST, 0, PointToLParam(h.Screen)), h.Code) << h.Screen.X;
  // With WS_EX_LEFTSCROLLBAR the bar sits on the left.
  HWND left = Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, TRect(10, 120, 110, 170), top, WS_EX_LEFTSCROLLBAR);
  EXPECT_EQ(SendMessage(left, WM_NCHITTEST, 0, PointToLParam({12, 130})), HTVSCROLL);
  EXPECT_EQ(SendMessage(left, WM_NCHITTEST, 0, PointToLParam({105, 130})), HTCLIENT);
  // A window that sizes its own frame: the wParam FALSE form at creation, TRUE afterwards.
  HWND custom = nullptr;
  On(nullptr, WM_NCCALCSIZE, [](HWND h, UINT, WPARAM w, LPARAM l) -> LRESULT {
    TRect* r = w ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(l)->rgrc[0] : reinterpret_cast<TRect*>(l);
    *r = r->Inflated(-5, -5);
    (void)h;
    return 0;
  });
  custom = CreateChild(top, TRect(150, 10, 250, 60));
  GetClientRect(custom, &c);
  EXPECT_EQ(c, TRect(0, 0, 90, 40));
  SetWindowPos(custom, nullptr, 0, 0, 60, 60, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(custom, &c);
  EXPECT_EQ(c, TRect(0, 0, 50, 50));
  EXPECT_GE(Count(custom, WM_NCCALCSIZE), 2);
  Pump();
  // The frame was painted: the client edge's dark line and the scroll bar's arrow face.
  EXPECT_EQ(ShownPixel(top, 11, 50), Opaque(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(ShownPixel(top, 93, 16), Opaque(ColorToRGB(clBtnFace)));
  EXPECT_GE(Count(framed, WM_NCPAINT), 1);
}

TEST_F(WindowTest, OnlyDirtyRectanglesArePresented) {
  HWND h = CreateTop(TRect(0, 0, 300, 200));
  Pump();
  int before = Headless::PresentCount(h);
  HDC dc = GetDC(h);
  FillRect(dc, TRect(20, 30, 120, 50), GetSysColorBrush(COLOR_HIGHLIGHT));
  ReleaseDC(h, dc);
  EXPECT_EQ(Headless::PresentCount(h), before);  // presented when the queue runs empty
  Pump();
  EXPECT_EQ(Headless::PresentCount(h), before + 1);
  EXPECT_EQ(Headless::LastPresentBounds(h), TRect(20, 30, 120, 50));
  EXPECT_EQ(ShownPixel(h, 20, 30), Opaque(ColorToRGB(clHighlight)));
  Pump();
  EXPECT_EQ(Headless::PresentCount(h), before + 1);  // nothing new, nothing presented
  // A child's drawing lands in the top-level window's buffer at the child's place.
  HWND child = CreateChild(h, TRect(100, 100, 150, 150));
  Pump();
  dc = GetDC(child);
  FillRect(dc, TRect(0, 0, 10, 10), GetSysColorBrush(COLOR_HIGHLIGHT));
  ReleaseDC(child, dc);
  Pump();
  EXPECT_EQ(Headless::LastPresentBounds(h), TRect(100, 100, 110, 110));
}

TEST_F(WindowTest, UpdateWindowPaintsNowAndMovingAChildRepaintsWhatItUncovered) {
  HWND top = CreateTop(TRect(0, 0, 200, 200), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = CreateChild(top, TRect(0, 0, 50, 50));
  On(child, WM_PAINT, [this](HWND h, UINT, WPARAM, LPARAM) -> LRESULT { PaintWith(this, h, clRed); return 0; });
  Pump();
  ClearLog();
  InvalidateRect(child, nullptr, false);
  UpdateWindow(child);
  EXPECT_EQ(Count(child, WM_PAINT), 1);
  SetWindowPos(child, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  auto moves = Entries(child, WM_MOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(LParamToPoint(moves[0].LParam), TPoint(100, 100));
  EXPECT_EQ(Count(child, WM_SIZE), 0);
  Pump();
  EXPECT_EQ(ShownPixel(top, 20, 20), Opaque(ColorToRGB(clWindow)));
  EXPECT_EQ(ShownPixel(top, 120, 120), Opaque(clRed));
}

TEST_F(WindowTest, ScrollingMovesPixelsAndInvalidatesOnlyWhatIsUncovered) {
  HWND h = CreateTop(TRect(0, 0, 100, 100));
  Pump();
  HDC dc = GetDC(h);
  FillRect(dc, TRect(0, 0, 100, 10), GetSysColorBrush(COLOR_HIGHLIGHT));  // a band at the top
  ReleaseDC(h, dc);
  Pump();
  TRegion update;
  TRect updateRect;
  int kind = ScrollWindowEx(h, 0, 30, nullptr, nullptr, &update, &updateRect, SW_INVALIDATE);
  EXPECT_EQ(kind, SIMPLEREGION);
  EXPECT_EQ(updateRect, TRect(0, 0, 100, 30));
  TRect u;
  GetUpdateRect(h, &u, false);
  EXPECT_EQ(u, TRect(0, 0, 100, 30));
  ValidateRect(h, nullptr);
  Pump();
  EXPECT_EQ(ShownPixel(h, 50, 35), Opaque(ColorToRGB(clHighlight)));  // the band moved down
  EXPECT_EQ(ShownPixel(h, 50, 45), Opaque(ColorToRGB(clWindow)));
}

TEST_F(WindowTest, TheCaretBlinksOnTheClockAndHidesWhileItsWindowPaints) {
  HWND h = CreateTop(TRect(0, 0, 100, 50));
  Pump();
  ASSERT_TRUE(CreateCaret(h, nullptr, 2, 16));
  SetCaretPos(10, 5);
  EXPECT_FALSE(GetCaretState().Drawn);  // created hidden
  ShowCaret(h);
  ShowCaret(h);  // the count does not go below zero ...
  HideCaret(h);  // ... so one hide hides it again
  EXPECT_EQ(GetCaretState().HideCount, 1);
  ShowCaret(h);
  Pump();
  uint32_t window = Opaque(ColorToRGB(clWindow));
  uint32_t inverted = window ^ 0x00FFFFFFu;
  EXPECT_TRUE(GetCaretState().Drawn);
  EXPECT_EQ(ShownPixel(h, 10, 5), inverted);
  EXPECT_EQ(ShownPixel(h, 12, 5), window);
  Headless::AdvanceTime(GetCaretBlinkTime());
  EXPECT_FALSE(GetCaretState().Drawn);
  EXPECT_EQ(ShownPixel(h, 10, 5), window);
  Headless::AdvanceTime(GetCaretBlinkTime());
  EXPECT_EQ(ShownPixel(h, 10, 5), inverted);
  // Inside BeginPaint the caret is hidden, and back afterwards.
  int hiddenDuringPaint = -1;
  On(h, WM_PAINT, [&](HWND hh, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    BeginPaint(hh, &ps);
    hiddenDuringPaint = GetCaretState().HideCount;
    EndPaint(hh, &ps);
    return 0;
  });
  InvalidateRect(h, nullptr, true);
  Pump();
  EXPECT_EQ(hiddenDuringPaint, 1);
  EXPECT_EQ(GetCaretState().HideCount, 0);
  DestroyCaret();
  Pump();
  EXPECT_EQ(ShownPixel(h, 10, 5), window);
}

TEST_F(WindowTest, ScrollBarsShowForTheirRangeAndRepeatWhilePressed) {
  HWND top = CreateTop(TRect(0, 0, 300, 300));
  HWND list = CreateChild(top, TRect(0, 0, 100, 200));
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 100;
  SetScrollInfo(list, SB_VERT, &si, true);
  EXPECT_FALSE(GetWindowLongPtr(list, GWL_STYLE) & WS_VSCROLL);  // everything fits
  si.nPage = 20;
  SetScrollInfo(list, SB_VERT, &si, true);
  EXPECT_TRUE(GetWindowLongPtr(list, GWL_STYLE) & WS_VSCROLL);
  TRect c;
  GetClientRect(list, &c);
  EXPECT_EQ(c.Width(), 100 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(SetScrollPos(list, SB_VERT, 500, true), 0);
  EXPECT_EQ(GetScrollPos(list, SB_VERT), 80);  // clamped to max - page + 1

  SetScrollPos(list, SB_VERT, 0, true);
  std::vector<UINT> codes;
  On(list, WM_VSCROLL, [&](HWND h, UINT, WPARAM w, LPARAM) -> LRESULT {
    codes.push_back(LOWORD(w));
    if (LOWORD(w) == SB_LINEDOWN) SetScrollPos(h, SB_VERT, GetScrollPos(h, SB_VERT) + 1, true);
    return 0;
  });
  TScrollBarParts parts;
  ASSERT_TRUE(GetScrollBarParts(list, SB_VERT, &parts));
  TPoint down = parts.LineDown.CenterPoint();
  Headless::MouseDown(VK_LBUTTON, down.X, down.Y);
  EXPECT_EQ(codes.size(), 1u);  // at once
  Headless::AdvanceTime(399);
  EXPECT_EQ(codes.size(), 1u);  // the first repeat waits
  Headless::AdvanceTime(1 + 50 * 3);
  EXPECT_EQ(codes.size(), 5u);  // then every 50 ms
  Headless::MouseUp(VK_LBUTTON, down.X, down.Y);
  EXPECT_EQ(codes.back(), static_cast<UINT>(SB_ENDSCROLL));
  EXPECT_EQ(GetScrollPos(list, SB_VERT), 5);
  EXPECT_EQ(GetCapture(), nullptr);

  // Dragging the thumb tracks and ends with its position.
  codes.clear();
  ASSERT_TRUE(GetScrollBarParts(list, SB_VERT, &parts));
  TPoint t = parts.Thumb.CenterPoint();
  Headless::MouseDown(VK_LBUTTON, t.X, t.Y);
  Headless::MouseMove(t.X, t.Y + 1000);
  Headless::MouseUp(VK_LBUTTON, t.X, t.Y + 1000);
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes[codes.size() - 3], static_cast<UINT>(SB_THUMBTRACK));
  EXPECT_EQ(codes[codes.size() - 2], static_cast<UINT>(SB_THUMBPOSITION));
}
