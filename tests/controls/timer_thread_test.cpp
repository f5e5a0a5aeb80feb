// Timers on the virtual clock, and threads with their hand-overs to the user-interface thread.
#include "support.h"

#include <atomic>
#include <thread>

#include "platform/controls/stdctrls.h"
#include "platform/controls/thread.h"
#include "platform/controls/timer.h"

using namespace kvtest;

namespace {
class TBodyThread : public TThread {
public:
  explicit TBodyThread(std::function<void(TBodyThread*)> body) : TThread(true), FBody(std::move(body)) {}
  using TThread::Synchronize;

protected:
  void Execute() override { FBody(this); }

private:
  std::function<void(TBodyThread*)> FBody;
};

// Waits (without sleeping) until the worker has a hand-over waiting.
void AwaitPending(int n) {
  while (PendingSynchronizeCount() < n) std::this_thread::yield();
}
}  // namespace

TEST_F(ControlsTest, TimerTicksOnTheVirtualClock) {
  TTimer t(nullptr);
  t.SetInterval(100);
  std::vector<uint64_t> at;
  uint64_t start = Headless::Now();
  t.OnTimer = [&](TObject*) { at.push_back(Headless::Now() - start); };
  Headless::AdvanceTime(350);
  EXPECT_EQ(at, (std::vector<uint64_t>{100, 200, 300}));
  t.SetEnabled(false);
  Headless::AdvanceTime(500);
  EXPECT_EQ(at.size(), 3u);
  t.SetInterval(0);
  t.SetEnabled(true);
  Headless::AdvanceTime(500);
  EXPECT_EQ(at.size(), 3u) << "interval 0 runs nothing";
}

TEST_F(ControlsTest, TimerReArmedAndGivenAnotherHandlerInsideItsTick) {
  TTimer t(nullptr);
  t.SetInterval(100);
  uint64_t start = Headless::Now();
  std::vector<String> log;
  t.OnTimer = [&](TObject*) {
    log.push_back("first@" + IntToStr(static_cast<int64_t>(Headless::Now() - start)));
    t.SetInterval(30);
    t.OnTimer = [&](TObject*) {
      log.push_back("second@" + IntToStr(static_cast<int64_t>(Headless::Now() - start)));
      if (log.size() == 3) t.SetEnabled(false);
    };
  };
  Headless::AdvanceTime(400);
  EXPECT_EQ(log, (std::vector<String>{"first@100", "second@130", "second@160"}));
}

TEST_F(ControlsTest, TimerFreedInsideItsOwnTickWithItsOwner) {
  auto* owner = new TComponent(nullptr);
  auto* t = new TTimer(owner);
  t->SetInterval(50);
  int ticks = 0;
  t->OnTimer = [&](TObject*) {
    ++ticks;
    Free(owner);  // the owner frees the timer whose handler runs now
  };
  auto* lone = new TTimer(nullptr);
  lone->SetInterval(70);
  int loneTicks = 0;
  lone->OnTimer = [&](TObject* s) {
    ++loneTicks;
    Free(s);
  };
  Headless::AdvanceTime(500);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(loneTicks, 1);
}

TEST_F(ControlsTest, SynchronizeRunsOnTheInterfaceThreadAndWaitForKeepsItGoing) {
  std::thread::id ui = std::this_thread::get_id(), ranOn;
  bool returned = false;
  TBodyThread t([&](TBodyThread* self) {
    returned = self->Synchronize([&] { ranOn = std::this_thread::get_id(); });
    self->SetReturnValue(7);
  });
  int terminated = 0;
  t.OnTerminate = [&](TObject*) {
    EXPECT_EQ(std::this_thread::get_id(), ui);
    ++terminated;
  };
  t.Start();
  EXPECT_EQ(t.WaitFor(), 7) << "waiting on the interface thread runs the hand-over meanwhile";
  EXPECT_EQ(ranOn, ui);
  EXPECT_TRUE(returned);
  EXPECT_EQ(terminated, 1);
}

TEST_F(ControlsTest, SynchronizeRunsInsideANestedModalLoop) {
  TForm* dlg = MakeForm();
  TBodyThread t([&](TBodyThread* self) { self->Synchronize([&] { dlg->SetModalResult(mrYes); }); });
  dlg->OnShow = [&](TObject*) { t.Start(); };
  EXPECT_EQ(dlg->ShowModal(), mrYes);
  t.WaitFor();
}

TEST_F(ControlsTest, CancelledHandOversNeverRun) {
  int owner = 0;  // stands for an object that goes away
  std::atomic<int> ran{0};
  std::atomic<bool> syncResult{true};
  TBodyThread t([&](TBodyThread* self) {
    self->Queue([&] { ran += 100; }, &owner);
    self->Queue([&] { ran += 1; });
    syncResult = self->Synchronize([&] { ran += 10; }, &owner);
  });
  t.Start();
  AwaitPending(3);
  TThread::RemoveQueuedEvents(&owner);
  t.WaitFor();
  EXPECT_EQ(ran, 1) << "only the hand-over of another owner ran";
  EXPECT_FALSE(syncResult) << "the waiting thread learns that its hand-over was cancelled";
}

TEST_F(ControlsTest, QueuedHandOversRunLaterInOrderWithoutBlockingTheThread) {
  std::vector<int> order;
  std::atomic<bool> queued{false};
  TBodyThread t([&](TBodyThread* self) {
    for (int i = 1; i <= 3; ++i) self->Queue([&order, i] { order.push_back(i); });
    queued = true;  // Queue returned at once, nothing ran yet
  });
  t.Start();
  while (!queued) std::this_thread::yield();
  EXPECT_TRUE(order.empty());
  Application->ProcessMessages();
  t.WaitFor();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(ControlsTest, ExceptionsOfHandOversReachTheirThread) {
  String caught;
  TBodyThread t([&](TBodyThread* self) {
    try {
      self->Synchronize([] { throw EInvalidOperation("refused"); });
    } catch (const EInvalidOperation& e) {
      caught = e.what();
    }
    throw EConvertError("from Execute");
  });
  t.Start();
  t.WaitFor();
  EXPECT_EQ(caught, "refused");
  ASSERT_TRUE(t.FatalException());
  EXPECT_THROW(std::rethrow_exception(t.FatalException()), EConvertError);
}

TEST_F(ControlsTest, TerminateEndsAThreadAndFreeOnTerminateFreesIt) {
  TBodyThread t([&](TBodyThread* self) {
    while (!self->Terminated()) std::this_thread::yield();
  });
  t.Start();
  EXPECT_THROW(t.Start(), EInvalidOperation);
  t.Terminate();
  t.WaitFor();
  EXPECT_TRUE(t.Finished());
  int terminated = 0;
  auto* freed = new TBodyThread([](TBodyThread*) {});
  freed->SetFreeOnTerminate(true);
  freed->OnTerminate = [&](TObject*) { ++terminated; };
  freed->Start();
  while (terminated == 0) Application->HandleMessage();
  EXPECT_EQ(terminated, 1);
}
