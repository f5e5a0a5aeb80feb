// Cursors, the caret, the clipboard and the beep.
#include <algorithm>

#include "platform/windows/internal.h"

struct HCURSOR__ {
  int Id;
};

namespace kvwin {
namespace {
HCURSOR__ gCursors[] = {{IDC_ARROW}, {IDC_IBEAM}, {IDC_WAIT}, {IDC_CROSS}, {IDC_UPARROW},
                        {IDC_SIZE}, {IDC_ICON}, {IDC_SIZENWSE}, {IDC_SIZENESW}, {IDC_SIZEWE},
                        {IDC_SIZENS}, {IDC_SIZEALL}, {IDC_NO}, {IDC_HAND}, {IDC_APPSTARTING},
                        {IDC_HELP}};

bool IsStandardCursor(HCURSOR c) {
  for (auto& k : gCursors)
    if (&k == c) return true;
  return false;
}

bool CaretShown(const TCaret& c) { return c.Hwnd && c.HideCount == 0; }

void RestartBlink();

void BlinkTick() {
  TWindowSystem& s = Sys();
  s.Caret.BlinkTimer = 0;
  if (!CaretShown(s.Caret)) return;
  s.Caret.BlinkOn = !s.Caret.BlinkOn;
  CaretChanged();
  RestartBlink();
}

void RestartBlink() {
  TWindowSystem& s = Sys();
  KillSystemTimer(s.Caret.BlinkTimer);
  s.Caret.BlinkTimer = 0;
  if (CaretShown(s.Caret) && s.CaretBlinkTime != INFINITE) s.Caret.BlinkTimer = AddSystemTimer(s.CaretBlinkTime, BlinkTick);
}

// A visible change of the caret: it shows at once in its on phase, and the old place is
// presented again.
void CaretMoved() {
  TWindowSystem& s = Sys();
  s.Caret.BlinkOn = true;
  RestartBlink();
  CaretChanged();
}
}  // namespace

HCURSOR StandardCursor(int id) {
  for (auto& k : gCursors)
    if (k.Id == id) return &k;
  return nullptr;
}

void ApplyCursor() {
  TWindowSystem& s = Sys();
  BE().SetCursorShape(s.CursorCount >= 0 && s.Cursor ? s.Cursor->Id : 0);
}

bool CaretRectInTop(TWnd* top, TRect* rect, bool* grey) {
  TWindowSystem& s = Sys();
  const TCaret& c = s.Caret;
  if (!CaretShown(c) || !c.BlinkOn) return false;
  TWnd* w = FromHandle(c.Hwnd);
  if (!w || TopOf(w) != top || !IsVisibleChain(w) || !w->Redraw) return false;
  TRect client = ClientRectInTop(w);
  TRect r = Bounds(client.Left + c.Pos.X, client.Top + c.Pos.Y, c.Width, c.Height).Intersect(client);
  if (r.IsEmpty()) return false;
  *rect = r;
  *grey = c.Grey;
  return true;
}

void CaretWindowGone(TWnd* w) {
  TWindowSystem& s = Sys();
  if (s.Caret.Hwnd == w->Handle) {
    KillSystemTimer(s.Caret.BlinkTimer);
    s.Caret = TCaret();
  }
}

void CaretPaintBegin(TWnd* w) {
  TWindowSystem& s = Sys();
  if (s.Caret.Hwnd != w->Handle) return;
  ++s.Caret.HideCount;
  if (s.Caret.HideCount == 1) CaretChanged();
}

void CaretPaintEnd(TWnd* w) {
  TWindowSystem& s = Sys();
  if (s.Caret.Hwnd != w->Handle || s.Caret.HideCount == 0) return;
  --s.Caret.HideCount;
  if (s.Caret.HideCount == 0) CaretMoved();
}

}  // namespace kvwin

using namespace kvwin;

HCURSOR LoadCursor(HINSTANCE instance, int id) {
  if (instance) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  HCURSOR c = StandardCursor(id);
  if (!c) SetLastError(ERROR_INVALID_PARAMETER);
  return c;
}

HCURSOR SetCursor(HCURSOR cursor) {
  TWindowSystem& s = Sys();
  if (cursor && !IsStandardCursor(cursor)) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return s.Cursor;
  }
  HCURSOR old = s.Cursor;
  if (old == cursor) return old;
  s.Cursor = cursor;
  ApplyCursor();
  return old;
}

HCURSOR GetCursor() { return Sys().Cursor; }

int CursorId(HCURSOR cursor) { return cursor && IsStandardCursor(cursor) ? cursor->Id : 0; }

int ShowCursor(bool show) {
  TWindowSystem& s = Sys();
  s.CursorCount += show ? 1 : -1;
  ApplyCursor();
  return s.CursorCount;
}

bool CreateCaret(HWND hwnd, void* bitmap, int width, int height) {
  RequireUIThread("CreateCaret");
  TWindowSystem& s = Sys();
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  DestroyCaret();
  TCaret& c = s.Caret;
  c.Hwnd = hwnd;
  // Size 0 takes the width of a window border, as a thin text caret.
  c.Width = width ? width : GetSystemMetrics(SM_CXBORDER);
  c.Height = height ? height : GetSystemMetrics(SM_CYBORDER);
  c.Grey = reinterpret_cast<uintptr_t>(bitmap) == 1;
  c.Pos = {0, 0};
  c.HideCount = 1;  // created hidden
  c.BlinkOn = true;
  return true;
}

