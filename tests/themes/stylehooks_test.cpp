#include <gtest/gtest.h>

#include "platform/themes/stylehooks.h"

namespace {
class TBaseControl : public TComponent {
  KV_CLASS(TBaseControl, TComponent)
public:
  using TComponent::TComponent;
};
class TDerivedControl : public TBaseControl {
  KV_CLASS(TDerivedControl, TBaseControl)
public:
  using TBaseControl::TBaseControl;
};
class TOtherControl : public TComponent {
  KV_CLASS(TOtherControl, TComponent)
public:
  using TComponent::TComponent;
};

// Handles paint messages and counts what it sees.
class TPaintHook : public TStyleHook {
  KV_CLASS(TPaintHook, TStyleHook)
public:
  using TStyleHook::TStyleHook;
  int Seen = 0;

protected:
  void WndProc(TStyleHookMessage& m) override {
    ++Seen;
    if (m.Msg == 0x000F) {
      m.Result = 42;
      SetHandled(true);
    }
  }
};
class TOtherHook : public TStyleHook {
  KV_CLASS(TOtherHook, TStyleHook)
public:
  using TStyleHook::TStyleHook;
};

class StyleHooksTest : public testing::Test {
protected:
  ~StyleHooksTest() override {
    TCustomStyleEngine::UnRegisterStyleHook<TBaseControl, TPaintHook>();
    TCustomStyleEngine::UnRegisterStyleHook<TDerivedControl, TOtherHook>();
  }
};
}  // namespace

KV_IMPLEMENT_CLASS(TBaseControl) {}
KV_IMPLEMENT_CLASS(TDerivedControl) {}
KV_IMPLEMENT_CLASS(TOtherControl) {}
KV_IMPLEMENT_CLASS(TPaintHook) {}
KV_IMPLEMENT_CLASS(TOtherHook) {}

TEST_F(StyleHooksTest, AControlGetsTheHookOfItsNearestRegisteredAncestor) {
  TCustomStyleEngine::RegisterStyleHook<TBaseControl, TPaintHook>();
  EXPECT_EQ(TCustomStyleEngine::FindStyleHook(TDerivedControl::StaticClass())->Class, &TPaintHook::StaticClass());
  EXPECT_EQ(TCustomStyleEngine::FindStyleHook(TOtherControl::StaticClass()), nullptr);

  TCustomStyleEngine::RegisterStyleHook<TDerivedControl, TOtherHook>();
  EXPECT_EQ(TCustomStyleEngine::FindStyleHook(TDerivedControl::StaticClass())->Class, &TOtherHook::StaticClass());
  EXPECT_EQ(TCustomStyleEngine::FindStyleHook(TBaseControl::StaticClass())->Class, &TPaintHook::StaticClass());

  TCustomStyleEngine::UnRegisterStyleHook<TDerivedControl, TOtherHook>();
  EXPECT_EQ(TCustomStyleEngine::FindStyleHook(TDerivedControl::StaticClass())->Class, &TPaintHook::StaticClass());
  TCustomStyleEngine::UnRegisterStyleHook<TBaseControl, TOtherHook>();  // not registered: nothing happens
  TCustomStyleEngine::UnRegisterStyleHook<TBaseControl, TPaintHook>();
  EXPECT_EQ(TCustomStyleEngine::FindStyleHook(TDerivedControl::StaticClass()), nullptr);
}

TEST_F(StyleHooksTest, RegisteringThePairTwiceIsRefused) {
  TCustomStyleEngine::RegisterStyleHook<TBaseControl, TPaintHook>();
  try {
    TCustomStyleEngine::RegisterStyleHook<TBaseControl, TPaintHook>();
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "style hook TPaintHook is already registered for TBaseControl");
  }
}

TEST_F(StyleHooksTest, EachControlGetsItsOwnHookThatSeesMessagesFirst) {
  TCustomStyleEngine::RegisterStyleHook<TBaseControl, TPaintHook>();
  TDerivedControl a(nullptr), b(nullptr);
  TOtherControl other(nullptr);
  std::unique_ptr<TStyleHook> ha = TCustomStyleEngine::CreateStyleHook(&a);
  std::unique_ptr<TStyleHook> hb = TCustomStyleEngine::CreateStyleHook(&b);
  ASSERT_TRUE(ha && hb);
  EXPECT_NE(ha.get(), hb.get());
  EXPECT_EQ(ha->Control(), &a);
  EXPECT_EQ(TCustomStyleEngine::CreateStyleHook(&other), nullptr);
  EXPECT_EQ(TCustomStyleEngine::CreateStyleHook(nullptr), nullptr);

  TStyleHookMessage paint{0x000F, 0, 0, 0};
  EXPECT_TRUE(ha->HandleMessage(paint));
  EXPECT_EQ(paint.Result, 42);
  TStyleHookMessage move{0x0200, 0, 0, 0};
  EXPECT_FALSE(ha->HandleMessage(move));  // the handled mark does not stick to the next message
  EXPECT_EQ(static_cast<TPaintHook*>(ha.get())->Seen, 2);
  EXPECT_EQ(static_cast<TPaintHook*>(hb.get())->Seen, 0);
}
