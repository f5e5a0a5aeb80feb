#include "kv/kvControls/kvGlowEffect.h"

#include "kv/kvUtils/kvColors.h"

KV_IMPLEMENT_CLASS(TkvGlowEffect) {
  r.Prop("Enabled", &TkvGlowEffect::Enabled, &TkvGlowEffect::SetEnabled, false);
  r.Color("Color", &TkvGlowEffect::StoredColor, &TkvGlowEffect::SetColor, clHighlight);
  r.Prop("AlphaValue", &TkvGlowEffect::StoredAlphaValue, &TkvGlowEffect::SetAlphaValue, 255);
  r.Prop("GlowSize", &TkvGlowEffect::GlowSize, &TkvGlowEffect::SetGlowSize, 7);
  r.Prop("Intensive", &TkvGlowEffect::Intensive, &TkvGlowEffect::SetIntensive, true);
  r.Prop("Offset", &TkvGlowEffect::Offset, &TkvGlowEffect::SetOffset, 0);
  r.Prop("StyleColors", &TkvGlowEffect::StyleColors, &TkvGlowEffect::SetStyleColors, true);
  r.Event("OnChange", &TkvGlowEffect::OnChange);
}

KV_IMPLEMENT_CLASS(TkvButtonGlowEffect) {
  r.Color("HotColor", &TkvButtonGlowEffect::StoredHotColor, &TkvButtonGlowEffect::SetHotColor, clNone);
  r.Color("PressedColor", &TkvButtonGlowEffect::StoredPressedColor, &TkvButtonGlowEffect::SetPressedColor, clNone);
  r.Color("FocusedColor", &TkvButtonGlowEffect::StoredFocusedColor, &TkvButtonGlowEffect::SetFocusedColor, clNone);
  r.Prop("PressedAlphaValue", &TkvButtonGlowEffect::StoredPressedAlphaValue,
         &TkvButtonGlowEffect::SetPressedAlphaValue, 255);
  r.Prop("PressedGlowSize", &TkvButtonGlowEffect::PressedGlowSize, &TkvButtonGlowEffect::SetPressedGlowSize, 7);
  r.Prop("States", &TkvButtonGlowEffect::States, &TkvButtonGlowEffect::SetStates,
         TkvsCtrlStates{kvsHot, kvsPressed, kvsFocused});
}

// ---- TkvGlowEffect ----

bool TkvGlowEffect::ClassicLook() { return !IsCustomStyle() && !ThemesOn(); }

TColor TkvGlowEffect::StyledColor(TColor Value) const {
  return FStyleColors && IsCustomStyle() ? GetStyleSystemColor(Value) : Value;
}

void TkvGlowEffect::Changed() {
  if (FEnabled) OnChange(this);
}

template <class F>
void TkvGlowEffect::AssignWith(F Copy) {
  const bool wasEnabled = FEnabled;
  const bool changed = Copy();
  if (FEnabled != wasEnabled || (changed && FEnabled)) OnChange(this);
}

bool TkvGlowEffect::CopyCommon(const TkvGlowEffect& Source) {
  bool changed = Store(FEnabled, Source.FEnabled);
  changed |= Store(FColor, Source.FColor);
  changed |= Store(FAlphaValue, Source.FAlphaValue);
  changed |= Store(FGlowSize, Source.FGlowSize);
  changed |= Store(FIntensive, Source.FIntensive);
  changed |= Store(FOffset, Source.FOffset);
  changed |= Store(FStyleColors, Source.FStyleColors);
  return changed;
}

void TkvGlowEffect::Assign(const TPersistent* Source) {
  if (auto* g = dynamic_cast<const TkvGlowEffect*>(Source)) {
    if (g != this) AssignWith([&] { return CopyCommon(*g); });
    return;
  }
  inherited::Assign(Source);
}

void TkvGlowEffect::SetEnabled(bool Value) {
  if (Store(FEnabled, Value)) OnChange(this);
}

TColor TkvGlowEffect::Color() const { return StyledColor(FColor); }

