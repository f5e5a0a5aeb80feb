// X server access for the SDL back end.
#include "platform/windows/sdl_x11.h"

#include "platform/graphics/surface.h"

#ifdef KV_HAVE_X11
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace kvwin {
#ifdef KV_HAVE_X11
namespace {
bool Info(SDL_Window* w, SDL_SysWMinfo* info) {
  if (!w) return false;
  SDL_VERSION(&info->version);
  return SDL_GetWindowWMInfo(w, info) && info->subsystem == SDL_SYSWM_X11;
}
}  // namespace

bool X11Available(SDL_Window* window) {
  SDL_SysWMinfo info;
  return Info(window, &info);
}

void X11Sync(SDL_Window* window) {
  SDL_SysWMinfo info;
  if (Info(window, &info)) XSync(info.info.x11.display, False);
}

bool X11GrabWindow(SDL_Window* window, TSurface* out) {
  SDL_SysWMinfo info;
  if (!Info(window, &info)) return false;
  Display* d = info.info.x11.display;
  XWindowAttributes attr;
  if (!XGetWindowAttributes(d, info.info.x11.window, &attr) || attr.width <= 0 || attr.height <= 0) return false;
  XImage* img = XGetImage(d, info.info.x11.window, 0, 0, static_cast<unsigned>(attr.width),
                          static_cast<unsigned>(attr.height), AllPlanes, ZPixmap);
  if (!img) return false;
  out->SetSize(attr.width, attr.height);
  for (int y = 0; y < attr.height; ++y) {
    uint32_t* row = out->Row(y);
    for (int x = 0; x < attr.width; ++x) {
      unsigned long p = XGetPixel(img, x, y);
      row[x] = 0xFF000000u | static_cast<uint32_t>(p & 0x00FFFFFF);
    }
  }
  XDestroyImage(img);
  return true;
}
#else
bool X11Available(SDL_Window*) { return false; }
void X11Sync(SDL_Window*) {}
bool X11GrabWindow(SDL_Window*, TSurface*) { return false; }
#endif
}  // namespace kvwin
