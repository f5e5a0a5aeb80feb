// The message queue: sending, posting, retrieval and dispatch.
#include <algorithm>
#include <map>

#include "platform/windows/internal.h"
#include "platform/windows/paint.h"

namespace kvwin {
namespace {
std::mutex gQueuesLock;
std::map<DWORD, std::weak_ptr<TThreadQueue>> gQueues;
thread_local std::shared_ptr<TThreadQueue> tQueue;

bool InFilter(UINT msg, UINT minMsg, UINT maxMsg) {
  if (minMsg == 0 && maxMsg == 0) return true;
  if (minMsg <= maxMsg) return msg >= minMsg && msg <= maxMsg;
  return msg >= minMsg || msg <= maxMsg;  // a wrapped range
}

bool HwndMatches(HWND msgHwnd, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return msgHwnd == nullptr;
  if (msgHwnd == filter) return true;
  // A filter window also takes the messages of its children.
  TWnd* f = FromHandle(filter);
  TWnd* m = FromHandle(msgHwnd);
  return f && m && IsAncestorOrSelf(f, m);
}

// Handles the messages other threads sent; returns whether any ran.
bool RunIncomingSends(TThreadQueue& q) {
  bool any = false;
  while (true) {
    std::shared_ptr<TSentMessage> m;
    {
      std::lock_guard<std::mutex> lock(q.Lock);
      if (q.Sent.empty()) break;
      m = q.Sent.front();
      q.Sent.pop_front();
    }
    any = true;
    LRESULT r = 0;
    bool saved = q.InCrossThreadSend;
    q.InCrossThreadSend = true;
    try {
      if (TWnd* w = FromHandle(m->Hwnd)) r = Dispatch(w, m->Msg, m->WParam, m->LParam);
    } catch (...) {
      q.InCrossThreadSend = saved;
      std::lock_guard<std::mutex> lock(m->Lock);
      m->Done = true;
      m->Cv.notify_all();
      throw;
    }
    q.InCrossThreadSend = saved;
    std::lock_guard<std::mutex> lock(m->Lock);
    m->Result = r;
    m->Done = true;
    m->Cv.notify_all();
  }
  return any;
}

bool TakePosted(TThreadQueue& q, MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
  std::lock_guard<std::mutex> lock(q.Lock);
  for (auto it = q.Posted.begin(); it != q.Posted.end(); ++it) {
    if (!InFilter(it->message, minMsg, maxMsg)) continue;
    if (q.IsUI && !HwndMatches(it->hwnd, filter)) continue;
    if (!q.IsUI && filter && filter != reinterpret_cast<HWND>(-1)) continue;
    *out = *it;
    if (remove) q.Posted.erase(it);
    return true;
  }
  return false;
}

bool TakeQuit(TThreadQueue& q, MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
  std::lock_guard<std::mutex> lock(q.Lock);
  if (!q.QuitPosted || !InFilter(WM_QUIT, minMsg, maxMsg)) return false;
  if (filter && filter != reinterpret_cast<HWND>(-1)) return false;
  *out = MSG();
  out->message = WM_QUIT;
  out->wParam = static_cast<WPARAM>(q.QuitCode);
  if (remove) q.QuitPosted = false;
  return true;
}

bool TakePaint(MSG* out, HWND filter, UINT minMsg, UINT maxMsg) {
  if (!InFilter(WM_PAINT, minMsg, maxMsg)) return false;
  TWnd* w = FindWindowToPaint(filter == reinterpret_cast<HWND>(-1) ? nullptr : filter);
  if (!w || filter == reinterpret_cast<HWND>(-1)) return false;
  *out = MSG();
  out->hwnd = w->Handle;
  out->message = WM_PAINT;
  return true;
}

// One pass over every source of messages; true when a message was found.
bool Retrieve(TThreadQueue& q, MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
  RunIncomingSends(q);
  if (q.IsUI) {
    BE().PumpEvents();
    if (RunDueSystemTimers()) {
      // A scheduled callback may have changed what a waiting loop is waiting for: the next
      // wait returns at once so that the loop looks again.
      std::lock_guard<std::mutex> lock(q.Lock);
      q.Signalled = true;
    }
    RunIncomingSends(q);
    if (TakePosted(q, out, filter, minMsg, maxMsg, remove)) return true;
    if (TakeInput(out, filter, minMsg, maxMsg, remove)) return true;
    // Routing input may itself have posted (a mouse-leave notice): take it in this call.
    if (TakePosted(q, out, filter, minMsg, maxMsg, remove)) return true;
    if (TakeQuit(q, out, filter, minMsg, maxMsg, remove)) return true;
    if (TakePaint(out, filter, minMsg, maxMsg)) return true;
    return TakeTimerMessage(out, filter, minMsg, maxMsg, remove);
  }
  if (TakePosted(q, out, filter, minMsg, maxMsg, remove)) return true;
  return TakeQuit(q, out, filter, minMsg, maxMsg, remove);
}

void WaitForQueue(TThreadQueue& q) {
  if (q.IsUI) {
    PresentAll();
    {
      std::lock_guard<std::mutex> lock(q.Lock);
      if (!q.Posted.empty() || !q.Sent.empty() || q.Signalled) {
        q.Signalled = false;
        return;
      }
    }
    // Only timers still to come limit the wait: one that is due but was filtered out must not
    // turn the wait into a spin.
    uint64_t due;
    int64_t timeout = -1;
    uint64_t now = Now();
    if (NextDueTime(&due, now)) timeout = static_cast<int64_t>(due - now);
    BE().Wait(timeout);
    std::lock_guard<std::mutex> lock(q.Lock);
    q.Signalled = false;
    return;
  }
  std::unique_lock<std::mutex> lock(q.Lock);
  q.Cv.wait(lock, [&] { return !q.Posted.empty() || !q.Sent.empty() || q.QuitPosted || q.Signalled; });
  q.Signalled = false;
}

void RememberMessage(TThreadQueue& q, const MSG& m) { q.LastMsg = m; }

LRESULT DefaultHandlerForTimer(const MSG* msg) {
  auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
  proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(GetTickCount64()));
  return 0;
}
}  // namespace

