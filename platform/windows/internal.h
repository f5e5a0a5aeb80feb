#pragma once
// Internal state of the window layer, shared by its source files. Not for users of the layer.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/core/region.h"
#include "platform/graphics/surface.h"
#include "platform/windows/backend.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/window.h"

namespace kvwin {

struct TWndClass {
  String Name;
  ATOM Atom = 0;
  UINT Style = 0;
  WNDPROC Proc = nullptr;
  int ClsExtra = 0, WndExtra = 0;
  HINSTANCE Instance = nullptr;
  HICON Icon = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;
  int WindowCount = 0;
  std::vector<LONG_PTR> ClassExtra;
};

struct TScrollBarState {
  int Min = 0, Max = 100, Page = 0, Pos = 0, TrackPos = 0;
  UINT DisabledArrows = 0;  // ESB_DISABLE_*
  bool KeepWhenNoScroll = false;  // SIF_DISABLENOSCROLL was given
  bool Tracking = false;
};

// What belongs to a top-level window only: its back buffer and its host window.
struct TTopLevel {
  std::unique_ptr<TSurface> Buffer;  // window-sized; window coordinates
  std::unique_ptr<THostWindow> Host;
  TRegion Dirty;   // drawn since the last present, window coordinates
  TRect HostArea;  // the presented part, window coordinates
  bool HostShown = false;
};

struct TWnd {
  HWND Handle = nullptr;
  TWndClass* Class = nullptr;
  WNDPROC Proc = nullptr;
  DWORD Style = 0, ExStyle = 0;
  TWnd* Parent = nullptr;  // null for top-level windows
  TWnd* Owner = nullptr;   // top-level windows only
  std::vector<TWnd*> Children;  // z-order, topmost first
  TRect Rect;    // window rectangle, parent's client coordinates (top-level: screen)
  TRect Client;  // client rectangle, window coordinates
  TRect NormalRect;  // rectangle to restore to from minimised or maximised
  String Text;
  HINSTANCE Instance = nullptr;
  LONG_PTR UserData = 0;
  LONG_PTR Id = 0;
  std::vector<uint8_t> Extra;
  std::vector<std::pair<String, void*>> Props;

  // Painting.
  TRegion Update;  // window coordinates
  bool ErasePending = false;
  bool NcPending = false;
  bool InternalPaint = false;
  bool Redraw = true;  // WM_SETREDRAW
  bool Painting = false;  // between BeginPaint and EndPaint
  uint64_t PaintSerial = 0;  // counts validations, to notice a WM_PAINT that validated nothing

  TScrollBarState VBar, HBar;

  // Life.
  int DispatchDepth = 0;   // calls of its procedure in progress
  bool Created = false;    // WM_NCCREATE answered
  bool Destroying = false; // DestroyWindow started
  bool Dead = false;       // handle released; freed when DispatchDepth reaches 0

  std::unique_ptr<TTopLevel> Top;

  bool IsTop() const { return Parent == nullptr; }
  bool IsChild() const { return Parent != nullptr; }
  bool Visible() const { return (Style & WS_VISIBLE) != 0; }
  bool Enabled() const { return (Style & WS_DISABLED) == 0; }
};

// Keeps a window's memory alive while its procedure or the layer's own code uses it.
class TWndRef {
public:
  explicit TWndRef(TWnd* w);
  ~TWndRef();
  TWndRef(const TWndRef&) = delete;
  TWndRef& operator=(const TWndRef&) = delete;
  TWnd* Get() const { return w_; }
  bool Alive() const { return w_ && !w_->Dead; }

private:
  TWnd* w_;
};

struct TSentMessage {
  HWND Hwnd = nullptr;
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
  bool NeedsAnswer = true;
  bool Done = false;
  std::mutex Lock;
  std::condition_variable Cv;
};

// The queue of one thread. Posted and cross-thread sent messages are guarded by Lock; the
// rest belongs to the owning thread.
struct TThreadQueue {
  DWORD ThreadId = 0;
  bool IsUI = false;
  std::mutex Lock;
  std::condition_variable Cv;  // waits of threads other than the user-interface thread
  std::deque<MSG> Posted;
  std::deque<std::shared_ptr<TSentMessage>> Sent;
  bool Signalled = false;
  bool QuitPosted = false;
  int QuitCode = 0;
  // Owner thread only.
  MSG LastMsg;
  bool InCrossThreadSend = false;
};

struct TRawInput {
  enum Kind { Move, Button, Wheel, Key, Text } Type = Move;
  TPoint Pt;
  DWORD Time = 0;
  WORD Vk = 0;  // button or key
  bool Down = false;
  bool Repeat = false;
  bool Extended = false;
  bool HostText = false;
  bool Horizontal = false;
  WORD Scan = 0;
  int Delta = 0;
  String Chars;
  // Filled when the input is routed (once).
  bool Routed = false;
  bool Dropped = false;  // eaten by routing (activation click, disabled window, tracking)
  MSG Msg;
};

struct TTimer {
  HWND Hwnd = nullptr;
  UINT_PTR Id = 0;
  UINT Interval = 0;
  TIMERPROC Proc = nullptr;
  uint64_t Due = 0;
};

// Timers of the layer itself (caret blink, scroll-bar repeat, hover, scheduled test actions).
struct TSystemTimer {
  uint64_t Id = 0;
  uint64_t Due = 0;
  std::function<void()> Fn;
};

struct TMouseTrack {
  HWND Hwnd = nullptr;
  DWORD Flags = 0;
  bool NonClient = false;
  DWORD HoverTime = 0;
  uint64_t HoverTimer = 0;
  TPoint HoverPoint;
};

struct TCaret {
  HWND Hwnd = nullptr;
  int Width = 0, Height = 0;
  bool Grey = false;
  TPoint Pos;
  int HideCount = 1;
  bool BlinkOn = true;
  uint64_t BlinkTimer = 0;
};

// Input that the layer handles itself while it runs (dragging a frame, a scroll-bar press).
class TTracker {
public:
  virtual ~TTracker() = default;
  // Return true when the input was consumed.
  virtual bool OnMouse(TRawInput& in) = 0;
  virtual bool OnKey(TRawInput& in) = 0;
  virtual void Cancel() = 0;
  HWND Window = nullptr;
};

struct TWindowSystem {
  TWindowSystem();

