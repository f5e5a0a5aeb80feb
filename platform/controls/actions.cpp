#include "platform/controls/actions.h"

#include <algorithm>

#include "platform/controls/application.h"

KV_IMPLEMENT_CLASS(TBasicAction) {
  r.Event("OnExecute", &TBasicAction::OnExecute);
  r.Event("OnUpdate", &TBasicAction::OnUpdate);
}
KV_IMPLEMENT_CLASS(TContainedAction) {
  r.Prop("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}
KV_IMPLEMENT_CLASS(TCustomAction) {}
KV_IMPLEMENT_CLASS(TAction) {
  r.Prop("Caption", &TAction::Caption, &TAction::SetCaption);
  r.Prop("Checked", &TAction::Checked, &TAction::SetChecked, false);
  r.Prop("Enabled", &TAction::Enabled, &TAction::SetEnabled, true);
  r.Prop("Hint", &TAction::Hint, &TAction::SetHint);
  r.Prop("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex, -1);
  r.Prop("Visible", &TAction::Visible, &TAction::SetVisible, true);
  r.Prop("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex, 0);
  r.Prop("AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck, false);
}
KV_IMPLEMENT_CLASS(TCustomActionList) {}
KV_IMPLEMENT_CLASS(TActionList) {
  r.Prop("Images", &TActionList::Images, &TActionList::SetImages);
  r.Event("OnExecute", &TActionList::OnExecute);
  r.Event("OnUpdate", &TActionList::OnUpdate);
  r.Event("OnChange", &TActionList::OnChange);
}

// ---- TBasicAction ----

TBasicAction::~TBasicAction() {
  // Clients forget the action before it goes.
  std::vector<TBasicActionLink*> clients = FClients;
  for (TBasicActionLink* l : clients) l->FAction = nullptr;
  FClients.clear();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::SetActionComponent(TComponent* Value) {
  if (FActionComponent == Value) return;
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
}

void TBasicAction::Change() {
  std::vector<TBasicActionLink*> clients = FClients;
  for (TBasicActionLink* l : clients)
    if (std::find(FClients.begin(), FClients.end(), l) != FClients.end()) l->Change();
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

// ---- TContainedAction ----

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) {
    auto& l = FActionList->FActions;
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    FActionList->OnChange(FActionList);
  }
  FActionList = Value;
  if (Value) {
    Value->FActions.push_back(this);
    Value->OnChange(Value);
  }
}

int TContainedAction::Index() const {
  if (!FActionList) return -1;
  auto& l = FActionList->FActions;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TContainedAction::SetIndex(int Value) {
  int cur = Index();
  if (cur < 0 || cur == Value) return;
  auto& l = FActionList->FActions;
  Value = std::clamp(Value, 0, static_cast<int>(l.size()) - 1);
  l.erase(l.begin() + cur);
  l.insert(l.begin() + Value, this);
}

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
  else if (!Value) SetActionList(nullptr);
  else throw EInvalidOperation("Action '" + Name() + "' cannot be put inside a " + Value->ClassName());
}

bool TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  if (Application && Application->ExecuteAction(this)) return true;
  return inherited::Execute();
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  if (Application && Application->UpdateAction(this)) return true;
  return inherited::Update();
}

// ---- TCustomAction ----

void TCustomAction::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  for (TBasicActionLink* l : FClients)
    if (auto* al = dynamic_cast<TActionLink*>(l)) al->SetCaption(Value);
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  // One checked action per group of a list.
  if (Value && FGroupIndex > 0 && ActionList())
    for (int i = 0; i < ActionList()->ActionCount(); ++i) {
      auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
      if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
    }
  for (TBasicActionLink* l : FClients)
    if (auto* al = dynamic_cast<TActionLink*>(l)) al->SetChecked(Value);
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  for (TBasicActionLink* l : FClients)
    if (auto* al = dynamic_cast<TActionLink*>(l)) al->SetEnabled(Value);
  Change();
}

void TCustomAction::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  for (TBasicActionLink* l : FClients)
    if (auto* al = dynamic_cast<TActionLink*>(l)) al->SetHint(Value);
  Change();
}

void TCustomAction::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  for (TBasicActionLink* l : FClients)
    if (auto* al = dynamic_cast<TActionLink*>(l)) al->SetImageIndex(Value);
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  for (TBasicActionLink* l : FClients)
    if (auto* al = dynamic_cast<TActionLink*>(l)) al->SetVisible(Value);
  Change();
}

void TCustomAction::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked && Value > 0 && ActionList())
    for (int i = 0; i < ActionList()->ActionCount(); ++i) {
      auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
      if (other && other != this && other->FGroupIndex == Value) other->SetChecked(false);
    }
}

bool TCustomAction::Execute() {
  if (!FEnabled) return false;
  if (FAutoCheck && !(FChecked && FGroupIndex > 0)) SetChecked(!FChecked);
  return inherited::Execute();
}

// ---- TCustomActionList ----

TCustomActionList::~TCustomActionList() {
  std::vector<TContainedAction*> actions = FActions;
  for (TContainedAction* a : actions) a->FActionList = nullptr;
  FActions.clear();
}

TContainedAction* TCustomActionList::Actions(int Index) const {
  if (Index < 0 || Index >= ActionCount()) throw EListError("Action index out of bounds (" + IntToStr(Index) + ")");
  return FActions[static_cast<size_t>(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  // Clients that show the actions' images see the new list.
  std::vector<TContainedAction*> actions = FActions;
  for (TContainedAction* a : actions) a->Change();
  OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool handled = false;
  if (OnExecute) OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(Action, handled);
  return handled;
}

void TCustomActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  for (TContainedAction* a : FActions)
    if (a->Owner() == Root) Proc(a);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  auto it = std::find(FActions.begin(), FActions.end(), AComponent);
  if (it != FActions.end()) {
    (*it)->FActionList = nullptr;
    FActions.erase(it);
  }
}

// ---- links ----

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (Value) Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  bool r;
  try {
    r = FAction->Execute();
  } catch (...) {
    if (FAction) FAction->SetActionComponent(nullptr);
    throw;
  }
  if (FAction) FAction->SetActionComponent(nullptr);
  return r;
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

bool TActionLink::IsCaptionLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsOnExecuteLinked() const { return FAction != nullptr; }

bool TControlActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && FControl->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FControl->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && FControl->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FControl->Visible() == CustomAction()->Visible();
}
bool TControlActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && FControl->OnClick == FAction->OnExecute;
}
// A control property follows the action while it still shows the action's value.
void TControlActionLink::SetCaption(const String& Value) {
  if (CustomAction()) FControl->SetCaption(Value);
}
void TControlActionLink::SetEnabled(bool Value) {
  if (CustomAction()) FControl->SetEnabled(Value);
}
void TControlActionLink::SetHint(const String& Value) {
  if (CustomAction()) FControl->SetHint(Value);
}
void TControlActionLink::SetVisible(bool Value) {
  if (CustomAction()) FControl->SetVisible(Value);
}
void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FControl->OnClick = Value;
}
