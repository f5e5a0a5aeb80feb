#pragma once
// The kvUtils sheet: every styled piece, glyph and content routine in every state, drawn in
// the active look onto one picture with labels, each captioned piece showing its caption in
// the state's text colour.
#include "platform/core/strings.h"

// Draws the sheet of the active look and writes it as PNG; `title` heads it.
void WriteUtilsSheet(const String& title, const String& pngPath);
