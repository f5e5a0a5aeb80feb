#pragma once
// Fixture of the window layer's tests: the headless back end on a fresh virtual clock, one
// registered window class whose procedure logs every message and lets a test answer any of
// them, and helpers to read the log.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/core/color.h"
#include "platform/core/exceptions.h"
#include "platform/graphics/objects.h"
#include "platform/graphics/surface.h"
#include "platform/windows/headless.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/paint.h"
#include "platform/windows/window.h"

struct TLogEntry {
  HWND Hwnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class WindowTest : public testing::Test {
protected:
  static constexpr const char* kClass = "KvTestWindow";
  static constexpr const char* kDblClass = "KvTestDblClk";

  void SetUp() override {
    current_ = this;
    handlers_.clear();
    SelectWindowBackend("headless");
    Headless::SetScreenSize(1024, 768);
    RegisterClasses();
  }
  static void RegisterClasses() {
    RegisterOnce(kClass, 0);
    RegisterOnce(kDblClass, CS_DBLCLKS);
  }
  void UseThisFixture() {
    current_ = this;
    handlers_.clear();
  }
  void TearDown() override {
    ShutdownWindowSystem();
    current_ = nullptr;
  }

  // A window of the logging class; rect in the parent's client coordinates (screen for
  // top-level windows).
  HWND Create(DWORD style, const TRect& r, HWND parent = nullptr, DWORD exStyle = 0, const char* cls = kClass,
              int id = 0) {
    HWND h = CreateWindowEx(exStyle, cls, "", style, r.Left, r.Top, r.Width(), r.Height(), parent,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(h, nullptr) << "CreateWindowEx failed: " << SysErrorMessage(GetLastError());
    return h;
  }
  HWND CreateTop(const TRect& r, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0) {
    return Create(style, r, nullptr, exStyle);
  }
  HWND CreateChild(HWND parent, const TRect& r, DWORD style = WS_CHILD | WS_VISIBLE, int id = 0) {
    return Create(style | WS_CHILD, r, parent, 0, kClass, id);
  }

  // Answers for one window (or all: null) and one message (or all: 0).
  void On(HWND h, UINT msg, std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> fn) {
    handlers_.push_back({h, msg, std::move(fn)});
  }
  void ClearLog() { log_.clear(); }
  const std::vector<TLogEntry>& Log() const { return log_; }
  // The messages of a window (all windows: null) that are in `only` (empty: all), in order.
  std::vector<UINT> Messages(HWND h, std::vector<UINT> only = {}) const {
    std::vector<UINT> out;
    for (const TLogEntry& e : log_)
      if ((!h || e.Hwnd == h) && (only.empty() || std::find(only.begin(), only.end(), e.Msg) != only.end()))
        out.push_back(e.Msg);
    return out;
  }
  int Count(HWND h, UINT msg) const {
    int n = 0;
    for (const TLogEntry& e : log_)
      if ((!h || e.Hwnd == h) && e.Msg == msg) ++n;
    return n;
  }
  std::vector<TLogEntry> Entries(HWND h, UINT msg) const {
    std::vector<TLogEntry> out;
    for (const TLogEntry& e : log_)
      if ((!h || e.Hwnd == h) && e.Msg == msg) out.push_back(e);
    return out;
  }
  void Pump() { ProcessPendingMessages(); }

  // Screen pixel of a window's presented image (client coordinates).
  static uint32_t ShownPixel(HWND h, int x, int y) {
    TSurface s;
    if (!Headless::CaptureWindow(h, &s, true)) return 0;
    return s.Row(y)[x];
  }

  static LRESULT Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    WindowTest* t = current_;
    if (t) {
      t->log_.push_back({h, msg, w, l});
      // Handlers may add handlers: walk by index.
      // The latest handler that matches answers.
      for (size_t i = t->handlers_.size(); i-- > 0;) {
        const auto& hd = t->handlers_[i];
        if ((hd.Hwnd && hd.Hwnd != h) || (hd.Msg && hd.Msg != msg)) continue;
        auto fn = hd.Fn;
        return fn(h, msg, w, l);
      }
    }
    return DefWindowProc(h, msg, w, l);
  }

private:
  static void RegisterOnce(const char* name, UINT style) {
    WNDCLASS wc;
    if (GetClassInfo(nullptr, name, &wc)) return;
    wc = WNDCLASS();
    wc.style = style;
    wc.lpfnWndProc = Proc;
    wc.hbrBackground = SysColorBrushIndex(COLOR_WINDOW);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClass(wc), 0);
  }

  struct THandlerEntry {
    HWND Hwnd;
    UINT Msg;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Fn;
  };
  inline static WindowTest* current_ = nullptr;
  std::vector<TLogEntry> log_;
  std::vector<THandlerEntry> handlers_;
};

// The premultiplied pixel of an opaque RGB colour.
inline uint32_t Opaque(TColor c) {
  return PixelARGB(255, static_cast<uint32_t>(GetRValue(c)), static_cast<uint32_t>(GetGValue(c)),
                   static_cast<uint32_t>(GetBValue(c)));
}