  // Thread that owns the windows.
  std::thread::id UIThread;
  DWORD UIThreadId = 0;

  std::unique_ptr<TWindowBackend> Backend;

  // Handles: slot index + generation. Written on the user-interface thread under TableLock;
  // read there without it, elsewhere with it.
  struct TSlot {
    uint32_t Generation = 1;
    TWnd* Wnd = nullptr;
  };
  std::vector<TSlot> Slots;
  std::vector<uint32_t> FreeSlots;
  std::mutex TableLock;
  int WindowCount = 0;

  std::vector<std::unique_ptr<TWndClass>> Classes;
  ATOM NextAtom = 0xC000;

  std::vector<TWnd*> TopLevels;  // z-order, topmost first
  TWnd* Focus = nullptr;
  TWnd* Active = nullptr;
  TWnd* Capture = nullptr;
  bool AppActive = true;

  // Queues.
  std::shared_ptr<TThreadQueue> UIQueue;
  std::deque<TRawInput> Input;
  bool RoutingInput = false;  // routing runs procedures, which must not route in turn
  std::vector<TTimer> Timers;
  UINT_PTR NextTimerId = 1;
  std::vector<TSystemTimer> SystemTimers;
  uint64_t NextSystemTimerId = 1;
  std::vector<TWnd*> NeedPaint;
  TMessagePump Pump;
  int PumpDepth = 0;
  bool PresentPending = false;

  // Input state.
  TPoint CursorPos;
  uint8_t AsyncKeys[256] = {};  // bit 7 down, bit 0 toggled
  uint8_t SyncKeys[256] = {};
  bool SwapButtons = false;
  UINT DoubleClickTime = 500;
  struct {
    HWND Hwnd = nullptr;
    WORD Button = 0;
    uint64_t Time = 0;
    TPoint Pt;
    bool Valid = false;
  } LastClick;
  TMouseTrack Track;
  HWND LastUnderCursor = nullptr;
  LRESULT LastHit = HTNOWHERE;
  std::unique_ptr<TTracker> Tracker;

  // Key translation: the key message last taken from the queue and what it types.
  struct {
    MSG Msg;
    String Chars;
    bool HostText = false;
    bool Valid = false;
  } LastKey;

  HCURSOR Cursor = nullptr;
  int CursorCount = 0;
  TCaret Caret;
  UINT CaretBlinkTime = 530;

