// The headless back end: virtual screens, a virtual clock, hosts that keep what is presented
// in memory, input injection and capture to bitmaps and PNG files.
#include "platform/windows/headless.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "platform/graphics/png.h"
#include "platform/graphics/surface.h"
#include "platform/windows/internal.h"

namespace kvwin {
namespace {
class THeadlessBackend;

// Copies srcRect of src to dst at dstAt, clipped to both surfaces.
void CopyRect(TSurface& dst, TPoint dstAt, const TSurface& src, const TRect& srcRect) {
  TRect s = srcRect.Intersect(src.BoundsRect());
  if (s.IsEmpty()) return;
  TPoint d = dstAt + (s.TopLeft() - srcRect.TopLeft());
  TRect dr = Bounds(d.X, d.Y, s.Width(), s.Height()).Intersect(dst.BoundsRect());
  if (dr.IsEmpty()) return;
  int sx = s.Left + (dr.Left - d.X), sy = s.Top + (dr.Top - d.Y);
  for (int i = 0; i < dr.Height(); ++i)
    std::memcpy(dst.Row(dr.Top + i) + dr.Left, src.Row(sy + i) + sx, static_cast<size_t>(dr.Width()) * 4);
}

// What the screen shows of one top-level window: a surface as large as its presented part.
class THeadlessHost : public THostWindow {
public:
  explicit THeadlessHost(const THostParams& p) : bounds_(p.Bounds), title_(p.Title), topMost_(p.TopMost) {
    front_.SetSize(std::max(bounds_.Width(), 0), std::max(bounds_.Height(), 0));
    front_.Fill(0xFF000000u);
  }
  void SetBounds(const TRect& r) override {
    if (r.Size() != bounds_.Size()) {
      // The host keeps what fits, as a window surface would until it is presented again.
      TSurface grown(std::max(r.Width(), 0), std::max(r.Height(), 0));
      grown.Fill(0xFF000000u);
      CopyRect(grown, {0, 0}, front_, front_.BoundsRect());
      front_.SetSize(grown.Width(), grown.Height());
      CopyRect(front_, {0, 0}, grown, grown.BoundsRect());
    }
    bounds_ = r;
  }
  void Show(bool show, bool) override { shown_ = show; }
  void SetTitle(const String& t) override { title_ = t; }
  void SetTopMost(bool t) override { topMost_ = t; }
  void Raise() override {}
  void Activate() override {}
  void Present(const TSurface& buffer, TPoint origin, const TRegion& dirty, const TRect& caret, bool grey) override {
    for (const TRect& r : dirty.Rects()) {
      CopyRect(front_, r.TopLeft(), buffer, r.Offsetted(origin.X, origin.Y));
      TRect c = caret.Intersect(r).Intersect(front_.BoundsRect());
      if (!c.IsEmpty()) InvertRect(front_.Pixels(), front_.Stride(), c, grey);
    }
    ++presents_;
    lastBounds_ = dirty.Bounds();
  }

  bool Grab(TSurface* out) override {
    out->SetSize(front_.Width(), front_.Height());
    CopyRect(*out, {0, 0}, front_, front_.BoundsRect());
    return true;
  }
  void* NativeHandle() const override { return nullptr; }

  const TSurface& Front() const { return front_; }
  const TRect& Bounds() const { return bounds_; }
  bool Shown() const { return shown_; }
  int Presents() const { return presents_; }
  TRect LastBounds() const { return lastBounds_; }

private:
  TRect bounds_;
  String title_;
  bool topMost_;
  bool shown_ = false;
  TSurface front_;
  int presents_ = 0;
  TRect lastBounds_;
};

class THeadlessBackend : public TWindowBackend {
public:
  THeadlessBackend() { SetScreen(1920, 1080); }
  const char* Name() const override { return "headless"; }
  uint64_t Now() override { return now_.load(); }
  void PumpEvents() override {}
  void Wait(int64_t timeoutMs) override {
    std::unique_lock<std::mutex> lock(lock_);
    if (woken_) {
      woken_ = false;
      return;
    }
    if (timeoutMs >= 0 && autoAdvance_) {
      // Idle time passes at once on the virtual clock.
      now_ += static_cast<uint64_t>(timeoutMs);
      return;
    }
    cv_.wait(lock, [&] { return woken_; });
    woken_ = false;
  }
  void Wake() override {
    std::lock_guard<std::mutex> lock(lock_);
    woken_ = true;
    cv_.notify_all();
  }
  std::vector<TMonitorSpec> Monitors() override {
    std::lock_guard<std::mutex> lock(lock_);
    return monitors_;
  }
  TPoint CursorPos() override { return cursor_; }
  void SetCursorPos(TPoint p) override { cursor_ = p; }
  std::unique_ptr<THostWindow> CreateHost(const THostParams& p) override { return std::make_unique<THeadlessHost>(p); }
  void SetCursorShape(int id) override { shape_ = id; }
  void SetMouseCapture(bool c) override { captured_ = c; }
  bool SetClipboardText(const String& t) override {
    clip_ = t;
    return true;
  }
  bool GetClipboardText(String* t) override {
    if (clip_.empty()) return false;
    *t = clip_;
    return true;
  }
  void Beep() override { ++beeps_; }
  bool HostDrawsFrames() const override { return false; }
  void Sync() override {}

