#pragma once
// Internal links between the parts of the controls layer. Not for users of the layer.
#include <exception>

class TObject;
class TControl;
class TComponent;

namespace kvctl {
// The application forgets a control that is going away (pointer tracking, hints, capture).
void ControlDestroying(TControl* Control);
// Reports the exception being handled through the application (never lets it escape).
void HandleCurrentException(TObject* Sender);
// Runs fn; an exception it raises is reported through the application.
template <class F>
void Guarded(TObject* Sender, F&& fn) {
  try {
    fn();
  } catch (...) {
    HandleCurrentException(Sender);
  }
}
// Marks a component as busy while the framework runs its handlers, so that a deferred free
// (TApplication::ReleaseComponent) waits until they returned.
class TBusyScope {
public:
  explicit TBusyScope(TComponent* Component);
  ~TBusyScope();
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

private:
  TComponent* FComponent;
};
// Every control that exists is known, so that an announcement reaches all of them (a change
// of the look: CM_STYLECHANGED once to each control after every switch of the style manager).
void ControlCreated(TControl* Control);
void ControlGone(TControl* Control);
// The pointer moved or windows changed: the control under it may be another one.
void UpdateMouseControl();
// The window of Parent lost the mouse capture: a windowless child no longer holds it.
void CaptureLost(TControl* Parent);
}  // namespace kvctl
