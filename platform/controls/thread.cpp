#include "platform/controls/thread.h"

#include <chrono>
#include <deque>
#include <memory>

#include "platform/controls/application.h"
#include "platform/controls/internal.h"
#include "platform/controls/messages.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/window.h"

namespace {
struct TSyncEntry {
  TThreadMethod Method;
  TThread* Thread = nullptr;
  const void* Owner = nullptr;
  bool Synchronous = false;
  bool Done = false;
  bool Cancelled = false;
  std::exception_ptr Error;
};

struct TSyncState {
  std::mutex Lock;
  std::condition_variable Cv;  // a hand-over arrived, one finished, or a thread finished
  std::deque<std::shared_ptr<TSyncEntry>> Queue;
  std::atomic<HWND> Window{nullptr};
};

TSyncState& Sync() {
  static TSyncState* s = new TSyncState();  // threads may outlive static destruction order
  return *s;
}

thread_local TThread* GCurrentThread = nullptr;

// The user-interface thread's window that hand-overs are announced to.
void PrepareWakeWindow() {
  if (Sync().Window.load() || !Application) return;
  try {
    // On a thread other than the user-interface thread this refuses (EInvalidOperation).
    Sync().Window = Application->Handle();
  } catch (const EInvalidOperation&) {
  }
}

void Announce() {
  HWND w = Sync().Window.load();
  if (w) PostMessage(w, CM_SYNCHRONIZE, 0, 0);
  Sync().Cv.notify_all();
}

bool Enqueue(TThread* Thread, TThreadMethod Method, const void* Owner, bool Synchronous) {
  if (!Method) return false;
  if (IsUIThread()) {
    // Already on the user-interface thread: run at once (Queue too, as the caller is there).
    if (Synchronous) {
      Method();
      return true;
    }
  }
  auto e = std::make_shared<TSyncEntry>();
  e->Method = std::move(Method);
  e->Thread = Thread;
  e->Owner = Owner ? Owner : static_cast<const void*>(Thread);
  e->Synchronous = Synchronous;
  TSyncState& s = Sync();
  {
    std::lock_guard<std::mutex> g(s.Lock);
    s.Queue.push_back(e);
  }
  Announce();
  if (!Synchronous) return true;
  std::unique_lock<std::mutex> lk(s.Lock);
  s.Cv.wait(lk, [&] { return e->Done || e->Cancelled; });
  if (e->Cancelled) return false;
  if (e->Error) {
    std::exception_ptr err = e->Error;
    lk.unlock();
    std::rethrow_exception(err);
  }
  return true;
}
}  // namespace

bool CheckSynchronize(int Timeout) {
  if (!IsUIThread()) return false;
  TSyncState& s = Sync();
  bool ran = false;
  if (Timeout > 0) {
    std::unique_lock<std::mutex> lk(s.Lock);
    s.Cv.wait_for(lk, std::chrono::milliseconds(Timeout), [&] { return !s.Queue.empty(); });
  }
  while (true) {
    std::shared_ptr<TSyncEntry> e;
    {
      std::lock_guard<std::mutex> g(s.Lock);
      if (s.Queue.empty()) break;
      e = s.Queue.front();
      s.Queue.pop_front();
    }
    ran = true;
    std::exception_ptr err;
    try {
      e->Method();
    } catch (...) {
      err = std::current_exception();
    }
    if (!e->Synchronous && err) {
      // Nobody waits for a queued method: its exception is reported here.
      try {
        std::rethrow_exception(err);
      } catch (...) {
        kvctl::HandleCurrentException(nullptr);
      }
    }
    {
      std::lock_guard<std::mutex> g(s.Lock);
      e->Error = err;
      e->Done = true;
    }
    s.Cv.notify_all();
  }
  return ran;
}

int PendingSynchronizeCount() {
  std::lock_guard<std::mutex> g(Sync().Lock);
  return static_cast<int>(Sync().Queue.size());
}

// ---- TThread ----

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) { PrepareWakeWindow(); }

TThread::~TThread() {
  if (FStarted && !FFinished && FThread.joinable() && std::this_thread::get_id() != FThread.get_id()) {
    Terminate();
    WaitFor();
  }
  if (FThread.joinable()) {
    if (std::this_thread::get_id() == FThread.get_id()) FThread.detach();
    else FThread.join();
  }
  RemoveQueuedEvents(this);
}

void TThread::AfterConstruction() {
  if (!FCreateSuspended && !FStarted) Start();
}

void TThread::Start() {
  if (FStarted) throw EInvalidOperation("Cannot call Start on a running or finished thread");
  PrepareWakeWindow();
  FStarted = true;
  FThread = std::thread([this] { ThreadProc(); });
}

void TThread::Terminate() { FTerminated = true; }

void TThread::ThreadProc() {
  GCurrentThread = this;
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  // OnTerminate runs on the user-interface thread; a waiting WaitFor runs it there.
  try {
    Synchronize([this] { DoTerminate(); });
  } catch (...) {
  }
  bool freeSelf = FFreeOnTerminate;
  {
    std::lock_guard<std::mutex> g(Sync().Lock);
    FFinished = true;
  }
  Sync().Cv.notify_all();
  GCurrentThread = nullptr;
  if (freeSelf) {
    FThread.detach();
    delete this;
  }
}

void TThread::DoTerminate() {
  if (OnTerminate) OnTerminate(this);
}

int TThread::WaitFor() {
  if (!FStarted) return FReturnValue;
  if (std::this_thread::get_id() == FThread.get_id())
    throw EInvalidOperation("A thread cannot wait for itself");
  TSyncState& s = Sync();
  if (IsUIThread()) {
    while (!FFinished) {
      if (CheckSynchronize()) continue;
      std::unique_lock<std::mutex> lk(s.Lock);
      s.Cv.wait(lk, [&] { return FFinished.load() || !s.Queue.empty(); });
    }
  } else {
    std::unique_lock<std::mutex> lk(s.Lock);
    s.Cv.wait(lk, [&] { return FFinished.load(); });
  }
  if (FThread.joinable()) FThread.join();
  return FReturnValue;
}

bool TThread::Synchronize(TThreadMethod Method, const void* Owner) { return Enqueue(this, std::move(Method), Owner, true); }

void TThread::Queue(TThreadMethod Method, const void* Owner) { Enqueue(this, std::move(Method), Owner, false); }

bool TThread::Synchronize(TThread* Thread, TThreadMethod Method, const void* Owner) {
  return Enqueue(Thread, std::move(Method), Owner, true);
}

void TThread::Queue(TThread* Thread, TThreadMethod Method, const void* Owner) {
  Enqueue(Thread, std::move(Method), Owner, false);
}

void TThread::RemoveQueuedEvents(const void* Owner) {
  if (!Owner) return;
  TSyncState& s = Sync();
  bool any = false;
  {
    std::lock_guard<std::mutex> g(s.Lock);
    for (auto it = s.Queue.begin(); it != s.Queue.end();) {
      auto& e = *it;
      if (e->Owner == Owner || e->Thread == Owner) {
        e->Cancelled = true;
        it = s.Queue.erase(it);
        any = true;
      } else {
        ++it;
      }
    }
  }
  if (any) s.Cv.notify_all();
}

TThread* TThread::CurrentThread() { return GCurrentThread; }
