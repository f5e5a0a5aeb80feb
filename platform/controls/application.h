#pragma once
// TApplication: the message loop, message hooks, exceptions, hints, the main form and deferred
// destruction.
//
// The loop (ProcessMessage) takes one message and offers it, before anything else happens to
// it, to the message hooks (newest first) and to OnMessage; a hook answering true swallows it.
// Then the pointer tracking (CM_MOUSEENTER / CM_MOUSELEAVE for the control under the pointer,
// also while another control holds the capture) and hints see it, key messages go to the
// focused control as CN_ messages (dialog keys, accelerators), and only then is it translated
// (WM_KEYDOWN makes WM_CHAR) and dispatched. A hook that swallows a key therefore also keeps
// its character from being typed.
//
// Nested loops (ShowModal, a pop-up menu, a message box) run the same loop, so hooks, thread
// hand-overs (TThread::Synchronize), timers and deferred frees work inside them too.
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/controltypes.h"
#include "platform/controls/messages.h"
#include "platform/core/component.h"
#include "platform/windows/wintypes.h"

class TCustomForm;
class TControl;
class TWinControl;
class TBasicAction;
class THintWindow;
class TTimer;
struct THintInfo;

using TMessageEvent = TEvent<MSG&, bool&>;
using TExceptionEvent = TEvent<TObject*, const std::exception&>;
using TIdleEvent = TEvent<TObject*, bool&>;
using TShowHintEvent = TEvent<String&, bool&, THintInfo&>;
// A message hook: returns true to swallow the message (it is neither translated nor
// dispatched). It may also change the message (Msg.message = WM_NULL).
using TMessageHook = std::function<bool(MSG&)>;

// What CM_HINTSHOW receives (LParam): a control may change the text, place and colours, or
// answer non-zero to show no hint.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;         // screen position of the hint window
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;       // the hint hides when the pointer leaves it (client coordinates)
  TPoint CursorPos;       // client coordinates of the pointer
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  String HintStr;
};

class TApplication : public TComponent {
  KV_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize();
  // Creates a form owned by the application: Reference is set before the form's OnCreate
  // runs, the first form becomes MainForm, and the form is registered as a global root so that
  // other form descriptions can refer to its components ("MainForm.ImageList1").
  template <class T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    FormCreated(form);
    try {
      form->AfterConstruction();
    } catch (...) {
      Reference = nullptr;
      Free(form);
      throw;
    }
  }
  // Shows the main form and runs the loop until the application terminates (the main form
  // closed, or Terminate). The forms the application owns are freed before Run returns.
  void Run();
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Handles one message, or idles (and waits) when there is none.
  void HandleMessage();
  // Takes and handles one message; false when none was waiting.
  bool ProcessMessage(MSG& Msg);
  void Terminate();
  bool Terminated() const { return FTerminated; }

  TCustomForm* MainForm() const { return FMainForm; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  // A hidden window of the application (thread hand-overs arrive there).
  HWND Handle();
  bool Active() const { return FActive; }
  // Nested modal loops running now.
  int ModalLevel() const { return FModalLevel; }
  void ModalStarted() { ++FModalLevel; }
  void ModalFinished() { if (FModalLevel > 0) --FModalLevel; }

  // ---- hooks ----
  // Installs a hook (see TMessageHook); returns its number for RemoveMessageHook. Hooks are
  // kept in a list, newest first, each removed by its own number, so hooks of nested pop-ups
  // may be removed in any order. An exclusive hook hides the messages from the older hooks
  // and from OnMessage while it is installed.
  int AddMessageHook(TMessageHook Hook, bool Exclusive = false);
  void RemoveMessageHook(int Id);
  int MessageHookCount() const { return static_cast<int>(FHooks.size()); }

  // ---- exceptions ----
  // Reports the exception being handled (call inside a catch): OnException, else
  // ShowException. Never raises.
  void HandleException(TObject* Sender);
  // Shows the message of an exception in a message box (on the headless back end it is
  // written to the standard error stream instead, so that no test waits on a box).
  void ShowException(const std::exception& E);

  // ---- hints ----
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = std::max(Value, 0); }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = std::max(Value, 0); }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  // The hint of the control under the pointer (OnHint fires when it changes).
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  // Shows the hint of the control under the pointer now.
  void ActivateHint(TPoint CursorPos);
  void CancelHint();
  THintWindow* HintWindow() const { return FHintWindow.get(); }
  // The control the pointer is over (null when none of ours).
  TControl* MouseControl() const { return FMouseControl; }

  // ---- deferred destruction ----
  // Frees the component once every handler of it (and of what it contains) that runs now has
  // returned: after the current message when called from the component's own handler. Freed
  // otherwise in between, it is simply forgotten.
  void ReleaseComponent(TComponent* AComponent);
  int PendingReleaseCount() const { return static_cast<int>(FPendingFree.size()); }

  // ---- actions ----
  bool ExecuteAction(TBasicAction* Action);
  bool UpdateAction(TBasicAction* Action);

  // A message box in the framework's look (see dialogs.h); returns IDOK, IDYES, ...
  int MessageBox(const String& Text, const String& Caption, UINT Flags);

  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  // Internal: the framework's bookkeeping.
  void FormCreated(TCustomForm* Form);
  void ControlDestroying(TControl* Control);
  // The pointer is at ScreenPos: tells the controls it left and entered.
  void UpdateMouseControl(TPoint ScreenPos);
  // Frees the released components nobody is busy with.
  void FreeReleased();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  struct THook {
    int Id;
    TMessageHook Hook;
    bool Exclusive;
  };
  bool RunHooks(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  void IsHintMsg(const MSG& Msg);
  void Idle();
  void WndProc(TMessage& Message);
  void HintTimerExpired();
  void StartHintTimer(int Delay, bool Showing);
  void StopHintTimer();

  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FShowMainForm = true;
  bool FActive = true;
  String FTitle;
  HWND FHandle = nullptr;
  int FModalLevel = 0;
  std::vector<THook> FHooks;
  int FNextHookId = 1;
  std::vector<TComponent*> FPendingFree;
  bool FFreeing = false;
  // Pointer tracking.
  TControl* FMouseControl = nullptr;
  HWND FTrackedWindow = nullptr;
  bool FTrackedNonClient = false;
  // Hints.
  bool FShowHint = true;
  int FHintPause = 500;
  int FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  String FHint;
  std::unique_ptr<THintWindow> FHintWindow;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect;
  UINT_PTR FHintTimer = 0;
  bool FHintShowing = false;
};

extern TApplication* Application;

// A hidden window whose messages go to Method (timers and hand-overs use them).
HWND AllocateHWnd(std::function<void(TMessage&)> Method);
void DeallocateHWnd(HWND Wnd);
