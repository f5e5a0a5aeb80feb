#pragma once
// Keyboard focus, activation, mouse capture, key state, mouse tracking, cursors, the caret,
// the clipboard and the beep.
#include <vector>

#include "platform/windows/keys.h"
#include "platform/windows/messages.h"
#include "platform/windows/styles.h"
#include "platform/windows/wintypes.h"

// ---- focus and activation -------------------------------------------------------------------
// Moves the keyboard focus synchronously: WM_KILLFOCUS to the old window (wParam = the new),
// WM_SETFOCUS to the new one (wParam = the old). Activates the window's top-level window first
// when it is not active. Refused (null) for a disabled window. Returns the previous focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// Activation of top-level windows: WM_NCACTIVATE and WM_ACTIVATE (WA_INACTIVE) to the window
// losing activation, then WM_NCACTIVATE and WM_ACTIVATE to the new one, whose default
// handling gives it the focus. Windows with WS_EX_NOACTIVATE are never activated.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();

// ---- capture ------------------------------------------------------------------------------
// While a window holds the capture every mouse message goes to it as a client message, also
// when the cursor is outside it. Taking the capture from another window and releasing it send
// WM_CAPTURECHANGED (lParam = the new holder) to the window that loses it.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

// ---- keys ---------------------------------------------------------------------------------
// State of a key as of the message last taken from the queue: bit 15 down, bit 0 toggled.
int16_t GetKeyState(int vk);
// State of a key now.
int16_t GetAsyncKeyState(int vk);
// Modifier flags of a mouse message for the current key and button state (MK_*).
WPARAM GetMouseKeyFlags();

// ---- mouse --------------------------------------------------------------------------------
bool GetCursorPos(TPoint* point);
// Moves the cursor; the window under it gets a mouse move.
bool SetCursorPos(int x, int y);
// Posts WM_MOUSELEAVE (WM_NCMOUSELEAVE with TME_NONCLIENT) when the cursor leaves the window's
// client (non-client) area, and WM_MOUSEHOVER when it rests there for the hover time. One
// request covers one leave; TME_CANCEL ends it; TME_QUERY fills the structure.
bool TrackMouseEvent(TRACKMOUSEEVENT* track);
// Swaps the meaning of the left and right buttons.
bool SwapMouseButton(bool swap);

// ---- cursors ------------------------------------------------------------------------------
// The standard cursors (IDC_*); a null instance is required.
HCURSOR LoadCursor(HINSTANCE instance, int cursorId);
// The cursor shape shown now; returns the previous one. Null hides the cursor.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The IDC_* number of a standard cursor (0 for null or an unknown handle).
int CursorId(HCURSOR cursor);
// Display counter: the cursor shows while the count is 0 or more. Returns the new count.
int ShowCursor(bool show);

// ---- the caret ----------------------------------------------------------------------------
// One caret per thread, belonging to one window: a solid block (bitmap null) or a grey one
// ((HBITMAP)1 as the bitmap argument) of the given size, drawn inverted over the window's
// pixels when they are presented. It is created hidden; ShowCaret and HideCaret move a hide
// count that never goes below zero. While shown it blinks on the clock, and it is hidden while
// its window paints (between BeginPaint and EndPaint).
bool CreateCaret(HWND hwnd, void* bitmap, int width, int height);
bool DestroyCaret();
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint* point);
bool ShowCaret(HWND hwnd);
bool HideCaret(HWND hwnd);
UINT GetCaretBlinkTime();
bool SetCaretBlinkTime(UINT ms);  // INFINITE: no blinking
// The caret's window and rectangle (client coordinates), and whether it is drawn at this
// moment (shown and in the visible phase of its blink).
struct TCaretState {
  HWND Window = nullptr;
  TRect Rect;
  int HideCount = 0;
  bool Drawn = false;
};
TCaretState GetCaretState();

// ---- clipboard ----------------------------------------------------------------------------
// Text (UTF-8) and file lists. Writing replaces everything on the clipboard.
bool SetClipboardText(const String& text);
bool GetClipboardText(String* text);
bool SetClipboardFiles(const std::vector<String>& paths);
bool GetClipboardFiles(std::vector<String>* paths);
bool IsClipboardFormatAvailable(UINT format);
bool EmptyClipboard();
// Counts changes of the clipboard's contents.
DWORD GetClipboardSequenceNumber();

// ---- sound --------------------------------------------------------------------------------
bool MessageBeep(UINT type);
