#pragma once
// Basic types of the window layer: handles, message parameters, the message record and the
// structures that travel with messages. Values and layouts follow the framework's
// conventions so that code written against them reads the same here; strings are UTF-8.
#include <cstdint>

#include "platform/core/geometry.h"
#include "platform/core/strings.h"

using UINT = unsigned int;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using ATOM = uint16_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using UINT_PTR = uintptr_t;

struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;
using HICON = HCURSOR;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HDWP__;
using HDWP = HDWP__*;
// Device contexts and brushes belong to the graphics layer; the same declarations appear there.
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
class TDeviceContext;
using HDC = TDeviceContext*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

constexpr DWORD INFINITE = 0xFFFFFFFFu;

// Packing of message parameters.
constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(unsigned lo, unsigned hi) { return (lo & 0xFFFF) | ((hi & 0xFFFF) << 16); }
constexpr WPARAM MAKEWPARAM(unsigned lo, unsigned hi) { return MAKELONG(lo, hi); }
constexpr LPARAM MAKELPARAM(unsigned lo, unsigned hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
constexpr LRESULT MAKELRESULT(unsigned lo, unsigned hi) { return static_cast<LRESULT>(MAKELONG(lo, hi)); }
// Signed coordinates packed into an LPARAM (mouse messages).
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(l))); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(l))); }
constexpr LPARAM PointToLParam(TPoint p) { return MAKELPARAM(static_cast<unsigned>(p.X), static_cast<unsigned>(p.Y)); }
constexpr TPoint LParamToPoint(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<int16_t>(HIWORD(w)); }
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM w) { return LOWORD(w); }

// A queued message as GetMessage and PeekMessage return it: time in milliseconds of the
// window layer's clock, pt the cursor position in screen coordinates when it was queued.
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  TPoint pt;
};

// A window class. Class names are compared case-insensitively.
struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;  // bytes of extra window memory, reached with Get/SetWindowLongPtr(offset)
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  // A brush, or a system colour index + 1 ((HBRUSH)(COLOR_BTNFACE + 1)); null: no erasing.
  HBRUSH hbrBackground = nullptr;
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
};

// lParam of WM_NCCREATE and WM_CREATE.
struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;
  HWND hwndParent = nullptr;
  int cy = 0, cx = 0, y = 0, x = 0;
  DWORD style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

// lParam of WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED.
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};

// lParam of WM_NCCALCSIZE with wParam TRUE: rgrc[0] is the proposed window rectangle (in the
// parent's client coordinates) and receives the client rectangle; rgrc[1] and rgrc[2] hold the
// old window and client rectangles.
struct NCCALCSIZE_PARAMS {
  TRect rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

// lParam of WM_STYLECHANGING (styleNew may be changed) and WM_STYLECHANGED.
struct STYLESTRUCT {
  DWORD styleOld = 0;
  DWORD styleNew = 0;
};

// lParam of WM_GETMINMAXINFO.
struct MINMAXINFO {
  TPoint ptReserved;
  TPoint ptMaxSize;
  TPoint ptMaxPosition;
  TPoint ptMinTrackSize;
  TPoint ptMaxTrackSize;
};

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  bool fErase = false;  // true when the background still needs erasing (WM_ERASEBKGND answered 0)
  TRect rcPaint;        // bounds of the update region, client coordinates
  bool fRestore = false;
  bool fIncUpdate = false;
};

struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;
};

struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  TRect rcMonitor;
  TRect rcWork;
  DWORD dwFlags = 0;
};

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

struct WINDOWPLACEMENT {
  UINT length = sizeof(WINDOWPLACEMENT);
  UINT flags = 0;
  UINT showCmd = 0;
  TPoint ptMinPosition;
  TPoint ptMaxPosition;
  TRect rcNormalPosition;
};
