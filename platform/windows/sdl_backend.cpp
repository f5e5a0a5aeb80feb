// The SDL2 back end: real windows presenting through their window surfaces, pop-ups that
// never keep the keyboard focus, and the host's input, cursors, clipboard and wake-ups.
#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "platform/graphics/surface.h"
#include "platform/windows/internal.h"
#include "platform/windows/sdl_x11.h"

namespace kvwin {
namespace {
class TSdlBackend;

WORD VkFromKey(const SDL_Keysym& k, bool* extended) {
  *extended = false;
  SDL_Keycode c = k.sym;
  if (c >= SDLK_a && c <= SDLK_z) return static_cast<WORD>('A' + (c - SDLK_a));
  if (c >= SDLK_0 && c <= SDLK_9) return static_cast<WORD>('0' + (c - SDLK_0));
  if (c >= SDLK_F1 && c <= SDLK_F12) return static_cast<WORD>(VK_F1 + (c - SDLK_F1));
  switch (c) {
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_APPLICATION: *extended = true; return VK_APPS;
    case SDLK_LSHIFT: return VK_SHIFT;
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: return VK_CONTROL;
    case SDLK_RCTRL: *extended = true; return VK_CONTROL;
    case SDLK_LALT: return VK_MENU;
    case SDLK_RALT: *extended = true; return VK_MENU;
    case SDLK_LGUI: *extended = true; return VK_LWIN;
    case SDLK_RGUI: *extended = true; return VK_RWIN;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_KP_ENTER: *extended = true; return VK_RETURN;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_DIVIDE: *extended = true; return VK_DIVIDE;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    default: break;
  }
  *extended = true;
  switch (c) {
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    default: break;
  }
  *extended = false;
  if (c >= SDLK_KP_1 && c <= SDLK_KP_9) return static_cast<WORD>(VK_NUMPAD1 + (c - SDLK_KP_1));
  if (c == SDLK_KP_0) return VK_NUMPAD0;
  // Letters of other layouts arrive through their scan code's place on a US keyboard.
  SDL_Scancode sc = k.scancode;
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return static_cast<WORD>('A' + (sc - SDL_SCANCODE_A));
  return 0;
}

WORD VkFromButton(Uint8 b) {
  switch (b) {
    case SDL_BUTTON_LEFT: return VK_LBUTTON;
    case SDL_BUTTON_RIGHT: return VK_RBUTTON;
    case SDL_BUTTON_MIDDLE: return VK_MBUTTON;
    case SDL_BUTTON_X1: return VK_XBUTTON1;
    case SDL_BUTTON_X2: return VK_XBUTTON2;
    default: return 0;
  }
}

SDL_SystemCursor SdlCursor(int id) {
  switch (id) {
    case IDC_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_APPSTARTING: return SDL_SYSTEM_CURSOR_WAITARROW;
    case IDC_SIZENWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case IDC_SIZENESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case IDC_SIZEWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case IDC_SIZENS: return SDL_SYSTEM_CURSOR_SIZENS;
    case IDC_SIZE:
    case IDC_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_NO: return SDL_SYSTEM_CURSOR_NO;
    case IDC_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}

class TSdlHost : public THostWindow {
public:
  TSdlHost(TSdlBackend* backend, const THostParams& p);
  ~TSdlHost() override;
  void SetBounds(const TRect& r) override {
    if (!win_) return;
    if (r.TopLeft() != bounds_.TopLeft()) SDL_SetWindowPosition(win_, r.Left, r.Top);
    if (r.Size() != bounds_.Size()) SDL_SetWindowSize(win_, std::max(r.Width(), 1), std::max(r.Height(), 1));
    bounds_ = r;
  }
  void Show(bool show, bool activate) override;
  void SetTitle(const String& t) override {
    if (win_) SDL_SetWindowTitle(win_, t.c_str());
  }
  void SetTopMost(bool t) override {
    if (win_) SDL_SetWindowAlwaysOnTop(win_, t ? SDL_TRUE : SDL_FALSE);
  }
  void Raise() override {}
  void Activate() override {
    if (!win_ || popup_) return;
    SDL_RaiseWindow(win_);
    // Without a window manager nobody hands out the focus on request: take it.
    if (SDL_GetWindowFlags(win_) & SDL_WINDOW_SHOWN) SDL_SetWindowInputFocus(win_);
  }
  void Present(const TSurface& buffer, TPoint origin, const TRegion& dirty, const TRect& caret, bool grey) override;
  bool Grab(TSurface* out) override;
  void* NativeHandle() const override { return win_; }

  // The host's idea of where the window is, kept in step with the window manager's moves.
  void NoteMoved(TPoint p) { bounds_ = Bounds(p.X, p.Y, bounds_.Width(), bounds_.Height()); }
  void NoteResized(TSize s) { bounds_ = Bounds(bounds_.Left, bounds_.Top, s.cx, s.cy); }
  void HandFocusToOwner();

  SDL_Window* Window() const { return win_; }
  HWND Hwnd() const { return hwnd_; }
  HWND Owner() const { return owner_; }
  bool Popup() const { return popup_; }
  TRect HostBounds() const { return bounds_; }

private:
  TSdlBackend* backend_;
  SDL_Window* win_ = nullptr;
  HWND hwnd_;
  HWND owner_;
  bool popup_;
  TRect bounds_;
};

class TSdlBackend : public TWindowBackend {
public:
  TSdlBackend() {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
      throw EOutOfResources(String("cannot start the desktop back end: ") + SDL_GetError());
    wakeEvent_ = SDL_RegisterEvents(1);
    SDL_StartTextInput();
    ReadMonitors();
  }
  ~TSdlBackend() override {
    for (auto& c : cursors_)
      if (c.second) SDL_FreeCursor(c.second);
    SDL_StopTextInput();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }
  const char* Name() const override { return "sdl"; }
  uint64_t Now() override { return SDL_GetTicks64(); }

  void PumpEvents() override {
    SDL_Event e;
    bool focusLost = false;
    while (SDL_PollEvent(&e)) Handle(e, &focusLost);
    if (focusLost) {
      // Focus moved between our own windows (a pop-up showing) or left the program.
      SDL_Window* f = SDL_GetKeyboardFocus();
      if (!f || !HostOfWindow(f)) TBackendEvents::AppDeactivated();
    }
  }

  void Wait(int64_t timeoutMs) override {
    if (timeoutMs == 0) return;
    int t = timeoutMs < 0 ? -1 : static_cast<int>(std::min<int64_t>(timeoutMs, 1 << 30));
    SDL_WaitEventTimeout(nullptr, t);
  }

  void Wake() override {
    // One pending wake-up event is enough.
    if (wakePending_.exchange(true)) return;
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
  }

  std::vector<TMonitorSpec> Monitors() override { return monitors_; }
  TPoint CursorPos() override {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {x, y};
  }
  void SetCursorPos(TPoint p) override { SDL_WarpMouseGlobal(p.X, p.Y); }
  std::unique_ptr<THostWindow> CreateHost(const THostParams& p) override { return std::make_unique<TSdlHost>(this, p); }

  void SetCursorShape(int id) override {
    if (id == 0) {
      SDL_ShowCursor(SDL_DISABLE);
      return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Cursor*& c = cursors_[id];
    if (!c) c = SDL_CreateSystemCursor(SdlCursor(id));
    if (c) SDL_SetCursor(c);
  }
  void SetMouseCapture(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }
  bool SetClipboardText(const String& t) override { return SDL_SetClipboardText(t.c_str()) == 0; }
  bool GetClipboardText(String* t) override {
    if (!SDL_HasClipboardText()) return false;
    char* s = SDL_GetClipboardText();
    if (!s) return false;
    *t = s;
    SDL_free(s);
    return !t->empty();
  }
  void Beep() override {}
  bool HostDrawsFrames() const override { return true; }
  void Sync() override {
    for (auto& h : hosts_)
      if (X11Available(h.second->Window())) {
        X11Sync(h.second->Window());
        return;
      }
  }

  void Register(TSdlHost* h) { hosts_[SDL_GetWindowID(h->Window())] = h; }
  void Unregister(TSdlHost* h) {
    for (auto it = hosts_.begin(); it != hosts_.end(); ++it)
      if (it->second == h) {
        hosts_.erase(it);
        return;
      }
  }
  TSdlHost* HostOfId(Uint32 id) {
    auto it = hosts_.find(id);
    return it == hosts_.end() ? nullptr : it->second;
  }
  TSdlHost* HostOfWindow(SDL_Window* w) { return w ? HostOfId(SDL_GetWindowID(w)) : nullptr; }
  TSdlHost* HostOfHwnd(HWND h) {
    for (auto& p : hosts_)
      if (p.second->Hwnd() == h) return p.second;
    return nullptr;
  }

private:
  void ReadMonitors() {
    monitors_.clear();
    int n = SDL_GetNumVideoDisplays();
    for (int i = 0; i < n; ++i) {
      SDL_Rect b, u;
      if (SDL_GetDisplayBounds(i, &b) != 0) continue;
      if (SDL_GetDisplayUsableBounds(i, &u) != 0) u = b;
      TRect bounds = Bounds(b.x, b.y, b.w, b.h);
      TRect work = Bounds(u.x, u.y, u.w, u.h).Intersect(bounds);
      monitors_.push_back({bounds, work.IsEmpty() ? bounds : work});
    }
    if (monitors_.empty()) monitors_.push_back({TRect(0, 0, 1024, 768), TRect(0, 0, 1024, 768)});
  }

  TPoint ScreenPoint(Uint32 windowId, int x, int y) {
    TSdlHost* h = HostOfId(windowId);
    if (!h) return CursorPos();
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(h->Window(), &wx, &wy);
    return {wx + x, wy + y};
  }

  void Handle(const SDL_Event& e, bool* focusLost) {
    if (e.type == wakeEvent_) {
      wakePending_ = false;
      return;
    }
    switch (e.type) {
      case SDL_MOUSEMOTION:
        TBackendEvents::MouseMove(ScreenPoint(e.motion.windowID, e.motion.x, e.motion.y));
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (WORD vk = VkFromButton(e.button.button))
          TBackendEvents::MouseButton(vk, e.type == SDL_MOUSEBUTTONDOWN, ScreenPoint(e.button.windowID, e.button.x, e.button.y));
        break;
      case SDL_MOUSEWHEEL: {
        float sign = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
        int dy = static_cast<int>(std::lround(e.wheel.preciseY * WHEEL_DELTA * sign));
        int dx = static_cast<int>(std::lround(e.wheel.preciseX * WHEEL_DELTA * sign));
        TPoint p = CursorPos();
        if (dy) TBackendEvents::MouseWheel(dy, false, p);
        if (dx) TBackendEvents::MouseWheel(dx, true, p);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        bool ext;
        WORD vk = VkFromKey(e.key.keysym, &ext);
        if (!vk) break;
        String text;
        if (e.type == SDL_KEYDOWN) {
          // The text a key types follows it as the next event.
          SDL_Event next;
          if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 && next.type == SDL_TEXTINPUT) {
            SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
            text = next.text.text;
          }
        }
        TBackendEvents::Key(vk, e.type == SDL_KEYDOWN, e.key.repeat != 0, static_cast<WORD>(e.key.keysym.scancode & 0xFF),
                            ext, text, true);
        break;
      }
      case SDL_TEXTINPUT: TBackendEvents::Text(e.text.text); break;
      case SDL_WINDOWEVENT: HandleWindow(e.window, focusLost); break;
      case SDL_DISPLAYEVENT: ReadMonitors(); break;
      default: break;
    }
  }

  void HandleWindow(const SDL_WindowEvent& e, bool* focusLost) {
    TSdlHost* h = HostOfId(e.windowID);
    if (!h) return;
    HWND hwnd = h->Hwnd();
    switch (e.event) {
      case SDL_WINDOWEVENT_EXPOSED:
        TBackendEvents::HostExposed(hwnd, TRect(0, 0, h->HostBounds().Width(), h->HostBounds().Height()));
        break;
      case SDL_WINDOWEVENT_MOVED:
        h->NoteMoved({e.data1, e.data2});
        TBackendEvents::HostMoved(hwnd, {e.data1, e.data2});
        break;
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        h->NoteResized({e.data1, e.data2});
        TBackendEvents::HostResized(hwnd, {e.data1, e.data2});
        // A new window surface: everything is presented again.
        if (HostOfId(e.windowID))
          TBackendEvents::HostExposed(hwnd, TRect(0, 0, e.data1, e.data2));
        break;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (h->Popup()) h->HandFocusToOwner();
        else TBackendEvents::HostActivated(hwnd);
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST: *focusLost = true; break;
      case SDL_WINDOWEVENT_CLOSE: TBackendEvents::HostCloseRequested(hwnd); break;
      case SDL_WINDOWEVENT_LEAVE:
        // The pointer left our window: tell the windows where it is now.
        TBackendEvents::MouseMove(CursorPos());
        break;
      default: break;
    }
  }

  Uint32 wakeEvent_ = 0;
  std::atomic<bool> wakePending_{false};
  std::vector<TMonitorSpec> monitors_;
  std::unordered_map<Uint32, TSdlHost*> hosts_;
  std::unordered_map<int, SDL_Cursor*> cursors_;
};

TSdlHost::TSdlHost(TSdlBackend* backend, const THostParams& p)
    : backend_(backend), hwnd_(p.Window), owner_(p.Owner), popup_(p.Popup), bounds_(p.Bounds) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (p.Popup) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
  else if (!p.Decorated) flags |= SDL_WINDOW_BORDERLESS;
  if (p.ToolWindow) flags |= SDL_WINDOW_SKIP_TASKBAR;
  if (p.TopMost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  if (p.Resizable && !p.Popup) flags |= SDL_WINDOW_RESIZABLE;
  win_ = SDL_CreateWindow(p.Title.c_str(), p.Bounds.Left, p.Bounds.Top, std::max(p.Bounds.Width(), 1),
                          std::max(p.Bounds.Height(), 1), flags);
  if (!win_) throw EOutOfResources(String("cannot create a window: ") + SDL_GetError());
  backend_->Register(this);
}

TSdlHost::~TSdlHost() {
  backend_->Unregister(this);
  if (win_) SDL_DestroyWindow(win_);
}

void TSdlHost::HandFocusToOwner() {
  TSdlHost* o = owner_ ? backend_->HostOfHwnd(owner_) : nullptr;
  if (o && o->Window() && (SDL_GetWindowFlags(o->Window()) & SDL_WINDOW_SHOWN)) SDL_SetWindowInputFocus(o->Window());
}

void TSdlHost::Show(bool show, bool activate) {
  if (!win_) return;
  if (!show) {
    SDL_HideWindow(win_);
    return;
  }
  SDL_ShowWindow(win_);
  if (popup_) {
    // A bare X server gives the focus to a window as it appears; the owner keeps it.
    HandFocusToOwner();
  } else if (activate) {
    SDL_RaiseWindow(win_);
  }
}

void TSdlHost::Present(const TSurface& buffer, TPoint origin, const TRegion& dirty, const TRect& caret, bool grey) {
  SDL_Surface* s = SDL_GetWindowSurface(win_);
  if (!s) return;
  bool direct = s->format->BytesPerPixel == 4 && s->format->Rmask == 0x00FF0000 && s->format->Gmask == 0x0000FF00 &&
                s->format->Bmask == 0x000000FF;
  if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
  TRect surfaceRect(0, 0, s->w, s->h);
  std::vector<SDL_Rect> rects;
  rects.reserve(dirty.Rects().size());
  for (const TRect& d : dirty.Rects()) {
    TRect r = d.Intersect(surfaceRect);
    TRect src = r.Offsetted(origin.X, origin.Y).Intersect(buffer.BoundsRect());
    r = src.Offsetted(-origin.X, -origin.Y);
    if (r.IsEmpty()) continue;
    auto* dstBase = static_cast<uint8_t*>(s->pixels);
    if (direct) {
      for (int y = r.Top; y < r.Bottom; ++y)
        std::memcpy(dstBase + static_cast<ptrdiff_t>(y) * s->pitch + r.Left * 4, buffer.Row(y + origin.Y) + r.Left + origin.X,
                    static_cast<size_t>(r.Width()) * 4);
    } else {
      SDL_ConvertPixels(r.Width(), r.Height(), SDL_PIXELFORMAT_ARGB8888, buffer.Row(r.Top + origin.Y) + r.Left + origin.X,
                        buffer.Stride() * 4, s->format->format,
                        dstBase + static_cast<ptrdiff_t>(r.Top) * s->pitch + r.Left * s->format->BytesPerPixel, s->pitch);
    }
    TRect c = caret.Intersect(r);
    if (!c.IsEmpty() && s->format->BytesPerPixel == 4) InvertRect(static_cast<uint32_t*>(s->pixels), s->pitch / 4, c, grey);
    rects.push_back({r.Left, r.Top, r.Width(), r.Height()});
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  if (rects.empty()) return;
  if (rects.size() > 16) {
    // Many small pieces cost more as separate updates than one covering rectangle.
    TRect b = dirty.Bounds().Intersect(surfaceRect);
    rects.assign(1, {b.Left, b.Top, b.Width(), b.Height()});
  }
  SDL_UpdateWindowSurfaceRects(win_, rects.data(), static_cast<int>(rects.size()));
}
bool TSdlHost::Grab(TSurface* out) {
  if (!win_) return false;
  if (X11Available(win_)) return X11GrabWindow(win_, out);
  // Other video drivers (the dummy one): the window surface is what the screen holds.
  SDL_Surface* s = SDL_GetWindowSurface(win_);
  if (!s || s->format->BytesPerPixel != 4) return false;
  out->SetSize(s->w, s->h);
  if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y) {
    const auto* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch);
    uint32_t* dst = out->Row(y);
    for (int x = 0; x < s->w; ++x) dst[x] = 0xFF000000u | (src[x] & 0x00FFFFFFu);
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  return true;
}
}  // namespace

std::unique_ptr<TWindowBackend> CreateSdlBackend() { return std::make_unique<TSdlBackend>(); }
}  // namespace kvwin