bool DestroyCaret() {
  RequireUIThread("DestroyCaret");
  TWindowSystem& s = Sys();
  if (!s.Caret.Hwnd) return false;
  // Its place is presented again, now with only the window's own pixels.
  CaretChanged();
  KillSystemTimer(s.Caret.BlinkTimer);
  s.Caret = TCaret();
  return true;
}

bool SetCaretPos(int x, int y) {
  RequireUIThread("SetCaretPos");
  TWindowSystem& s = Sys();
  if (!s.Caret.Hwnd) return false;
  if (s.Caret.Pos == TPoint(x, y)) return true;
  CaretChanged();
  s.Caret.Pos = {x, y};
  if (CaretShown(s.Caret)) CaretMoved();
  return true;
}

bool GetCaretPos(TPoint* point) {
  TWindowSystem& s = Sys();
  if (!s.Caret.Hwnd || !point) return false;
  *point = s.Caret.Pos;
  return true;
}

bool ShowCaret(HWND hwnd) {
  RequireUIThread("ShowCaret");
  TWindowSystem& s = Sys();
  TCaret& c = s.Caret;
  if (!c.Hwnd || (hwnd && hwnd != c.Hwnd)) return false;
  // The count never goes below zero: showing a shown caret does nothing.
  if (c.HideCount == 0) return true;
  if (--c.HideCount == 0) CaretMoved();
  return true;
}

bool HideCaret(HWND hwnd) {
  RequireUIThread("HideCaret");
  TWindowSystem& s = Sys();
  TCaret& c = s.Caret;
  if (!c.Hwnd || (hwnd && hwnd != c.Hwnd)) return false;
  ++c.HideCount;
  if (c.HideCount == 1) {
    KillSystemTimer(c.BlinkTimer);
    c.BlinkTimer = 0;
    CaretChanged();
  }
  return true;
}

UINT GetCaretBlinkTime() { return Sys().CaretBlinkTime; }

bool SetCaretBlinkTime(UINT ms) {
  TWindowSystem& s = Sys();
  if (ms == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  s.CaretBlinkTime = ms;
  if (CaretShown(s.Caret)) CaretMoved();
  return true;
}

TCaretState GetCaretState() {
  TWindowSystem& s = Sys();
  TCaretState st;
  const TCaret& c = s.Caret;
  st.Window = c.Hwnd;
  st.Rect = Bounds(c.Pos.X, c.Pos.Y, c.Width, c.Height);
  st.HideCount = c.Hwnd ? c.HideCount : 0;
  st.Drawn = CaretShown(c) && c.BlinkOn;
  return st;
}

// ---- clipboard ----------------------------------------------------------------------------
bool SetClipboardText(const String& text) {
  TWindowSystem& s = Sys();
  if (!utf8::IsValid(text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  s.ClipText = text;
  s.ClipHasText = true;
  s.ClipFiles.clear();
  s.ClipHasFiles = false;
  ++s.ClipSequence;
  BE().SetClipboardText(text);
  return true;
}

bool GetClipboardText(String* text) {
  TWindowSystem& s = Sys();
  if (!text) return false;
  // The host's clipboard wins: another program may have copied since.
  String host;
  if (BE().GetClipboardText(&host)) {
    if (!s.ClipHasText || host != s.ClipText) {
      s.ClipText = host;
      s.ClipHasText = true;
      s.ClipHasFiles = false;
      s.ClipFiles.clear();
      ++s.ClipSequence;
    }
  }
  if (!s.ClipHasText) return false;
  *text = s.ClipText;
  return true;
}

bool SetClipboardFiles(const std::vector<String>& paths) {
  TWindowSystem& s = Sys();
  s.ClipFiles = paths;
  s.ClipHasFiles = true;
  // Programs that read only text get the paths one per line.
  String text;
  for (const String& p : paths) {
    if (!text.empty()) text += "\n";
    text += p;
  }
  s.ClipText = text;
  s.ClipHasText = true;
  ++s.ClipSequence;
  BE().SetClipboardText(text);
  return true;
}

bool GetClipboardFiles(std::vector<String>* paths) {
  TWindowSystem& s = Sys();
  if (!paths) return false;
  String host;
  if (BE().GetClipboardText(&host) && host != s.ClipText) {
    // Someone else wrote the clipboard since: our file list is gone.
    s.ClipHasFiles = false;
    s.ClipFiles.clear();
  }
  if (!s.ClipHasFiles) return false;
  *paths = s.ClipFiles;
  return true;
}

bool IsClipboardFormatAvailable(UINT format) {
  TWindowSystem& s = Sys();
  switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT: {
      String t;
      return GetClipboardText(&t);
    }
    case CF_HDROP: {
      std::vector<String> f;
      return GetClipboardFiles(&f);
    }
    default: (void)s; return false;
  }
}

bool EmptyClipboard() {
  TWindowSystem& s = Sys();
  s.ClipText.clear();
  s.ClipFiles.clear();
  s.ClipHasText = s.ClipHasFiles = false;
  ++s.ClipSequence;
  BE().SetClipboardText(String());
  return true;
}

DWORD GetClipboardSequenceNumber() { return Sys().ClipSequence; }

bool MessageBeep(UINT) {
  BE().Beep();
  return true;
}
