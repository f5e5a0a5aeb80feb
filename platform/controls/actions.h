#pragma once
// Actions: commands with a caption, image, state and handler that several controls share.
//
// TBasicAction runs OnExecute and OnUpdate and tells the links of its clients when it changes.
// TContainedAction sits in an action list; TCustomAction adds Caption, Checked, Enabled, Hint,
// ImageIndex and Visible, which its client controls take over through their action links
// (TControl::Action). TActionList holds actions and the image list their ImageIndex refers to.
#include <vector>

#include "platform/controls/control.h"
#include "platform/graphics/imagelist.h"

class TBasicActionLink;
class TCustomActionList;

class TBasicAction : public TComponent {
  KV_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;

  // Runs the action; true when something handled it.
  virtual bool Execute();
  // Asks OnUpdate to refresh the action's state; true when it is assigned.
  virtual bool Update();
  // The control that ran the action last.
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value);
  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  int ClientCount() const { return static_cast<int>(FClients.size()); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  // Tells every client link that the action changed.
  void Change();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::vector<TBasicActionLink*> FClients;

private:
  TComponent* FActionComponent = nullptr;
};

class TContainedAction : public TBasicAction {
  KV_CLASS(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TContainedAction() override;

  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  const String& Category() const { return FCategory; }
  void SetCategory(const String& Value) { FCategory = Value; }
  int Index() const;
  void SetIndex(int Value);
  bool Execute() override;
  bool Update() override;

  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  String FCategory;
};

class TCustomAction : public TContainedAction {
  KV_CLASS(TCustomAction, TContainedAction)
public:
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Actions of one list with the same group index > 0 are checked one at a time.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // Executing toggles Checked.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool Execute() override;

private:
  String FCaption, FHint;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FAutoCheck = false;
  int FImageIndex = -1;
  int FGroupIndex = 0;
};

class TAction : public TCustomAction {
  KV_CLASS(TAction, TCustomAction)
public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

using TActionEvent = TEvent<TBasicAction*, bool&>;

class TCustomActionList : public TComponent {
  KV_CLASS(TCustomActionList, TComponent)
public:
  explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TCustomActionList() override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TContainedAction* Actions(int Index) const;
  // The list's OnExecute may handle an action first; true when it did.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TContainedAction;
  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
  KV_CLASS(TActionList, TCustomActionList)
public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// The connection from a client (a control) to its action.
class TBasicActionLink : public TObject {
public:
  explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
  ~TBasicActionLink() override;
  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  // Runs the action for AComponent (the client that was used).
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  TObject* Client() const { return FClient; }
  // Called when the action changed.
  TNotifyEvent OnChange;

protected:
  friend class TBasicAction;
  virtual void Change() { OnChange(FAction); }
  TBasicAction* FAction = nullptr;
  TObject* FClient;
};

// Passes the properties of a TCustomAction to the client as they change.
class TActionLink : public TBasicActionLink {
public:
  using TBasicActionLink::TBasicActionLink;
  virtual bool IsCaptionLinked() const;
  virtual bool IsCheckedLinked() const;
  virtual bool IsEnabledLinked() const;
  virtual bool IsHintLinked() const;
  virtual bool IsImageIndexLinked() const;
  virtual bool IsVisibleLinked() const;
  virtual bool IsOnExecuteLinked() const;
  virtual void SetCaption(const String& Value) { (void)Value; }
  virtual void SetChecked(bool Value) { (void)Value; }
  virtual void SetEnabled(bool Value) { (void)Value; }
  virtual void SetHint(const String& Value) { (void)Value; }
  virtual void SetImageIndex(int Value) { (void)Value; }
  virtual void SetVisible(bool Value) { (void)Value; }
  virtual void SetOnExecute(const TNotifyEvent& Value) { (void)Value; }

protected:
  TCustomAction* CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }
};

class TControlActionLink : public TActionLink {
public:
  explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), FControl(AClient) {}
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const String& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const String& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

protected:
  TControl* FControl;
};
