// The glow settings: reading rules in the three looks, change announcements, assignment,
// per-state parameters and form descriptions.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "kv/kvControls/kvGlowEffect.h"
#include "kv/kvUtils/kvColors.h"
#include "platform/graphics/font.h"
#include "platform/streaming/formreader.h"
#include "platform/themes/stylemanager.h"

namespace {
enum TLook { lkNative, lkClassic, lkCustom };

// Every test leaves the native look active.
struct GlowEffectTest : testing::Test {
  static void Use(TLook look) {
    TStyleManager::SetClassicLook(look == lkClassic);
    TStyleManager::SetStyle(look == lkCustom ? String("Glossy") : String(TStyleManager::SystemStyleName));
  }
  ~GlowEffectTest() override { Use(lkNative); }
};

// Published properties by name, as text (events left out).
std::map<String, String> Published(const TObject& o) {
  std::map<String, String> m;
  for (const TPropInfo* p : o.ClassType().Properties())
    if (p->Kind != tkMethod) m[p->Name] = GetPropText(&o, p->Name);
  return m;
}

struct TCounter {
  int Count = 0;
  explicit TCounter(TkvGlowEffect& e) {
    e.OnChange = TNotifyEvent([this](TObject* sender) {
      EXPECT_NE(sender, nullptr);
      ++Count;
    });
  }
};

void SetAllCommon(TkvGlowEffect& e) {
  e.SetEnabled(true);
  e.SetColor(clRed);
  e.SetAlphaValue(99);
  e.SetGlowSize(3);
  e.SetIntensive(false);
  e.SetOffset(2);
  e.SetStyleColors(false);
}

void SetAllOwn(TkvButtonGlowEffect& e) {
  e.SetHotColor(clBlue);
  e.SetPressedColor(clLime);
  e.SetFocusedColor(clYellow);
  e.SetPressedAlphaValue(77);
  e.SetPressedGlowSize(11);
  e.SetStates(TkvsCtrlStates{kvsNormal, kvsDisabled});
}
}  // namespace

TEST_F(GlowEffectTest, DefaultsAreRegisteredAndNotWritten) {
  TkvButtonGlowEffect e;
  const std::map<String, String> expected = {
      {"Enabled", "False"},         {"Color", "clHighlight"},    {"AlphaValue", "255"},
      {"GlowSize", "7"},            {"Intensive", "True"},       {"Offset", "0"},
      {"StyleColors", "True"},      {"HotColor", "clNone"},      {"PressedColor", "clNone"},
      {"FocusedColor", "clNone"},   {"PressedAlphaValue", "255"}, {"PressedGlowSize", "7"},
      {"States", "[kvsHot, kvsPressed, kvsFocused]"}};
  EXPECT_EQ(Published(e), expected);
  for (const TPropInfo* p : e.ClassType().Properties())
    if (p->Kind != tkMethod) {
      ASSERT_TRUE(p->Default.has_value()) << p->Name;
      EXPECT_EQ(*p->Default, GetPropValue(&e, p->Name).Ordinal) << p->Name;
    }
  EXPECT_THROW(SetPropText(&e, "GlowSize", "256"), EPropertyError) << "sizes are bytes";
}

TEST_F(GlowEffectTest, ClassicLookTonesDownTheHighlightGlow) {
  struct Case {
    TLook look;
    TColor color;
    uint8_t stored, read;
  };
  const Case alpha[] = {
      {lkClassic, clHighlight, 255, 175}, {lkClassic, clHighlight, 171, 91}, {lkClassic, clHighlight, 170, 170},
      {lkClassic, clRed, 255, 255},       {lkNative, clHighlight, 255, 255}, {lkCustom, clHighlight, 255, 255},
  };
  const Case pressed[] = {
      {lkClassic, clHighlight, 255, 205}, {lkClassic, clHighlight, 201, 151}, {lkClassic, clHighlight, 200, 200},
      {lkClassic, clNone, 255, 255},      {lkNative, clHighlight, 255, 255},  {lkCustom, clHighlight, 255, 255},
  };
  for (const Case& c : alpha) {
    Use(c.look);
    TkvButtonGlowEffect e;
    e.SetColor(c.color);
    e.SetAlphaValue(c.stored);
    EXPECT_EQ(e.AlphaValue(), c.read) << "look " << c.look << " alpha " << int(c.stored);
    EXPECT_EQ(e.StoredAlphaValue(), c.stored);
    EXPECT_EQ(GetPropText(&e, "AlphaValue"), std::to_string(c.stored)) << "the published value is the stored one";
  }
  for (const Case& c : pressed) {
    Use(c.look);
    TkvButtonGlowEffect e;
    e.SetPressedColor(c.color);  // the pressed rule looks at the pressed colour, not Color
    e.SetColor(clRed);
    e.SetPressedAlphaValue(c.stored);
    EXPECT_EQ(e.PressedAlphaValue(), c.read) << "look " << c.look << " pressed alpha " << int(c.stored);
  }
}