std::shared_ptr<TThreadQueue> CurrentQueue() {
  if (tQueue) return tQueue;
  TWindowSystem& s = Sys();
  if (OnUIThread() || s.UIThread == std::thread::id()) {
    if (s.UIThread == std::thread::id()) RequireUIThread("GetMessage");
    tQueue = s.UIQueue;
  } else {
    tQueue = std::make_shared<TThreadQueue>();
    tQueue->ThreadId = GetCurrentThreadId();
  }
  std::lock_guard<std::mutex> lock(gQueuesLock);
  gQueues[tQueue->ThreadId] = tQueue;
  return tQueue;
}

std::shared_ptr<TThreadQueue> FindQueue(DWORD threadId) {
  TWindowSystem* s = SysIfStarted();
  if (s && s->UIThreadId == threadId && s->UIThread != std::thread::id()) return s->UIQueue;
  std::lock_guard<std::mutex> lock(gQueuesLock);
  auto it = gQueues.find(threadId);
  if (it == gQueues.end()) return nullptr;
  auto q = it->second.lock();
  if (!q) gQueues.erase(it);
  return q;
}

void WakeQueue(TThreadQueue& q) {
  {
    std::lock_guard<std::mutex> lock(q.Lock);
    q.Signalled = true;
  }
  if (q.IsUI) {
    if (TWindowSystem* s = SysIfStarted())
      if (s->Backend) s->Backend->Wake();
  } else {
    q.Cv.notify_all();
  }
}

