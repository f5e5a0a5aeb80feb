#pragma once
// Control states and the look the styled drawing routines of this unit choose between.
//
// Three looks: a custom style is active in the style manager (IsCustomStyle), the built-in
// style draws the native look (style services enabled, no custom style), or style services are
// disabled and the classic frame controls and 3-D lines in system colours are drawn. "Themes
// on" means either of the first two.
#include "platform/core/enums.h"

// The visual state one piece is drawn in.
KV_ENUM(TkvsCtrlState, kvsNormal, kvsHot, kvsPressed, kvsFocused, kvsDisabled)
using TkvsCtrlStates = TSet<TkvsCtrlState>;

// True while a custom style is active; asked on every paint, never cached.
bool IsCustomStyle();
// True when style services draw themed elements (a custom style or the native look).
bool ThemesOn();
