#pragma once
// The element state each piece is drawn with, by control state.
//
// The usual mapping to a four-state element (Normal, Hot, Pressed, Disabled): kvsNormal to
// Normal, kvsHot and kvsFocused to Hot, kvsPressed to Pressed, kvsDisabled to Disabled. The
// element enumerations list the states of a part in catalogue order, so a state is the part's
// first value plus its offset.
#include "kv/kvUtils/kvTypes.h"
#include "platform/themes/elements.h"

// 0 Normal, 1 Hot, 2 Pressed, 3 Disabled.
constexpr int FourStateOffset(TkvsCtrlState State) {
  switch (State) {
    case kvsHot:
    case kvsFocused: return 1;
    case kvsPressed: return 2;
    case kvsDisabled: return 3;
    default: return 0;
  }
}

// The state of a part whose first state (Normal) is First, followed by Hot, Pressed, Disabled.
template <class E>
constexpr E FourState(E First, TkvsCtrlState State) {
  return static_cast<E>(static_cast<int>(First) + FourStateOffset(State));
}

// Push button: normal, hot, pressed, defaulted (kvsFocused), disabled.
TThemedElementDetails PushButtonDetails(TkvsCtrlState State);
// Tool-bar button, N/H/P/D.
TThemedElementDetails ToolButtonDetails(TkvsCtrlState State);
// Check box, CheckState 0 unchecked, 1 checked, 2 mixed (others: unchecked), N/H/P/D.
TThemedElementDetails CheckBoxDetails(TkvsCtrlState State, int CheckState);
// Radio button, N/H/P/D.
TThemedElementDetails RadioButtonDetails(TkvsCtrlState State, bool Checked);
