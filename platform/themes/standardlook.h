#pragma once
// The built-in look, made in code from a system colour table: the native look ("Windows") is it
// over the built-in system colours, and a custom style starts from it over the style's own
// system colours before its file says otherwise, so every element state of every style is
// drawable and every captioned state has a text colour.
#include <array>

#include "platform/themes/styledata.h"

// Element looks, named colours and text colours of the built-in look for `system`.
TStyleData MakeStandardStyle(const TSystemColorTable& system);

// Recomputes the named colours and text colours a style did not give itself (given[i] false)
// from its element looks and system colours, so that, for instance, a style that gives push
// buttons a text colour reports the same colour as sfButtonTextNormal.
using TStyleColorsGiven = std::array<bool, EnumCount<TStyleColor>()>;
using TStyleFontsGiven = std::array<bool, EnumCount<TStyleFont>()>;
void DeriveNamedColors(TStyleData& data, const TStyleColorsGiven& colorGiven, const TStyleFontsGiven& fontGiven);

// What a state name says: "CheckedHot" is checked and hot.
struct TStateTraits {
  bool Hot = false, Pressed = false, Disabled = false, Focused = false, Selected = false;
  bool Checked = false, Mixed = false, Defaulted = false, NotFocused = false, Today = false;
  TStyleGlyph Arrow = sgNone;  // the direction named by scroll-bar arrow states
};
TStateTraits StateTraitsOf(const char* stateName);
