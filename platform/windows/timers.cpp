// Timers and the clock.
#include <algorithm>

#include "platform/windows/internal.h"

namespace kvwin {
namespace {
bool InFilter(UINT msg, UINT minMsg, UINT maxMsg) {
  if (minMsg == 0 && maxMsg == 0) return true;
  return minMsg <= maxMsg ? msg >= minMsg && msg <= maxMsg : msg >= minMsg || msg <= maxMsg;
}
}  // namespace

uint64_t Now() { return BE().Now(); }

uint64_t AddSystemTimer(uint64_t dueIn, std::function<void()> fn) {
  TWindowSystem& s = Sys();
  TSystemTimer t;
  t.Id = s.NextSystemTimerId++;
  t.Due = Now() + dueIn;
  t.Fn = std::move(fn);
  s.SystemTimers.push_back(std::move(t));
  return s.SystemTimers.back().Id;
}

void KillSystemTimer(uint64_t id) {
  if (!id) return;
  auto& list = Sys().SystemTimers;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const TSystemTimer& t) { return t.Id == id; }), list.end());
}

bool RunDueSystemTimers() {
  TWindowSystem& s = Sys();
  bool ran = false;
  // Each due timer is taken out before it runs, so it may add or kill timers.
  while (true) {
    uint64_t now = Now();
    auto it = std::min_element(s.SystemTimers.begin(), s.SystemTimers.end(),
                               [](const TSystemTimer& a, const TSystemTimer& b) { return a.Due < b.Due; });
    if (it == s.SystemTimers.end() || it->Due > now) break;
    std::function<void()> fn = std::move(it->Fn);
    s.SystemTimers.erase(it);
    ran = true;
    fn();
  }
  return ran;
}

bool NextDueTime(uint64_t* due, uint64_t after) {
  TWindowSystem& s = Sys();
  bool any = false;
  uint64_t best = 0;
  for (const TTimer& t : s.Timers)
    if (t.Due > after && (!any || t.Due < best)) {
      best = t.Due;
      any = true;
    }
  for (const TSystemTimer& t : s.SystemTimers)
    if (t.Due > after && (!any || t.Due < best)) {
      best = t.Due;
      any = true;
    }
  if (any) *due = best;
  return any;
}

bool TakeTimerMessage(MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
  if (!InFilter(WM_TIMER, minMsg, maxMsg)) return false;
  TWindowSystem& s = Sys();
  uint64_t now = Now();
  TTimer* best = nullptr;
  for (TTimer& t : s.Timers) {
    if (t.Due > now) continue;
    if (filter == reinterpret_cast<HWND>(-1) ? t.Hwnd != nullptr : (filter && t.Hwnd != filter)) continue;
    if (!best || t.Due < best->Due) best = &t;
  }
  if (!best) return false;
  *out = MSG();
  out->hwnd = best->Hwnd;
  out->message = WM_TIMER;
  out->wParam = best->Id;
  out->lParam = reinterpret_cast<LPARAM>(best->Proc);
  out->time = static_cast<DWORD>(now);
  out->pt = s.CursorPos;
  // The next tick counts from now: a late timer does not fire several times to catch up.
  if (remove) best->Due = now + best->Interval;
  return true;
}

void KillWindowTimers(HWND hwnd) {
  auto& list = Sys().Timers;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const TTimer& t) { return t.Hwnd == hwnd; }), list.end());
}
}  // namespace kvwin

using namespace kvwin;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  RequireUIThread("SetTimer");
  TWindowSystem& s = Sys();
  if (hwnd && !CheckHandle(hwnd)) return 0;
  elapseMs = std::clamp<UINT>(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  if (!hwnd) {
    // A thread timer: an existing id is re-armed, otherwise a new id is made.
    bool found = false;
    if (id)
      for (const TTimer& t : s.Timers)
        if (!t.Hwnd && t.Id == id) found = true;
    if (!found) {
      do id = s.NextTimerId++;
      while (std::any_of(s.Timers.begin(), s.Timers.end(), [&](const TTimer& t) { return !t.Hwnd && t.Id == id; }));
    }
  }
  for (TTimer& t : s.Timers)
    if (t.Hwnd == hwnd && t.Id == id) {
      t.Interval = elapseMs;
      t.Proc = proc;
      t.Due = Now() + elapseMs;
      return hwnd ? 1 : id;
    }
  TTimer t;
  t.Hwnd = hwnd;
  t.Id = id;
  t.Interval = elapseMs;
  t.Proc = proc;
  t.Due = Now() + elapseMs;
  s.Timers.push_back(t);
  return hwnd ? (id ? id : 1) : id;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
  RequireUIThread("KillTimer");
  auto& list = Sys().Timers;
  auto it = std::find_if(list.begin(), list.end(), [&](const TTimer& t) { return t.Hwnd == hwnd && t.Id == id; });
  if (it == list.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  list.erase(it);
  return true;
}

uint64_t GetTickCount64() { return BE().Now(); }
DWORD GetTickCount() { return static_cast<DWORD>(BE().Now()); }

UINT GetDoubleClickTime() { return Sys().DoubleClickTime; }

bool SetDoubleClickTime(UINT ms) {
  Sys().DoubleClickTime = ms == 0 ? 500 : ms;
  return true;
}
