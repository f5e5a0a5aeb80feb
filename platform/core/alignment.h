#pragma once
// Horizontal alignment of text and content within a rectangle, as controls publish it.
#include "platform/core/enums.h"

KV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