  // Clipboard.
  String ClipText;
  std::vector<String> ClipFiles;
  bool ClipHasText = false, ClipHasFiles = false;
  DWORD ClipSequence = 0;
};

// The window system; created on first use (which also starts the back end).
TWindowSystem& Sys();
// The system without starting it; null before first use.
TWindowSystem* SysIfStarted();
// The back end in use, started on first use.
TWindowBackend& BE();
// Raises EInvalidOperation unless called on the user-interface thread (claiming it first).
void RequireUIThread(const char* function);
bool OnUIThread();

// Handle look-up on the user-interface thread; null (and ERROR_INVALID_WINDOW_HANDLE) for a
// handle that is not a live window.
TWnd* FromHandle(HWND hwnd);
TWnd* CheckHandle(HWND hwnd);
// Thread-safe validity test.
bool IsLiveHandle(HWND hwnd);
HWND AllocateHandle(TWnd* w);
void ReleaseHandle(TWnd* w);
void MaybeFree(TWnd* w);

// The desktop pseudo window.
HWND DesktopHandle();
bool IsDesktop(HWND hwnd);

// Sends a message to a window of this thread (the procedure call with lifetime guard).
LRESULT Dispatch(TWnd* w, UINT msg, WPARAM wParam, LPARAM lParam);
// The queue of the calling thread (created on first use).
std::shared_ptr<TThreadQueue> CurrentQueue();
std::shared_ptr<TThreadQueue> FindQueue(DWORD threadId);
void WakeQueue(TThreadQueue& q);
// Queues a message sent from another thread, refusing a window that is gone.
bool QueueSent(TWindowSystem& s, const std::shared_ptr<TSentMessage>& m);
// Drops messages and timers that refer to a destroyed window.
void ForgetWindowMessages(HWND hwnd);

// Geometry helpers, all for live windows.
TRect WindowRectInTop(const TWnd* w);      // in top-level window coordinates
TRect ClientRectInTop(const TWnd* w);
TPoint ClientOriginOnScreen(const TWnd* w);
TPoint WindowOriginOnScreen(const TWnd* w);
TWnd* TopOf(TWnd* w);
bool IsVisibleChain(const TWnd* w);
bool IsEnabledChain(const TWnd* w);
bool IsAncestorOrSelf(const TWnd* ancestor, const TWnd* w);
TRect ScreenRect();  // the virtual screen
// Default non-client metrics.
TRect DefaultClientRect(DWORD style, DWORD exStyle, const TRect& windowRect, bool topLevel);
TRect FrameInsets(DWORD style, DWORD exStyle, bool topLevel);  // border + caption only
bool HasCaption(DWORD style);
// Recomputes Client through WM_NCCALCSIZE (no other messages).
void RecalcClient(TWnd* w);

// Window positioning core shared by SetWindowPos, ShowWindow and the host notifications.
bool SetWindowPosInternal(TWnd* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags,
                          bool fromHost = false);
void ZOrderInsert(TWnd* w, HWND insertAfter);

// Focus and activation.
void SetFocusInternal(TWnd* w);
void ActivateInternal(TWnd* w, UINT how);
void FocusLeavingTree(TWnd* w);     // focus inside w moves out (w hidden or destroyed)
void ActivationLeaving(TWnd* w);    // w (top-level) hidden or destroyed while active
void CaptureLeavingTree(TWnd* w);
void CancelTracker();

// Painting.
void InvalidateInternal(TWnd* w, const TRegion& windowRegion, bool erase, bool frame, int childMode);
void ValidateInternal(TWnd* w, const TRegion* windowRegion);
void AddNeedPaint(TWnd* w);
void RemoveNeedPaint(TWnd* w);
bool NeedsPaint(const TWnd* w);
TWnd* FindWindowToPaint(HWND filter);
TRegion VisibleRegion(const TWnd* w, bool clientOnly, bool clipChildren);
void MarkDirty(TWnd* top, const TRegion& windowRegion);
void PresentAll();
void ExposeParentArea(TWnd* w, const TRect& rectInParentClient);
void ResizeBackBuffer(TWnd* top);
void DestroyHost(TWnd* w);
void UpdateHost(TWnd* w);           // create / show / move the host for a top-level
void CaretChanged();                // the caret's look changed: re-present its rectangle
void DefaultNcPaint(TWnd* w, HDC dc);
LRESULT DefaultEraseBackground(TWnd* w, HDC dc);
void PaintForgetWindow(TWnd* w);

// Scroll bars.
LRESULT ScrollBarHitTest(TWnd* w, TPoint windowPt);
void StartScrollBarTracking(TWnd* w, int bar, TPoint screenPt);
void DrawScrollBars(TWnd* w, HDC windowDc);

// Input.
void QueueInput(TRawInput in);
bool TakeInput(MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove);
void InputWindowGone(TWnd* w);
void SynthesizeMouseMove();
HWND WindowFromPointInternal(TPoint screenPt, LRESULT* hit, bool sendHitTest);
void StartFrameTracking(TWnd* w, LRESULT hit, TPoint screenPt);

// Timers.
uint64_t AddSystemTimer(uint64_t dueIn, std::function<void()> fn);
void KillSystemTimer(uint64_t id);
bool RunDueSystemTimers();
// The earliest due time of any timer later than `after`.
bool NextDueTime(uint64_t* due, uint64_t after = 0);
bool TakeTimerMessage(MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove);
void KillWindowTimers(HWND hwnd);
uint64_t Now();

// Caret.
void CaretWindowGone(TWnd* w);
void CaretPaintBegin(TWnd* w);
void CaretPaintEnd(TWnd* w);
bool CaretRectInTop(TWnd* top, TRect* rect, bool* grey);

// Cursor.
HCURSOR StandardCursor(int id);
void ApplyCursor();

// Presenting the caret over copied pixels (shared by the back ends).
void InvertRect(uint32_t* pixels, int stride, const TRect& r, bool grey);

// Back-end start.
std::unique_ptr<TWindowBackend> CreateHeadlessBackend();
std::unique_ptr<TWindowBackend> CreateSdlBackend();

// The default pump.
void DefaultPump();

}  // namespace kvwin
