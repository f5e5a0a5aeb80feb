#pragma once
// The standard scroll bars of a window (WS_VSCROLL, WS_HSCROLL), drawn in its non-client area.
//
// A bar shows when its range is larger than its page (nMax - nMin + 1 > nPage) and hides
// otherwise, unless SIF_DISABLENOSCROLL keeps it shown, disabled; showing or hiding one changes
// the window's style and recomputes its frame. Pressing a bar (the default handling of
// WM_NCLBUTTONDOWN on HTVSCROLL / HTHSCROLL) sends WM_VSCROLL / WM_HSCROLL to the window: line
// and page requests repeat after a first delay while the button stays down, a thumb drag sends
// SB_THUMBTRACK and, at release, SB_THUMBPOSITION; every press ends with SB_ENDSCROLL.
#include "platform/windows/styles.h"
#include "platform/windows/wintypes.h"

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw);
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw);
int GetScrollPos(HWND hwnd, int bar);
bool SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, bool redraw);
bool GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
bool ShowScrollBar(HWND hwnd, int bar, bool show);
bool EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// Parts of a window scroll bar, for hit testing and painting: rectangles in window coordinates.
struct TScrollBarParts {
  TRect Bar, LineUp, LineDown, PageUp, PageDown, Thumb;
  bool Enabled = false;
};
bool GetScrollBarParts(HWND hwnd, int bar, TScrollBarParts* parts);