TEST_F(GlowEffectTest, CustomStyleMapsSystemColoursWhenStyleColorsIsSet) {
  Use(lkCustom);
  const TColor styledHighlight = GetStyleSystemColor(clHighlight);
  ASSERT_NE(styledHighlight, clHighlight);
  TkvButtonGlowEffect e;
  e.SetHotColor(clHighlight);
  e.SetFocusedColor(clRed);
  EXPECT_EQ(e.Color(), styledHighlight);
  EXPECT_EQ(e.HotColor(), styledHighlight);
  EXPECT_EQ(e.FocusedColor(), clRed) << "plain colours stay";
  EXPECT_EQ(e.PressedColor(), clNone);
  EXPECT_EQ(GetPropText(&e, "Color"), "clHighlight");
  e.SetStyleColors(false);
  EXPECT_EQ(e.Color(), clHighlight);
  EXPECT_EQ(e.HotColor(), clHighlight);
  Use(lkNative);
  e.SetStyleColors(true);
  EXPECT_EQ(e.Color(), clHighlight);
}

TEST_F(GlowEffectTest, ChangesAreAnnouncedOnlyWhileEnabledButEnabledAlways) {
  const std::pair<const char*, std::function<void(TkvButtonGlowEffect&)>> setters[] = {
      {"Color", [](auto& e) { e.SetColor(clRed); }},
      {"AlphaValue", [](auto& e) { e.SetAlphaValue(10); }},
      {"GlowSize", [](auto& e) { e.SetGlowSize(2); }},
      {"Intensive", [](auto& e) { e.SetIntensive(false); }},
      {"Offset", [](auto& e) { e.SetOffset(4); }},
      {"StyleColors", [](auto& e) { e.SetStyleColors(false); }},
      {"HotColor", [](auto& e) { e.SetHotColor(clRed); }},
      {"PressedColor", [](auto& e) { e.SetPressedColor(clRed); }},
      {"FocusedColor", [](auto& e) { e.SetFocusedColor(clRed); }},
      {"PressedAlphaValue", [](auto& e) { e.SetPressedAlphaValue(10); }},
      {"PressedGlowSize", [](auto& e) { e.SetPressedGlowSize(2); }},
      {"States", [](auto& e) { e.SetStates(TkvsCtrlStates{kvsDisabled}); }},
  };
  for (const auto& [name, set] : setters) {
    SCOPED_TRACE(name);
    TkvButtonGlowEffect disabled;
    TCounter off(disabled);
    set(disabled);
    EXPECT_EQ(off.Count, 0) << "disabled: stored silently";
    EXPECT_NE(Published(disabled), Published(TkvButtonGlowEffect()));

    TkvButtonGlowEffect enabled;
    enabled.SetEnabled(true);
    TCounter on(enabled);
    set(enabled);
    EXPECT_EQ(on.Count, 1);
    set(enabled);
    EXPECT_EQ(on.Count, 1) << "an unchanged value is not announced";
  }
  TkvGlowEffect e;
  TCounter c(e);
  e.SetEnabled(true);
  e.SetEnabled(true);
  e.SetEnabled(false);
  EXPECT_EQ(c.Count, 2) << "both switches, not the repeat";
}

TEST_F(GlowEffectTest, AssignCopiesWhatBothSidesHave) {
  TkvGlowEffect plain;
  SetAllCommon(plain);
  TkvButtonGlowEffect button;
  SetAllCommon(button);
  button.SetColor(clMaroon);
  SetAllOwn(button);

  auto commonOf = [](const TkvGlowEffect& e) {
    std::map<String, String> m = Published(e);
    for (auto it = m.begin(); it != m.end();) it = TkvGlowEffect::StaticClass().FindProperty(it->first) ? std::next(it) : m.erase(it);
    return m;
  };
  {
    TkvGlowEffect d;
    d.Assign(&plain);
    EXPECT_EQ(Published(d), Published(plain));
    d.Assign(&button);
    EXPECT_EQ(Published(d), commonOf(button)) << "a plain effect takes the common part of a button effect";
  }
  {
    TkvButtonGlowEffect d;
    d.SetHotColor(clPurple);
    d.SetStates(TkvsCtrlStates{kvsHot});
    std::map<String, String> before = Published(d);
    d.Assign(&plain);
    std::map<String, String> after = Published(d);
    for (const auto& [name, value] : after) {
      bool common = TkvGlowEffect::StaticClass().FindProperty(name) != nullptr;
      EXPECT_EQ(value, common ? GetPropText(&plain, name) : before[name]) << name;
    }
    d.Assign(&button);
    EXPECT_EQ(Published(d), Published(button));
  }
  TFont font;
  TkvButtonGlowEffect d;
  EXPECT_THROW(d.Assign(&font), EConvertError);
  EXPECT_EQ(Published(d), Published(TkvButtonGlowEffect()));
}

