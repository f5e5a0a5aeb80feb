#pragma once
// Unit kvUtils: the stateless drawing routines every control of the library paints with, in
// the look of the moment (custom style, native look or classic).
#include "kv/kvUtils/kvBitmaps.h"
#include "kv/kvUtils/kvColors.h"
#include "kv/kvUtils/kvElements.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "kv/kvUtils/kvLayout.h"
#include "kv/kvUtils/kvStyled.h"
#include "kv/kvUtils/kvText.h"
#include "kv/kvUtils/kvTypes.h"
