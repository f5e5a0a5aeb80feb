#pragma once
// The back ends of the window layer: what the windows stand on. The window layer keeps the
// windows, messages, painting and input logic itself; a back end supplies the clock, the
// screens, one host window per shown top-level window (which presents the top-level's back
// buffer), the cursor shape, the clipboard, and the raw input, which it hands to the
// TBackendEvents functions on the user-interface thread while PumpEvents runs.
//
// Two back ends exist: "headless" (virtual screens and a virtual clock, for tests and
// screenshots; platform/windows/headless.h) and "sdl" (real windows through SDL2). The back end
// is chosen by SelectWindowBackend or, at first use, by the environment variable KV_BACKEND
// ("headless" or "sdl"; "sdl" when unset).
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/region.h"
#include "platform/windows/wintypes.h"

class TSurface;

struct TMonitorSpec {
  TRect Bounds;
  TRect WorkArea;
};

// How a top-level window appears on the host.
struct THostParams {
  HWND Window = nullptr;
  HWND Owner = nullptr;
  TRect Bounds;             // screen rectangle of the presented part of the window
  String Title;
  bool Popup = false;       // WS_POPUP: no frame of the host, never takes the keyboard focus
  bool ToolWindow = false;  // WS_EX_TOOLWINDOW: no task-bar entry
  bool TopMost = false;
  bool Resizable = false;
  bool NoActivate = false;  // WS_EX_NOACTIVATE or a pop-up: showing never activates
  bool Decorated = false;   // the host draws the caption and frame (see HostDrawsFrames)
};

class THostWindow {
public:
  virtual ~THostWindow() = default;
  virtual void SetBounds(const TRect& screenRect) = 0;
  virtual void Show(bool show, bool activate) = 0;
  virtual void SetTitle(const String& title) = 0;
  virtual void SetTopMost(bool topMost) = 0;
  // Brings the host window to the front of the host's stacking order (no activation).
  virtual void Raise() = 0;
  // The window layer activated the window: bring it to the front and give it the host's
  // keyboard focus. A pop-up host keeps the focus with its owner.
  virtual void Activate() = 0;
  // Copies the rectangles of dirty (host coordinates: 0,0 is the presented part's top-left)
  // from buffer, read from buffer position origin + (x, y), and shows them. caret (host
  // coordinates, may be empty) is drawn inverted over what is copied; grey: a 50 % pattern.
  virtual void Present(const TSurface& buffer, TPoint origin, const TRegion& dirty,
                       const TRect& caret, bool caretGrey) = 0;
  // What the screen shows of the host window, read back from the host (a screen grab).
  virtual bool Grab(TSurface* out) = 0;
  // The host's own window object (SDL_Window* for SDL), null when there is none.
  virtual void* NativeHandle() const = 0;
};

class TWindowBackend {
public:
  virtual ~TWindowBackend() = default;
  virtual const char* Name() const = 0;
  // Milliseconds of a monotonic clock.
  virtual uint64_t Now() = 0;
  // Hands waiting native events to TBackendEvents.
  virtual void PumpEvents() = 0;
  // Waits for a native event or Wake, at most timeoutMs (negative: no limit).
  virtual void Wait(int64_t timeoutMs) = 0;
  // Ends a Wait from any thread.
  virtual void Wake() = 0;
  virtual std::vector<TMonitorSpec> Monitors() = 0;
  virtual TPoint CursorPos() = 0;
  virtual void SetCursorPos(TPoint screenPoint) = 0;
  virtual std::unique_ptr<THostWindow> CreateHost(const THostParams& params) = 0;
  // The cursor shape: an IDC_* number, 0 for none.
  virtual void SetCursorShape(int cursorId) = 0;
  virtual void SetMouseCapture(bool capture) = 0;
  // The host's clipboard text; the window layer keeps its own copy when these fail.
  virtual bool SetClipboardText(const String& text) = 0;
  virtual bool GetClipboardText(String* text) = 0;
  virtual void Beep() = 0;
  // True when the host draws the caption and frame of top-level windows (WS_CAPTION,
  // WS_THICKFRAME): only the rest of such a window is presented.
  virtual bool HostDrawsFrames() const = 0;
  // Returns once the host has carried out every request made so far and queued the events
  // they cause (one round trip to a display server).
  virtual void Sync() = 0;
};

// Selects the back end by name ("headless", "sdl"). Raises EInvalidArgument for an unknown
// name, EInvalidOperation while windows exist, EOutOfResources when it cannot start.
void SelectWindowBackend(const String& name);
// Installs a back end object (for tests of the window layer itself).
void SetWindowBackend(std::unique_ptr<TWindowBackend> backend);
// The back end in use (started on first use).
TWindowBackend& WindowBackend();
String WindowBackendName();
// What the screen shows of a top-level window's presented part (the host's pixels, read back).
bool GrabWindowFromScreen(HWND window, TSurface* out);
// The host window object of a shown top-level window (SDL_Window* under SDL), else null.
void* GetHostNativeWindow(HWND window);
// Destroys every window, drops queued messages and timers, and releases the back end; the
// next use starts one again.
void ShutdownWindowSystem();

// Raw input and host notifications, called by back ends on the user-interface thread.
// Coordinates are screen coordinates; buttons are VK_LBUTTON, VK_RBUTTON, VK_MBUTTON,
// VK_XBUTTON1, VK_XBUTTON2.
struct TBackendEvents {
  static void MouseMove(TPoint screenPoint);
  static void MouseButton(WORD buttonVk, bool down, TPoint screenPoint);
  static void MouseWheel(int delta, bool horizontal, TPoint screenPoint);
  // text: the characters the key produces. When textFromHost is true the host supplies text
  // for printable keys and only control characters (Enter, Tab, Backspace, Escape, Ctrl+letter)
  // are derived from the key; otherwise an empty text is derived from the key and the shift
  // state (a US layout).
  static void Key(WORD vk, bool down, bool repeat, WORD scanCode, bool extended,
                  const String& text, bool textFromHost);
  // Characters that arrive without a key (input methods).
  static void Text(const String& text);
  static void HostActivated(HWND window);
  static void AppDeactivated();
  static void HostCloseRequested(HWND window);
  static void HostExposed(HWND window, const TRect& hostRect);
  static void HostMoved(HWND window, TPoint screenTopLeft);
  static void HostResized(HWND window, TSize size);
};
