#pragma once
// TComponent: named objects that own other components and tell each other when one goes away.
//
// An owner frees its components when it is freed, last created first. A component freed on its
// own leaves its owner's list. When a component is freed, its owner, every component of that
// owner (recursively) and every component that asked for a free notification receive
// Notification(component, opRemove), so plain references to it can be cleared.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/enums.h"
#include "platform/core/object.h"

KV_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning,
        csAncestor, csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance)
using TComponentState = TSet<TComponentStateFlag>;

KV_ENUM(TComponentStyleFlag, csInheritable, csCheckPropAvail, csSubComponent, csTransient)
using TComponentStyle = TSet<TComponentStyleFlag>;

KV_ENUM(TOperation, opInsert, opRemove)

class TComponent : public TPersistent {
  KV_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override { return FOwner; }
  String GetNamePath() const override { return FName; }

  const String& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or is taken in the owner.
  virtual void SetName(const String& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  // Case-insensitive search among the directly owned components; null when absent.
  TComponent* FindComponent(const String& AName) const;

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Frees all owned components, last first.
  void DestroyComponents();

  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  void SetSubComponent(bool Value);

  // Loading brackets used by the form reader: csLoading and csReading on, then Loaded.
  void BeginLoading();
  virtual void Loaded();
  // Leaves the loading state without Loaded, after a form description failed to read.
  void CancelLoading();
  void SetDesigning(bool Value, bool SetChildren = true);
  // Sets csDestroying on this component and its owned components.
  void Destroying();

  // The parent-child relation of form descriptions, which differs from ownership for controls:
  // a control is owned by its form but nested in its parent control.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) { (void)Value; }
  // Calls Proc for each component that a form description nests directly in this one, when
  // Root is the component being written: by default the components Root owns that have no parent.
  using TGetChildProc = std::function<void(TComponent*)>;
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root) const;

  // Asks AComponent to tell this component when it is freed (and vice versa).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  void SetComponentState(TComponentStateFlag Flag, bool On);
  TComponentStyle FComponentStyle;

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void NotifyRemoval();
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  String FName;
  intptr_t FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
  bool FRemovalNotified = false;
};

bool IsValidIdent(const String& s);