  void SetScreen(int w, int h) {
    if (w <= 0 || h <= 0) throw EInvalidArgument("a screen needs a positive size");
    SetMonitors({{TRect(0, 0, w, h), TRect(0, 0, w, std::max(h - 40, 1))}});
  }
  void SetMonitors(const std::vector<TMonitorSpec>& m) {
    if (m.empty()) throw EInvalidArgument("at least one monitor is needed");
    for (const TMonitorSpec& s : m)
      if (s.Bounds.IsEmpty() || !s.Bounds.Contains(s.WorkArea))
        throw EInvalidArgument("a monitor needs a non-empty area holding its work area");
    std::lock_guard<std::mutex> lock(lock_);
    monitors_ = m;
  }
  void Advance(uint64_t ms) { now_ += ms; }
  void SetNow(uint64_t t) { now_ = t; }

  std::atomic<uint64_t> now_{10000};
  bool autoAdvance_ = true;
  bool autoPump_ = true;
  int shape_ = IDC_ARROW;
  int beeps_ = 0;
  bool captured_ = false;

private:
  std::mutex lock_;
  std::condition_variable cv_;
  bool woken_ = false;
  std::vector<TMonitorSpec> monitors_;
  TPoint cursor_;
  String clip_;
};

THeadlessBackend& HB() {
  auto* b = dynamic_cast<THeadlessBackend*>(&BE());
  if (!b) throw EInvalidOperation("the headless back end is not in use");
  return *b;
}

THeadlessHost* HostOf(HWND hwnd) {
  TWnd* w = FromHandle(hwnd);
  if (!w) return nullptr;
  TWnd* top = TopOf(w);
  return top->Top ? dynamic_cast<THeadlessHost*>(top->Top->Host.get()) : nullptr;
}

void AfterInput() {
  if (HB().autoPump_) ProcessPendingMessages();
}

struct TKeyOfChar {
  WORD Vk = 0;
  bool Shift = false;
};

TKeyOfChar KeyForChar(char32_t c) {
  if (c >= 'a' && c <= 'z') return {static_cast<WORD>(c - 32), false};
  if (c >= 'A' && c <= 'Z') return {static_cast<WORD>(c), true};
  if (c >= '0' && c <= '9') return {static_cast<WORD>(c), false};
  if (c == ' ') return {VK_SPACE, false};
  static const char shiftedDigits[] = ")!@#$%^&*(";
  for (int i = 0; i < 10; ++i)
    if (static_cast<char32_t>(shiftedDigits[i]) == c) return {static_cast<WORD>('0' + i), true};
  struct P { WORD vk; char plain, shifted; };
  static const P oem[] = {{VK_OEM_1, ';', ':'}, {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
                          {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
                          {VK_OEM_3, '`', '~'}, {VK_OEM_4, '[', '{'}, {VK_OEM_5, '\\', '|'},
                          {VK_OEM_6, ']', '}'}, {VK_OEM_7, '\'', '"'}};
  for (const P& p : oem) {
    if (static_cast<char32_t>(p.plain) == c) return {p.vk, false};
    if (static_cast<char32_t>(p.shifted) == c) return {p.vk, true};
  }
  return {};
}
}  // namespace

std::unique_ptr<TWindowBackend> CreateHeadlessBackend() { return std::make_unique<THeadlessBackend>(); }
}  // namespace kvwin

using namespace kvwin;

void Headless::SetScreenSize(int width, int height) { HB().SetScreen(width, height); }
void Headless::SetScreens(const std::vector<TMonitorSpec>& monitors) { HB().SetMonitors(monitors); }
uint64_t Headless::Now() { return HB().Now(); }

void Headless::AdvanceTime(uint64_t ms) {
  RequireUIThread("Headless::AdvanceTime");
  THeadlessBackend& b = HB();
  uint64_t target = b.Now() + ms;
  ProcessPendingMessages();
  // Stop at every due time on the way so each timer runs at its own moment.
  while (true) {
    uint64_t due;
    if (!NextDueTime(&due, b.Now()) || due > target) break;
    b.SetNow(due);
    ProcessPendingMessages();
  }
  if (b.Now() < target) b.SetNow(target);
  ProcessPendingMessages();
}

void Headless::SetAutoAdvance(bool on) { HB().autoAdvance_ = on; }

void Headless::Schedule(uint64_t delayMs, std::function<void()> fn) {
  RequireUIThread("Headless::Schedule");
  HB();
  if (!fn) throw EInvalidArgument("Headless::Schedule: nothing to run");
  AddSystemTimer(delayMs, std::move(fn));
}

void Headless::SetAutoPump(bool on) { HB().autoPump_ = on; }

void Headless::MouseMove(int x, int y) {
  RequireUIThread("Headless::MouseMove");
  HB().SetCursorPos({x, y});
  TBackendEvents::MouseMove({x, y});
  AfterInput();
}

void Headless::MouseDown(WORD vk, int x, int y) {
  RequireUIThread("Headless::MouseDown");
  HB().SetCursorPos({x, y});
  TBackendEvents::MouseButton(vk, true, {x, y});
  AfterInput();
}

void Headless::MouseUp(WORD vk, int x, int y) {
  RequireUIThread("Headless::MouseUp");
  HB().SetCursorPos({x, y});
  TBackendEvents::MouseButton(vk, false, {x, y});
  AfterInput();
}

void Headless::Click(int x, int y, WORD vk) {
  MouseDown(vk, x, y);
  MouseUp(vk, x, y);
}

void Headless::DoubleClick(int x, int y, WORD vk) {
  Click(x, y, vk);
  Click(x, y, vk);
}

void Headless::Wheel(int delta, bool horizontal) {
  RequireUIThread("Headless::Wheel");
  TBackendEvents::MouseWheel(delta, horizontal, HB().CursorPos());
  AfterInput();
}

void Headless::KeyDown(WORD vk, const String& text) {
  RequireUIThread("Headless::KeyDown");
  HB();
  bool repeat = (GetAsyncKeyState(vk) & 0x8000) != 0;
  TBackendEvents::Key(vk, true, repeat, 0, false, text, false);
  AfterInput();
}

void Headless::KeyUp(WORD vk) {
  RequireUIThread("Headless::KeyUp");
  HB();
  TBackendEvents::Key(vk, false, false, 0, false, String(), false);
  AfterInput();
}

void Headless::KeyPress(WORD vk, const String& text) {
  KeyDown(vk, text);
  KeyUp(vk);
}

void Headless::Char(const String& text) {
  RequireUIThread("Headless::Char");
  HB();
  TBackendEvents::Text(text);
  AfterInput();
}

void Headless::TypeText(const String& text) {
  for (size_t o = 0; o < text.size(); o += utf8::CharBytes(text, o)) {
    char32_t c = utf8::Decode(text, o);
    String one = utf8::Encode(c);
    TKeyOfChar k = KeyForChar(c);
    if (!k.Vk) {
      Char(one);
      continue;
    }
    bool shiftHeld = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    if (k.Shift && !shiftHeld) KeyDown(VK_SHIFT);
    KeyPress(k.Vk, one);
    if (k.Shift && !shiftHeld) KeyUp(VK_SHIFT);
  }
}

bool Headless::CaptureWindow(HWND hwnd, TSurface* out, bool clientOnly) {
  RequireUIThread("Headless::CaptureWindow");
  HB();
  if (!out) return false;
  PresentAll();
  TWnd* w = FromHandle(hwnd);
  THeadlessHost* host = HostOf(hwnd);
  if (!w || !host || !host->Shown()) return false;
  TWnd* top = TopOf(w);
  TRect area = clientOnly ? ClientRectInTop(w) : WindowRectInTop(w);
  TRect inHost = area.Offsetted(-top->Top->HostArea.Left, -top->Top->HostArea.Top);
  out->SetSize(area.Width(), area.Height());
  out->Fill(0xFF000000u);
  CopyRect(*out, {0, 0}, host->Front(), inHost);
  return true;
}

bool Headless::CaptureScreen(TSurface* out) {
  RequireUIThread("Headless::CaptureScreen");
  THeadlessBackend& b = HB();
  if (!out) return false;
  PresentAll();
  TRect screen = b.Monitors().front().Bounds;
  out->SetSize(screen.Width(), screen.Height());
  out->Fill(0xFF000000u);
  auto& tops = Sys().TopLevels;
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    TWnd* t = *it;
    if (!t->Top) continue;
    auto* host = dynamic_cast<THeadlessHost*>(t->Top->Host.get());
    if (!host || !host->Shown()) continue;
    TPoint at = host->Bounds().TopLeft() - screen.TopLeft();
    CopyRect(*out, at, host->Front(), host->Front().BoundsRect());
  }
  return true;
}

bool Headless::SavePNG(const TSurface& surface, const String& path) {
  if (surface.IsEmpty()) return false;
  std::vector<uint8_t> bytes = EncodePng(surface, true, false);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

int Headless::CursorShape() { return HB().shape_; }
int Headless::BeepCount() { return HB().beeps_; }
bool Headless::MouseCaptured() { return HB().captured_; }

int Headless::PresentCount(HWND window) {
  THeadlessHost* h = HostOf(window);
  return h ? h->Presents() : 0;
}

TRect Headless::LastPresentBounds(HWND window) {
  THeadlessHost* h = HostOf(window);
  return h ? h->LastBounds() : TRect();
}
