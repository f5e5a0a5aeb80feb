#pragma once
// The parts of the SDL back end that talk to an X server directly: a round trip and reading a
// window's pixels back. Kept apart because the X headers define names such as None and Bool.
#include <SDL2/SDL.h>

class TSurface;

namespace kvwin {
// True when the window lives on an X server (and the helpers below work for it).
bool X11Available(SDL_Window* window);
// One round trip on the window's display connection.
void X11Sync(SDL_Window* window);
// The window's pixels as the X server holds them.
bool X11GrabWindow(SDL_Window* window, TSurface* out);
}  // namespace kvwin