void TkvGlowEffect::SetColor(TColor Value) {
  if (Store(FColor, Value)) Changed();
}

uint8_t TkvGlowEffect::AlphaValue() const {
  if (FColor == clHighlight && FAlphaValue > 170 && ClassicLook()) return static_cast<uint8_t>(FAlphaValue - 80);
  return FAlphaValue;
}

void TkvGlowEffect::SetAlphaValue(uint8_t Value) {
  if (Store(FAlphaValue, Value)) Changed();
}

void TkvGlowEffect::SetGlowSize(uint8_t Value) {
  if (Store(FGlowSize, Value)) Changed();
}

void TkvGlowEffect::SetIntensive(bool Value) {
  if (Store(FIntensive, Value)) Changed();
}

void TkvGlowEffect::SetOffset(uint8_t Value) {
  if (Store(FOffset, Value)) Changed();
}

void TkvGlowEffect::SetStyleColors(bool Value) {
  if (Store(FStyleColors, Value)) Changed();
}

// ---- TkvButtonGlowEffect ----

bool TkvButtonGlowEffect::CopyOwn(const TkvButtonGlowEffect& Source) {
  bool changed = Store(FHotColor, Source.FHotColor);
  changed |= Store(FPressedColor, Source.FPressedColor);
  changed |= Store(FFocusedColor, Source.FFocusedColor);
  changed |= Store(FPressedAlphaValue, Source.FPressedAlphaValue);
  changed |= Store(FPressedGlowSize, Source.FPressedGlowSize);
  changed |= Store(FStates, Source.FStates);
  return changed;
}

void TkvButtonGlowEffect::Assign(const TPersistent* Source) {
  if (auto* b = dynamic_cast<const TkvButtonGlowEffect*>(Source)) {
    if (b != this) AssignWith([&] {
        bool common = CopyCommon(*b);
        bool own = CopyOwn(*b);
        return common || own;
      });
    return;
  }
  inherited::Assign(Source);
}

void TkvButtonGlowEffect::SetHotColor(TColor Value) {
  if (Store(FHotColor, Value)) Changed();
}

void TkvButtonGlowEffect::SetPressedColor(TColor Value) {
  if (Store(FPressedColor, Value)) Changed();
}

void TkvButtonGlowEffect::SetFocusedColor(TColor Value) {
  if (Store(FFocusedColor, Value)) Changed();
}

uint8_t TkvButtonGlowEffect::PressedAlphaValue() const {
  if (FPressedColor == clHighlight && FPressedAlphaValue > 200 && ClassicLook())
    return static_cast<uint8_t>(FPressedAlphaValue - 50);
  return FPressedAlphaValue;
}

void TkvButtonGlowEffect::SetPressedAlphaValue(uint8_t Value) {
  if (Store(FPressedAlphaValue, Value)) Changed();
}

void TkvButtonGlowEffect::SetPressedGlowSize(uint8_t Value) {
  if (Store(FPressedGlowSize, Value)) Changed();
}

void TkvButtonGlowEffect::SetStates(TkvsCtrlStates Value) {
  if (Store(FStates, Value)) Changed();
}

bool TkvButtonGlowEffect::GetGlowParams(TkvsCtrlState State, TColor& AColor, uint8_t& AAlphaValue,
                                        uint8_t& AGlowSize) const {
  switch (State) {
    case kvsHot: AColor = HotColor(); break;
    case kvsPressed: AColor = PressedColor(); break;
    case kvsFocused: AColor = FocusedColor(); break;
    default: AColor = Color(); break;
  }
  if (AColor == clNone) AColor = Color();
  if (State == kvsPressed) {
    AGlowSize = PressedGlowSize();
    AAlphaValue = PressedAlphaValue();
  } else {
    AGlowSize = GlowSize();
    AAlphaValue = AlphaValue();
    if (State == kvsDisabled) AAlphaValue = static_cast<uint8_t>(AAlphaValue >> 1);
  }
  return FStates.Contains(State);
}
