#include "platform/core/component.h"

#include <algorithm>

#include "platform/core/classes.h"
#include "platform/core/exceptions.h"

KV_IMPLEMENT_CLASS(TComponent) {
  r.Prop("Name", &TComponent::Name, &TComponent::SetName);
  r.Prop("Tag", &TComponent::Tag, &TComponent::SetTag, intptr_t{0});
}

bool IsValidIdent(const String& s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(s[0])) return false;
  for (char c : s)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
  Destroying();
  NotifyRemoval();
}

TComponent::~TComponent() {
  Destroying();
  NotifyRemoval();
  DestroyComponents();
  if (FOwner) FOwner->Remove(this);
}

void TComponent::NotifyRemoval() {
  if (FRemovalNotified) return;
  FRemovalNotified = true;
  // Components that asked to be told. Each removes itself from our list in its handler.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& theirs = c->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
  // The owner and everything it owns.
  if (FOwner) FOwner->Notification(this, opRemove);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
  (void)CurName;
  if (AComponent && !NewName.empty() && !SameText(CurName, NewName)) {
    TComponent* existing = FindComponent(NewName);
    if (existing && existing != AComponent)
      throw EComponentError("A component named " + NewName + " already exists");
  }
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner) FOwner->ValidateRename(this, FName, NewName);
  else ValidateRename(nullptr, FName, NewName);
  FName = NewName;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent) return;
  ValidateRename(AComponent, "", AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    // Announce first, while the component is whole and still listed.
    c->BeforeDestruction();
    if (!FComponents.empty() && FComponents.back() == c) {
      FComponents.pop_back();
      c->FOwner = nullptr;
    }
    delete c;
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) {
    RemoveFreeNotification(AComponent);
    // Published fields (a form's pointers to its components) forget the component.
    ClassType().ForEachField([&](const TFieldInfo& f) {
      if (f.Get(this) == AComponent) f.Set(this, nullptr);
    });
  }
  // Iterate over a copy: a handler may free components of ours.
  std::vector<TComponent*> list = FComponents;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    TComponent* c = *it;
    if (c == AComponent) continue;
    if (std::find(FComponents.begin(), FComponents.end(), c) == FComponents.end()) continue;
    c->Notification(AComponent, Operation);
  }
}

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  if (Root != this) return;
  for (TComponent* c : FComponents)
    if (!c->HasParent()) Proc(c);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (FOwner == nullptr || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
      FFreeNotifies.push_back(AComponent);
    auto& theirs = AComponent->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
}

void TComponent::SetComponentState(TComponentStateFlag Flag, bool On) {
  if (On) FComponentState.Include(Flag);
  else FComponentState.Exclude(Flag);
}

void TComponent::SetSubComponent(bool Value) {
  if (Value) FComponentStyle.Include(csSubComponent);
  else FComponentStyle.Exclude(csSubComponent);
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  FComponentState.Include(csReading);
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
  FComponentState.Exclude(csReading);
}

void TComponent::CancelLoading() {
  FComponentState.Exclude(csLoading);
  FComponentState.Exclude(csReading);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  SetComponentState(csDesigning, Value);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}
