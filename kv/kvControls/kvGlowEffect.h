#pragma once
// Glow settings that controls own and publish: TkvGlowEffect for one glow, and
// TkvButtonGlowEffect with colours, opacity and size for the hot, pressed and focused states.
//
// Reading rules. The colour getters map system colours through the active custom style when
// StyleColors is set; in the classic look (no custom style, style services disabled) a
// highlight-coloured glow reads a lower opacity (AlphaValue above 170 reads 80 less,
// PressedAlphaValue above 200 reads 50 less), since the plain highlight colour glows harder
// there. The published properties read and write the stored values, so a form description
// keeps what was set whatever the look was when it was written.
//
// OnChange. A change of Enabled is always announced; a change of anything else only while the
// glow is enabled (a disabled glow draws nothing, so nothing needs repainting). Setting an
// unchanged value announces nothing. Assign announces once, by the same rule, when it changed
// something.
#include <cstdint>

#include "kv/kvUtils/kvTypes.h"
#include "platform/core/classes.h"

class TkvGlowEffect : public TPersistent {
  KV_CLASS(TkvGlowEffect, TPersistent)
public:
  TkvGlowEffect() = default;
  // From another glow effect: the seven common settings; anything else as the framework does.
  void Assign(const TPersistent* Source) override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const;
  void SetColor(TColor Value);
  uint8_t AlphaValue() const;
  void SetAlphaValue(uint8_t Value);
  uint8_t GlowSize() const { return FGlowSize; }
  void SetGlowSize(uint8_t Value);
  bool Intensive() const { return FIntensive; }
  void SetIntensive(bool Value);
  uint8_t Offset() const { return FOffset; }
  void SetOffset(uint8_t Value);
  bool StyleColors() const { return FStyleColors; }
  void SetStyleColors(bool Value);

  // The values as stored, before the reading rules.
  TColor StoredColor() const { return FColor; }
  uint8_t StoredAlphaValue() const { return FAlphaValue; }

  TNotifyEvent OnChange;

protected:
  // Announces a change of a setting other than Enabled.
  void Changed();
  // Runs an assignment: Copy changes the fields and says whether any differed.
  template <class F>
  void AssignWith(F Copy);
  // The colour as read: mapped through the custom style when StyleColors is set.
  TColor StyledColor(TColor Value) const;
  static bool ClassicLook();

  // Copies the seven common settings; true when any differed.
  bool CopyCommon(const TkvGlowEffect& Source);
  template <class T>
  static bool Store(T& Field, T Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
  }

private:

  bool FEnabled = false;
  TColor FColor = clHighlight;
  uint8_t FAlphaValue = 255;
  uint8_t FGlowSize = 7;
  bool FIntensive = true;
  uint8_t FOffset = 0;
  bool FStyleColors = true;
};

class TkvButtonGlowEffect : public TkvGlowEffect {
  KV_CLASS(TkvButtonGlowEffect, TkvGlowEffect)
public:
  TkvButtonGlowEffect() = default;
  // From another button glow effect: all thirteen settings; from a plain glow effect: the
  // common seven, keeping the state settings.
  void Assign(const TPersistent* Source) override;

  // clNone stands for Color in these three.
  TColor HotColor() const { return StyledColor(FHotColor); }
  void SetHotColor(TColor Value);
  TColor PressedColor() const { return StyledColor(FPressedColor); }
  void SetPressedColor(TColor Value);
  TColor FocusedColor() const { return StyledColor(FFocusedColor); }
  void SetFocusedColor(TColor Value);
  uint8_t PressedAlphaValue() const;
  void SetPressedAlphaValue(uint8_t Value);
  uint8_t PressedGlowSize() const { return FPressedGlowSize; }
  void SetPressedGlowSize(uint8_t Value);
  // The states in which the glow is drawn.
  TkvsCtrlStates States() const { return FStates; }
  void SetStates(TkvsCtrlStates Value);

  TColor StoredHotColor() const { return FHotColor; }
  TColor StoredPressedColor() const { return FPressedColor; }
  TColor StoredFocusedColor() const { return FFocusedColor; }
  uint8_t StoredPressedAlphaValue() const { return FPressedAlphaValue; }

  // Whether State glows (it is in States), and with which colour, opacity and size: pressed
  // uses the pressed colour, size and opacity; hot and focused their colours; normal and
  // disabled Color; disabled glows at half the opacity. A state colour of clNone is Color.
  bool GetGlowParams(TkvsCtrlState State, TColor& AColor, uint8_t& AAlphaValue, uint8_t& AGlowSize) const;

private:
  bool CopyOwn(const TkvButtonGlowEffect& Source);

  TColor FHotColor = clNone;
  TColor FPressedColor = clNone;
  TColor FFocusedColor = clNone;
  uint8_t FPressedAlphaValue = 255;
  uint8_t FPressedGlowSize = 7;
  TkvsCtrlStates FStates{kvsHot, kvsPressed, kvsFocused};
};