void ForgetWindowMessages(HWND hwnd) {
  TWindowSystem& s = Sys();
  std::vector<std::shared_ptr<TSentMessage>> answered;
  {
    std::lock_guard<std::mutex> lock(s.UIQueue->Lock);
    auto& p = s.UIQueue->Posted;
    p.erase(std::remove_if(p.begin(), p.end(), [&](const MSG& m) { return m.hwnd == hwnd; }), p.end());
    auto& sent = s.UIQueue->Sent;
    for (auto it = sent.begin(); it != sent.end();) {
      if ((*it)->Hwnd == hwnd) {
        answered.push_back(*it);
        it = sent.erase(it);
      } else {
        ++it;
      }
    }
  }
  // Senders waiting on a destroyed window get 0.
  for (auto& m : answered) {
    std::lock_guard<std::mutex> lock(m->Lock);
    m->Done = true;
    m->Cv.notify_all();
  }
}

bool QueueSent(TWindowSystem& s, const std::shared_ptr<TSentMessage>& m) {
  {
    // Checked under the queue's lock: destruction releases the handle before it clears the
    // queue of the window's messages.
    std::lock_guard<std::mutex> lock(s.UIQueue->Lock);
    if (!IsLiveHandle(m->Hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return false;
    }
    s.UIQueue->Sent.push_back(m);
  }
  WakeQueue(*s.UIQueue);
  return true;
}

void DefaultPump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit for the application's own loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

}  // namespace kvwin

using namespace kvwin;

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT r = 0;
  SendMessageTimeout(hwnd, msg, wParam, lParam, SMTO_NORMAL, INFINITE, &r);
  return r;
}

namespace {
// A message carried to the user-interface thread from another thread.
std::shared_ptr<TSentMessage> MakeSentMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto m = std::make_shared<TSentMessage>();
  m->Hwnd = hwnd;
  m->Msg = msg;
  m->WParam = wParam;
  m->LParam = lParam;
  return m;
}
}  // namespace

