#pragma once
// Painting: update regions, WM_PAINT and WM_ERASEBKGND, device contexts of windows, and
// scrolling of window contents.
//
// Every top-level window composes itself and its children into one back buffer. Device
// contexts of windows draw into that buffer, clipped to what is visible of the window (its
// parent's client area, children and siblings per WS_CLIPCHILDREN / WS_CLIPSIBLINGS) and, inside
// BeginPaint, to the update region. What was drawn is presented to the screen as dirty
// rectangles when the queue runs empty (or at GdiFlush).
#include "platform/core/region.h"
#include "platform/windows/styles.h"
#include "platform/windows/wintypes.h"

// Adds a rectangle (client coordinates; null: the whole client area) to the update region.
// Children that lie under it are invalidated too unless the window has WS_CLIPCHILDREN.
bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase);
bool InvalidateRgn(HWND hwnd, const TRegion& region, bool erase);
bool ValidateRect(HWND hwnd, const TRect* rect);
bool ValidateRgn(HWND hwnd, const TRegion& region);
// Bounds of the update region in client coordinates; false when it is empty. With erase true,
// a pending erase is carried out (WM_ERASEBKGND) first.
bool GetUpdateRect(HWND hwnd, TRect* rect, bool erase);
// The update region in client coordinates; false when it is empty.
bool GetUpdateRgn(HWND hwnd, TRegion* region, bool erase);
// Sends WM_PAINT now when the update region is not empty.
bool UpdateWindow(HWND hwnd);
// rect and region in client coordinates (both null: the whole window, with RDW_FRAME the
// non-client area too).
bool RedrawWindow(HWND hwnd, const TRect* rect, const TRegion* region, UINT flags);

// Starts painting: sends WM_NCPAINT and WM_ERASEBKGND when pending, validates the update region
// and returns a device context clipped to it, origin at the client area. The caret of the
// window is hidden until EndPaint.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// A device context for the client area (GetDC) or the whole window (GetWindowDC), clipped to
// what is visible. GetDC(null) gives a context for measuring whose drawing goes nowhere.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, const TRegion* clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC dc);
// Presents everything drawn so far.
bool GdiFlush();

// Flags of GetDCEx.
enum : DWORD {
  DCX_WINDOW = 0x00000001, DCX_CACHE = 0x00000002, DCX_PARENTCLIP = 0x00000020,
  DCX_CLIPSIBLINGS = 0x00000010, DCX_CLIPCHILDREN = 0x00000008, DCX_EXCLUDERGN = 0x00000040,
  DCX_INTERSECTRGN = 0x00000080, DCX_LOCKWINDOWUPDATE = 0x00000400
};

// Moves the pixels of the client area (or of scroll, clipped to clip) by (dx, dy) and adds the
// uncovered part to the update region (SW_INVALIDATE, SW_ERASE); with SW_SCROLLCHILDREN child
// windows move along. The uncovered part is returned in update / updateRect.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip,
                   TRegion* update, TRect* updateRect, UINT flags);
bool ScrollWindow(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip);

// The brush of a system colour, as class brushes use it.
inline HBRUSH SysColorBrushIndex(int colorIndex) { return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(colorIndex + 1)); }
