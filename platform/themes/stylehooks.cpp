#include "platform/themes/stylehooks.h"

#include <algorithm>

namespace {
struct TRegistration {
  const TClassInfo* Control;
  TStyleHookClass Hook;
};
std::vector<TRegistration>& Registry() {
  static std::vector<TRegistration> registry;
  return registry;
}
}  // namespace

KV_IMPLEMENT_CLASS(TStyleHook) {}

TStyleHook::TStyleHook(TObject* AControl) : FControl(AControl) {}

bool TStyleHook::HandleMessage(TStyleHookMessage& Message) {
  FHandled = false;
  WndProc(Message);
  return FHandled;
}

void TStyleHook::WndProc(TStyleHookMessage&) {}

void TCustomStyleEngine::RegisterStyleHook(const TClassInfo& ControlClass, const TStyleHookClass& StyleHookClass) {
  if (!StyleHookClass.Class || !StyleHookClass.Create)
    throw EInvalidArgument("RegisterStyleHook needs a style hook class");
  auto& r = Registry();
  bool known = std::any_of(r.begin(), r.end(), [&](const TRegistration& x) {
    return x.Control == &ControlClass && x.Hook == StyleHookClass;
  });
  if (known)
    throw EInvalidOperation("style hook " + StyleHookClass.Class->Name() + " is already registered for " + ControlClass.Name());
  r.push_back({&ControlClass, StyleHookClass});
}

void TCustomStyleEngine::UnRegisterStyleHook(const TClassInfo& ControlClass, const TStyleHookClass& StyleHookClass) {
  auto& r = Registry();
  auto it = std::find_if(r.begin(), r.end(), [&](const TRegistration& x) {
    return x.Control == &ControlClass && x.Hook == StyleHookClass;
  });
  if (it != r.end()) r.erase(it);
}

const TStyleHookClass* TCustomStyleEngine::FindStyleHook(const TClassInfo& ControlClass) {
  const auto& r = Registry();
  for (const TClassInfo* c = &ControlClass; c; c = c->Parent())
    for (auto it = r.rbegin(); it != r.rend(); ++it)
      if (it->Control == c) return &it->Hook;
  return nullptr;
}

std::unique_ptr<TStyleHook> TCustomStyleEngine::CreateStyleHook(TObject* Control) {
  if (!Control) return nullptr;
  const TStyleHookClass* hook = FindStyleHook(Control->ClassType());
  return hook ? std::unique_ptr<TStyleHook>(hook->Create(Control)) : nullptr;
}
