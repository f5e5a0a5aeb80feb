#pragma once
// The element sheet: every element of the catalogue in every state, drawn through the active
// style's services onto one picture, each state labelled and captioned states showing sample
// text in the state's text colour.
#include "platform/core/strings.h"

// Draws the sheet of the active look (StyleServices()) and writes it as PNG; `title` heads it.
void WriteElementSheet(const String& title, const String& pngPath);
