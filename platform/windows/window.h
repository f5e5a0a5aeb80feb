#pragma once
// Windows: classes, creation and destruction, window procedures and subclassing, styles, the
// window tree and z-order, text, geometry, and the screen with its monitors.
//
// All windows live on one user-interface thread: the first thread that uses the window layer.
// Functions that read or change windows refuse other threads with EInvalidOperation; other
// threads talk to windows through PostMessage, PostThreadMessage and SendMessage (which is
// carried over to the user-interface thread and waits there for the answer).
//
// Failures that the caller can expect (an unknown class, a destroyed window handle, a name
// already registered) are answered the traditional way: a null or false result and a code
// from GetLastError. Handles are checked: a stale handle is recognised and never dereferenced.
#include <functional>
#include <vector>

#include "platform/core/region.h"
#include "platform/windows/messages.h"
#include "platform/windows/styles.h"
#include "platform/windows/wintypes.h"

// ---- errors ---------------------------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD code);
// A readable text for an error code ("Invalid window handle").
String SysErrorMessage(DWORD code);

// ---- classes --------------------------------------------------------------------------
ATOM RegisterClass(const WNDCLASS& wc);
bool UnregisterClass(const char* className, HINSTANCE instance = nullptr);
bool GetClassInfo(HINSTANCE instance, const char* className, WNDCLASS* out);
String GetClassName(HWND hwnd);
ULONG_PTR GetClassLongPtr(HWND hwnd, int index);
// Changes a class value for every window of the class; returns the previous value.
ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);

// ---- creation and destruction ------------------------------------------------------------
// Message order: WM_GETMINMAXINFO (top-level windows), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE,
// WM_PARENTNOTIFY to the ancestors of a child, WM_SIZE, WM_MOVE, then showing when WS_VISIBLE
// is set. A false answer to WM_NCCREATE or -1 to WM_CREATE destroys the window again and
// CreateWindowEx returns null.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                    HINSTANCE instance, void* param);
inline HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                         void* param) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menuOrId,
                        instance, param);
}
// Hides the window, destroys the windows it owns, sends WM_DESTROY to it and then to each
// child (parents first), destroys the children completely (their WM_NCDESTROY comes before
// the parent's) and finally sends WM_NCDESTROY. The handle is invalid afterwards; destroying
// a window inside one of its own handlers is safe.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);

// ---- procedures and window data ------------------------------------------------------------
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Calls a window procedure: a plain function or an object instance (below). Procedures read
// with GetWindowLongPtr(GWL_WNDPROC) must be called through here.
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Window procedures bound to any callable (an object's method), for subclassing and class
// procedures that need state. The returned value is a procedure handle for SetWindowLongPtr,
// RegisterClass and CallWindowProc; it is not a function to call directly. Freeing it while it
// runs is safe: the call in progress finishes.
using TWndMethod = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
WNDPROC MakeObjectInstance(TWndMethod method);
void FreeObjectInstance(WNDPROC instance);

// GWL_WNDPROC, GWL_STYLE (with WM_STYLECHANGING / WM_STYLECHANGED), GWL_EXSTYLE (the same
// messages), GWLP_USERDATA, GWLP_ID, GWLP_HWNDPARENT (the owner of a top-level window), or an
// offset into the class's extra window bytes. Returns the previous value.
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG_PTR GetWindowLong(HWND hwnd, int index) { return GetWindowLongPtr(hwnd, index); }
inline LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) { return SetWindowLongPtr(hwnd, index, value); }

// Named values attached to a window, removed when it is destroyed.
bool SetProp(HWND hwnd, const char* name, void* value);
void* GetProp(HWND hwnd, const char* name);
void* RemoveProp(HWND hwnd, const char* name);

// ---- text --------------------------------------------------------------------------------
// Through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH; lengths are UTF-8 bytes.
bool SetWindowText(HWND hwnd, const String& text);
String GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

