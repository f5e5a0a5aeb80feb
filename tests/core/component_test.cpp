#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/classes.h"

namespace {
std::vector<std::string>* gFreed = nullptr;

class TTracked : public TComponent {
  KV_CLASS(TTracked, TComponent)
public:
  explicit TTracked(TComponent* AOwner) : TComponent(AOwner) {}
  ~TTracked() override {
    if (gFreed) gFreed->push_back(Name());
  }
};

// Holds a plain reference to another component, cleared by the remove notification.
class TReferrer : public TComponent {
  KV_CLASS(TReferrer, TComponent)
public:
  explicit TReferrer(TComponent* AOwner) : TComponent(AOwner) {}
  TComponent* Ref() const { return FRef; }
  void SetRef(TComponent* Value) {
    if (FRef == Value) return;
    if (FRef) FRef->RemoveFreeNotification(this);
    FRef = Value;
    if (FRef) FRef->FreeNotification(this);
  }
  int Removals = 0;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FRef) {
      FRef = nullptr;
      ++Removals;
    }
  }

private:
  TComponent* FRef = nullptr;
};
}  // namespace

KV_IMPLEMENT_CLASS(TTracked) {}
KV_IMPLEMENT_CLASS(TReferrer) {}

TEST(Component, FreeingAReferencedComponentClearsEveryReference) {
  TComponent form(nullptr);
  auto* images = new TTracked(&form);
  auto* sameOwner = new TReferrer(&form);
  sameOwner->SetRef(images);
  TComponent otherForm(nullptr);
  auto* otherOwner = new TReferrer(&otherForm);
  otherOwner->SetRef(images);
  TReferrer unowned(nullptr);
  unowned.SetRef(images);

  Free(images);
  EXPECT_EQ(sameOwner->Ref(), nullptr);
  EXPECT_EQ(otherOwner->Ref(), nullptr);
  EXPECT_EQ(unowned.Ref(), nullptr);
  EXPECT_EQ(sameOwner->Removals, 1);  // told once, not once per route
  EXPECT_EQ(otherOwner->Removals, 1);
  EXPECT_EQ(form.ComponentCount(), 1);  // images left its owner's list
}

TEST(Component, OwnerFreesLastCreatedFirstAndReferencesSurviveNothing) {
  std::vector<std::string> freed;
  gFreed = &freed;
  {
    TComponent owner(nullptr);
    for (const char* n : {"A", "B", "C"}) (new TTracked(&owner))->SetName(n);
    Free(owner.FindComponent("b"));  // case-insensitive search
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(1)->Name(), "C");
    freed.clear();
  }
  EXPECT_EQ(freed, (std::vector<std::string>{"C", "A"}));
  gFreed = nullptr;

  // A referrer freed before its target unregisters, so the target's later removal is harmless.
  TComponent target(nullptr);
  {
    TReferrer r(nullptr);
    r.SetRef(&target);
  }
  SUCCEED();
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
  TComponent owner(nullptr);
  auto* a = new TTracked(&owner);
  a->SetName("Button1");
  auto* b = new TTracked(&owner);
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  EXPECT_THROW(b->SetName("1Button"), EComponentError);
  EXPECT_THROW(b->SetName("Bad Name"), EComponentError);
  EXPECT_EQ(b->Name(), "");
  b->SetName("Button2");
  EXPECT_EQ(owner.FindComponent("BUTTON2"), b);
  a->SetName("BUTTON1");  // renaming to itself in another case is fine
  EXPECT_EQ(a->ComponentIndex(), 0);
  EXPECT_EQ(a->ClassName(), "TTracked");
  EXPECT_TRUE(a->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(a->InheritsFrom(TReferrer::StaticClass()));
}

TEST(Component, LoadingStateAndDestroyingFlags) {
  TComponent owner(nullptr);
  auto* c = new TTracked(&owner);
  owner.BeginLoading();
  EXPECT_TRUE(owner.ComponentState().Contains(csLoading));
  owner.Loaded();
  EXPECT_FALSE(owner.ComponentState().Contains(csLoading));
  owner.Destroying();
  EXPECT_TRUE(c->ComponentState().Contains(csDestroying));
}
