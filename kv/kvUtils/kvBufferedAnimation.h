#pragma once
// The optional entry points of the buffered-animation service, bound by name when the unit
// starts (LoadBufferedAnimation), as a program binds a theme library that may lack them. A
// missing entry point stays empty; without BeginBufferedAnimation no animation is available
// and controls repaint state changes at once.
#include "platform/themes/bufferedpaint.h"

struct TkvBufferedAnimationApi {
  HANIMATIONBUFFER (*Begin)(HWND, HDC, const TRect*, BP_BUFFERFORMAT, const BP_PAINTPARAMS*,
                            const BP_ANIMATIONPARAMS*, HDC*, HDC*) = nullptr;
  HRESULT (*End)(HANIMATIONBUFFER, bool) = nullptr;
  bool (*Render)(HWND, HDC) = nullptr;
  HRESULT (*StopAll)(HWND) = nullptr;
};

// The entry points bound now (each may be empty).
const TkvBufferedAnimationApi& BufferedAnimationApi();
// Binds the entry points by name; runs when the unit starts.
void LoadBufferedAnimation();
// Forgets them all (also how tests take the service away).
void UnloadBufferedAnimation();
// True when BeginBufferedAnimation was found.
bool IsAnimationAvailable();