TEST_F(GlowEffectTest, AssignAnnouncesOnceByTheSameRule) {
  struct Case {
    const char* name;
    bool destEnabled, sourceEnabled, sourceDiffers;
    int announcements;
  };
  const Case cases[] = {
      {"both disabled, other settings", false, false, true, 0},
      {"switched on", false, true, true, 1},
      {"switched off", true, false, false, 1},
      {"enabled, other settings", true, true, true, 1},
      {"enabled, nothing differs", true, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TkvButtonGlowEffect source, dest;
    if (c.sourceDiffers) {
      source.SetGlowSize(2);
      source.SetPressedColor(clRed);
    }
    source.SetEnabled(c.sourceEnabled);
    dest.SetEnabled(c.destEnabled);
    TCounter counter(dest);
    dest.Assign(&source);
    EXPECT_EQ(counter.Count, c.announcements);
  }
}

TEST_F(GlowEffectTest, GetGlowParamsPerState) {
  struct Case {
    TkvsCtrlState state;
    bool glows;
    TColor color;
    uint8_t alpha, size;
  };
  TkvButtonGlowEffect e;
  e.SetColor(clRed);
  e.SetHotColor(clBlue);
  e.SetFocusedColor(clLime);  // pressed stays clNone
  e.SetAlphaValue(201);
  e.SetPressedAlphaValue(120);
  e.SetGlowSize(5);
  e.SetPressedGlowSize(9);
  const Case cases[] = {
      {kvsNormal, false, clRed, 201, 5},  {kvsHot, true, clBlue, 201, 5},    {kvsPressed, true, clRed, 120, 9},
      {kvsFocused, true, clLime, 201, 5}, {kvsDisabled, false, clRed, 100, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(EnumInfo<TkvsCtrlState>().Name(c.state));
    TColor color = clNone;
    uint8_t alpha = 0, size = 0;
    EXPECT_EQ(e.GetGlowParams(c.state, color, alpha, size), c.glows);
    EXPECT_EQ(color, c.color);
    EXPECT_EQ(alpha, c.alpha);
    EXPECT_EQ(size, c.size);
  }
  e.SetStates(e.States() + kvsDisabled);
  TColor color;
  uint8_t alpha, size;
  EXPECT_TRUE(e.GetGlowParams(kvsDisabled, color, alpha, size)) << "a disabled control glows at half opacity";
  EXPECT_EQ(alpha, 100);

  // The getters' rules apply: the classic highlight glow reads 175, 87 when disabled.
  Use(lkClassic);
  TkvButtonGlowEffect classic;
  classic.SetStates(TkvsCtrlStates{kvsDisabled, kvsPressed});
  classic.SetPressedColor(clHighlight);
  EXPECT_TRUE(classic.GetGlowParams(kvsDisabled, color, alpha, size));
  EXPECT_EQ(color, clHighlight);
  EXPECT_EQ(alpha, 87);
  EXPECT_TRUE(classic.GetGlowParams(kvsPressed, color, alpha, size));
  EXPECT_EQ(alpha, 205);
  EXPECT_EQ(size, 7);
}

namespace {
class TGlowHolder : public TComponent {
  KV_CLASS(TGlowHolder, TComponent)
public:
  explicit TGlowHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TkvButtonGlowEffect* GlowEffect() const { return FGlow.get(); }
  void SetGlowEffect(TkvButtonGlowEffect* Value) { FGlow->Assign(Value); }

private:
  std::unique_ptr<TkvButtonGlowEffect> FGlow = std::make_unique<TkvButtonGlowEffect>();
};
}  // namespace
KV_IMPLEMENT_CLASS(TGlowHolder) { r.Prop("GlowEffect", &TGlowHolder::GlowEffect, &TGlowHolder::SetGlowEffect); }

TEST_F(GlowEffectTest, FormDescriptionsKeepTheStoredValuesInAnyLook) {
  for (TLook look : {lkNative, lkClassic, lkCustom}) {
    SCOPED_TRACE(look);
    Use(look);
    TGlowHolder holder(nullptr);
    holder.SetName("Holder");
    EXPECT_EQ(WriteComponentToText(&holder).find("GlowEffect"), String::npos) << "defaults are not written";
    TkvButtonGlowEffect* g = holder.GlowEffect();
    g->SetEnabled(true);
    g->SetHotColor(clHighlight);
    g->SetPressedGlowSize(3);
    g->SetStates(TkvsCtrlStates{kvsHot});
    String text = WriteComponentToText(&holder);
    EXPECT_EQ(text.find("AlphaValue"), String::npos) << text;
    EXPECT_NE(text.find("GlowEffect.HotColor = clHighlight"), String::npos) << text;

    Use(lkNative);
    TGlowHolder back(nullptr);
    ReadComponentFromText(&back, text);
    EXPECT_EQ(Published(*back.GlowEffect()), Published(*g));
    EXPECT_EQ(back.GlowEffect()->StoredAlphaValue(), 255);
    Use(look);
  }
}
