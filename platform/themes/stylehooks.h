#pragma once
// Style hooks: an object attached to one control that sees the control's messages before the
// control does and may mark them handled, so that a style can take over how a kind of control
// paints and reacts. Hook classes are registered per control class; a control gets the hook of
// its own class or, failing that, of its nearest ancestor class that has one.
//
// The controls layer creates one hook per control (TCustomStyleEngine::CreateStyleHook) and
// passes each message through TStyleHook::HandleMessage first. The hook bases that need a
// windowed control (the mouse-tracking, scrolling, scroll-bar, extended combo box and list view
// hooks) belong to that layer and derive from TStyleHook.
#include <memory>
#include <vector>

#include "platform/core/classes.h"
#include "platform/windows/wintypes.h"

// A message as a hook sees it; Result is the answer when the hook handles it.
struct TStyleHookMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

class TStyleHook : public TObject {
  KV_CLASS(TStyleHook, TObject)
public:
  explicit TStyleHook(TObject* AControl);

  TObject* Control() const { return FControl; }
  // The control's window, once it has one (the controls layer sets it).
  HWND Handle() const { return FHandle; }
  void SetHandle(HWND Value) { FHandle = Value; }
  bool Handled() const { return FHandled; }
  void SetHandled(bool Value) { FHandled = Value; }

  // Runs the hook on a message; true when the hook handled it (the control then does not see
  // it and Message.Result is the answer).
  bool HandleMessage(TStyleHookMessage& Message);

protected:
  // Where hooks do their work: set Handled (and Message.Result) to keep a message from the
  // control. This base handles nothing.
  virtual void WndProc(TStyleHookMessage& Message);

private:
  TObject* FControl;
  HWND FHandle = nullptr;
  bool FHandled = false;
};

// A hook class: its class information and how to make one for a control.
struct TStyleHookClass {
  const TClassInfo* Class = nullptr;
  TStyleHook* (*Create)(TObject* Control) = nullptr;
  bool operator==(const TStyleHookClass& o) const { return Class == o.Class; }
};
template <class H>
TStyleHookClass StyleHookClassOf() {
  static_assert(std::is_base_of_v<TStyleHook, H>, "a style hook derives from TStyleHook");
  return {&H::StaticClass(), [](TObject* control) -> TStyleHook* { return new H(control); }};
}

class TCustomStyleEngine {
public:
  TCustomStyleEngine() = delete;

  // Attaches a hook class to a control class. Several hook classes may be registered for one
  // control class; the last registered one is used. Registering the same pair twice raises
  // EInvalidOperation.
  static void RegisterStyleHook(const TClassInfo& ControlClass, const TStyleHookClass& StyleHookClass);
  // Detaches it; nothing happens when the pair is not registered.
  static void UnRegisterStyleHook(const TClassInfo& ControlClass, const TStyleHookClass& StyleHookClass);
  template <class C, class H>
  static void RegisterStyleHook() { RegisterStyleHook(C::StaticClass(), StyleHookClassOf<H>()); }
  template <class C, class H>
  static void UnRegisterStyleHook() { UnRegisterStyleHook(C::StaticClass(), StyleHookClassOf<H>()); }

  // The hook class for a control class, through its ancestors; null when there is none.
  static const TStyleHookClass* FindStyleHook(const TClassInfo& ControlClass);
  // A new hook for the control, or null when its class has none.
  static std::unique_ptr<TStyleHook> CreateStyleHook(TObject* Control);
};