// ---- the window tree ----------------------------------------------------------------------
// The desktop: the parent of every top-level window; its rectangle is the virtual screen.
HWND GetDesktopWindow();
// A child's parent; a pop-up's owner; null for other top-level windows.
HWND GetParent(HWND hwnd);
// Moves a window under a new parent (null or the desktop: it becomes top-level). Returns the
// previous parent.
HWND SetParent(HWND child, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND hwnd);  // the topmost child (null: the topmost top-level window)
HWND GetNextWindow(HWND hwnd, UINT relation);
bool IsChild(HWND parent, HWND hwnd);
// Children in z-order (topmost first), recursively.
std::vector<HWND> GetChildWindows(HWND parent);
// Top-level windows in z-order, topmost first.
std::vector<HWND> GetTopLevelWindows();
bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback);
bool EnumWindows(const std::function<bool(HWND)>& callback);
int GetDlgCtrlID(HWND hwnd);
HWND GetDlgItem(HWND parent, int id);

// ---- state --------------------------------------------------------------------------------
// True when the window and all its ancestors have WS_VISIBLE.
bool IsWindowVisible(HWND hwnd);
bool IsWindowEnabled(HWND hwnd);
// Sends WM_CANCELMODE to a window being disabled, then WM_ENABLE; a disabled window loses the
// focus and the capture. Returns true when the window was disabled before.
bool EnableWindow(HWND hwnd, bool enable);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);

// ---- geometry -----------------------------------------------------------------------------
// Window rectangle in screen coordinates.
bool GetWindowRect(HWND hwnd, TRect* rect);
// Client rectangle: (0, 0, client width, client height).
bool GetClientRect(HWND hwnd, TRect* rect);
bool ClientToScreen(HWND hwnd, TPoint* point);
bool ScreenToClient(HWND hwnd, TPoint* point);
// Maps points from one window's client coordinates to another's (null: the screen).
int MapWindowPoints(HWND from, HWND to, TPoint* points, unsigned count);
inline int MapWindowRect(HWND from, HWND to, TRect* rect) {
  TPoint p[2] = {rect->TopLeft(), rect->BottomRight()};
  int r = MapWindowPoints(from, to, p, 2);
  *rect = TRect(p[0], p[1]);
  return r;
}

// Moves, sizes, re-orders, shows or hides a window. Sends WM_WINDOWPOSCHANGING, WM_NCCALCSIZE
// (when the size or frame changes), then WM_WINDOWPOSCHANGED, whose default handling sends
// WM_MOVE and WM_SIZE. Without SWP_NOACTIVATE a visible top-level window is activated.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
// Returns whether the window was visible before. SW_SHOW and SW_SHOWNORMAL activate a
// top-level window; SW_SHOWNA and SW_SHOWNOACTIVATE do not.
bool ShowWindow(HWND hwnd, int cmdShow);
bool BringWindowToTop(HWND hwnd);
bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
// Deferred positioning: the positions are applied one after the other by EndDeferWindowPos.
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool EndDeferWindowPos(HDWP info);

// The window rectangle needed for a client rectangle with these styles.
bool AdjustWindowRectEx(TRect* rect, DWORD style, bool menu, DWORD exStyle);

// The visible, enabled window under a screen point, pop-ups included; windows answering
// HTTRANSPARENT to WM_NCHITTEST are looked through. Null when no window of ours is there.
HWND WindowFromPoint(TPoint screenPoint);
// The child (or the window itself) containing a client point, hidden and disabled ones too.
HWND ChildWindowFromPoint(HWND parent, TPoint clientPoint);
HWND ChildWindowFromPointEx(HWND parent, TPoint clientPoint, UINT flags);

// ---- screen -------------------------------------------------------------------------------
int GetSystemMetrics(int index);
// SPI_GETWORKAREA (param: TRect*), SPI_GETWHEELSCROLLLINES (UINT*), SPI_GETMOUSEHOVERTIME
// (UINT*), SPI_GETDRAGFULLWINDOWS (bool*), SPI_GETKEYBOARDDELAY / SPEED (int*).
bool SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni = 0);
HMONITOR MonitorFromPoint(TPoint point, DWORD flags);
HMONITOR MonitorFromRect(const TRect& rect, DWORD flags);
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
// The monitors, the primary first.
std::vector<HMONITOR> EnumDisplayMonitors();

// ---- threads ------------------------------------------------------------------------------
DWORD GetCurrentThreadId();
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId = nullptr);
// True on the thread that owns the windows.
bool IsUIThread();