bool SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT, UINT timeoutMs,
                        LRESULT* result) {
  if (result) *result = 0;
  if (OnUIThread()) {
    TWnd* w = CheckHandle(hwnd);
    if (!w) return false;
    LRESULT r = Dispatch(w, msg, wParam, lParam);
    if (result) *result = r;
    return true;
  }
  // Another thread: carry the call to the user-interface thread and wait for its answer.
  TWindowSystem* s = SysIfStarted();
  if (!s || !IsLiveHandle(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  auto m = MakeSentMessage(hwnd, msg, wParam, lParam);
  if (!QueueSent(*s, m)) return false;
  std::unique_lock<std::mutex> lock(m->Lock);
  if (timeoutMs == INFINITE) {
    m->Cv.wait(lock, [&] { return m->Done; });
  } else {
    // The time limit is measured on the window layer's clock, polled in short waits so that a
    // virtual clock is honoured too.
    uint64_t deadline = GetTickCount64() + timeoutMs;
    while (!m->Done && GetTickCount64() < deadline) m->Cv.wait_for(lock, std::chrono::milliseconds(5));
    if (!m->Done) {
      lock.unlock();
      std::lock_guard<std::mutex> ql(s->UIQueue->Lock);
      auto& sent = s->UIQueue->Sent;
      sent.erase(std::remove(sent.begin(), sent.end(), m), sent.end());
      SetLastError(ERROR_TIMEOUT);
      return false;
    }
  }
  if (result) *result = m->Result;
  return true;
}

bool SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (OnUIThread()) {
    TWnd* w = CheckHandle(hwnd);
    if (!w) return false;
    Dispatch(w, msg, wParam, lParam);
    return true;
  }
  TWindowSystem* s = SysIfStarted();
  if (!s || !IsLiveHandle(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  auto m = MakeSentMessage(hwnd, msg, wParam, lParam);
  m->NeedsAnswer = false;
  return QueueSent(*s, m);
}

bool InSendMessage() { return tQueue && tQueue->InCrossThreadSend; }

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    if (!OnUIThread()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    for (HWND h : GetTopLevelWindows()) PostMessage(h, msg, wParam, lParam);
    return true;
  }
  TWindowSystem* s = SysIfStarted();
  if (!hwnd) {
    // A null window posts to the calling thread's own queue.
    auto q = CurrentQueue();
    MSG m;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    {
      std::lock_guard<std::mutex> lock(q->Lock);
      q->Posted.push_back(m);
    }
    WakeQueue(*q);
    return true;
  }
  if (!s || !IsLiveHandle(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  if (OnUIThread()) m.pt = s->CursorPos;
  {
    std::lock_guard<std::mutex> lock(s->UIQueue->Lock);
    s->UIQueue->Posted.push_back(m);
  }
  WakeQueue(*s->UIQueue);
  return true;
}

bool PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto q = FindQueue(threadId);
  if (!q) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return false;
  }
  MSG m;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  {
    std::lock_guard<std::mutex> lock(q->Lock);
    q->Posted.push_back(m);
  }
  WakeQueue(*q);
  return true;
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  {
    std::lock_guard<std::mutex> lock(q->Lock);
    q->QuitPosted = true;
    q->QuitCode = exitCode;
  }
  WakeQueue(*q);
}

namespace {
void CheckFilter(HWND filter) {
  if (filter && filter != reinterpret_cast<HWND>(-1) && !FromHandle(filter))
    throw EInvalidArgument("message filter names a window that does not exist");
}
}  // namespace

bool GetMessage(MSG* msg, HWND hwnd, UINT minFilter, UINT maxFilter) {
  if (!msg) throw EInvalidArgument("GetMessage: no message record");
  auto q = CurrentQueue();
  CheckFilter(hwnd);
  while (true) {
    if (Retrieve(*q, msg, hwnd, minFilter, maxFilter, true)) {
      RememberMessage(*q, *msg);
      return msg->message != WM_QUIT;
    }
    WaitForQueue(*q);
    CheckFilter(hwnd);
  }
}

bool PeekMessage(MSG* msg, HWND hwnd, UINT minFilter, UINT maxFilter, UINT removeFlags) {
  if (!msg) throw EInvalidArgument("PeekMessage: no message record");
  auto q = CurrentQueue();
  CheckFilter(hwnd);
  if (Retrieve(*q, msg, hwnd, minFilter, maxFilter, (removeFlags & PM_REMOVE) != 0)) {
    if (removeFlags & PM_REMOVE) RememberMessage(*q, *msg);
    return true;
  }
  if (q->IsUI) PresentAll();
  return false;
}

bool WaitMessage() {
  auto q = CurrentQueue();
  // Messages other threads sent count as arrivals: the caller may be waiting for their effect.
  if (RunIncomingSends(*q)) return true;
  MSG m;
  if (Retrieve(*q, &m, nullptr, 0, 0, false)) return true;
  WaitForQueue(*q);
  RunIncomingSends(*q);
  return true;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) return DefaultHandlerForTimer(msg);
  if (!msg->hwnd) return 0;
  TWnd* w = FromHandle(msg->hwnd);
  if (!w) return 0;
  if (msg->message == WM_PAINT) {
    TWndRef ref(w);
    uint64_t serial = w->PaintSerial;
    LRESULT r = Dispatch(w, WM_PAINT, msg->wParam, msg->lParam);
    // A handler that neither painted nor validated would get the same WM_PAINT for ever.
    if (ref.Alive() && w->PaintSerial == serial && NeedsPaint(w)) ValidateInternal(w, nullptr);
    return r;
  }
  return Dispatch(w, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessageTime() { return CurrentQueue()->LastMsg.time; }

DWORD GetMessagePos() {
  const MSG& m = CurrentQueue()->LastMsg;
  return MAKELONG(static_cast<unsigned>(m.pt.X), static_cast<unsigned>(m.pt.Y));
}

void SetMessagePump(TMessagePump pump) {
  RequireUIThread("SetMessagePump");
  Sys().Pump = pump ? std::move(pump) : TMessagePump(DefaultPump);
}

void ProcessPendingMessages() {
  RequireUIThread("ProcessPendingMessages");
  TWindowSystem& s = Sys();
  ++s.PumpDepth;
  try {
    TMessagePump pump = s.Pump;  // a copy: the pump may replace itself
    pump();
  } catch (...) {
    --s.PumpDepth;
    throw;
  }
  --s.PumpDepth;
  PresentAll();
}
