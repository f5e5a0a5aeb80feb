#pragma once
// TThread: a thread of execution with hand-overs to the user-interface thread.
//
// A thread created suspended starts with Start; one created running starts once its
// construction is complete (AfterConstruction: create it with New<T>). Execute runs on the
// new thread and should return soon after Terminate set Terminated. OnTerminate runs on the
// user-interface thread after Execute. WaitFor waits for the end; on the user-interface thread
// it keeps running the hand-overs meanwhile, so a thread blocked in Synchronize cannot
// deadlock it.
//
// Hand-overs: Synchronize runs a method on the user-interface thread and waits for it; Queue
// runs one later without waiting. They run whenever the user-interface thread handles messages
// (also inside nested loops: a modal form, a menu, a message box) or calls CheckSynchronize.
// Each hand-over carries an owner (by default the thread); RemoveQueuedEvents(owner) cancels
// those not yet run, so an object going away can make sure nothing runs on it afterwards: a
// cancelled Queue never runs, a cancelled Synchronize returns false to the waiting thread.
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/core/classes.h"

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
public:
  explicit TThread(bool CreateSuspended);
  // Terminates and waits for a running thread (never from the thread itself).
  ~TThread() override;
  void AfterConstruction() override;

  void Start();
  void Terminate();
  bool Terminated() const { return FTerminated.load(); }
  // Waits for Execute and OnTerminate to finish; returns ReturnValue.
  int WaitFor();
  bool Started() const { return FStarted; }
  bool Finished() const { return FFinished.load(); }
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
  int ReturnValue() const { return FReturnValue; }
  void SetReturnValue(int Value) { FReturnValue = Value; }
  // What Execute raised, if anything.
  std::exception_ptr FatalException() const { return FFatalException; }

  // From the thread: runs Method on the user-interface thread and waits. False when it was
  // cancelled; an exception Method raises is raised again here.
  bool Synchronize(TThreadMethod Method, const void* Owner = nullptr);
  // From any thread: runs Method on the user-interface thread later.
  void Queue(TThreadMethod Method, const void* Owner = nullptr);
  // The same for code that is not a TThread (Thread may be null).
  static bool Synchronize(TThread* Thread, TThreadMethod Method, const void* Owner = nullptr);
  static void Queue(TThread* Thread, TThreadMethod Method, const void* Owner = nullptr);
  // Cancels the hand-overs of an owner (or of a thread) that have not run yet.
  static void RemoveQueuedEvents(const void* Owner);
  // The TThread running the calling code, or null.
  static TThread* CurrentThread();

  TNotifyEvent OnTerminate;

protected:
  virtual void Execute() = 0;
  // Runs OnTerminate (on the user-interface thread).
  virtual void DoTerminate();

private:
  void ThreadProc();
  std::thread FThread;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  bool FStarted = false;
  bool FCreateSuspended;
  bool FFreeOnTerminate = false;
  int FReturnValue = 0;
  std::exception_ptr FFatalException;
};

// Runs the waiting hand-overs (user-interface thread only); true when any ran. Timeout:
// milliseconds to wait for one to arrive when none is waiting.
bool CheckSynchronize(int Timeout = 0);
// Number of hand-overs waiting (for tests).
int PendingSynchronizeCount();
