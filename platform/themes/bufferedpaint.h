#pragma once
// Buffered animation: a cross-fade between two images of a window area, driven by the clock.
//
// A painter asks for an animation of a target rectangle of a device context
// (BeginBufferedAnimation) and receives two 32-bit off-screen contexts: the from-image and the
// to-image, both the size of the rectangle, their pixel (0, 0) at the rectangle's top-left,
// cleared to transparent black. It paints the old look into the first and the new look into the
// second and ends the set-up (EndBufferedAnimation), which shows the first frame. Over the
// duration the frames blend linearly from the first image to the second; each frame is
// composed onto the target source-over with per-pixel alpha, so both images should be opaque
// where they are to cover the target. The service keeps the window's area invalidated for the
// next frame until the fade ends, and the window's paint hands its device context to
// BufferedPaintRenderAnimation, which draws the frame of the moment; the frame at the end is
// the to-image exactly, after which the animation is over and the window paints normally.
//
// A duration of 0 animates nothing: there is no from-image, the to-image is copied onto the
// target (opaquely, alpha ignored) when the set-up ends. Beginning an animation of a window
// area that is already animating replaces the running one.
//
// All of this runs on the user-interface thread, with the window layer's clock (virtual under
// the headless back end, so a test reads frames at exact times).
#include <cstdint>

#include "platform/core/geometry.h"
#include "platform/graphics/blit.h"
#include "platform/windows/wintypes.h"

struct TBufferedAnimation;
using HANIMATIONBUFFER = TBufferedAnimation*;

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

enum BP_BUFFERFORMAT : int {
  BPBF_COMPATIBLEBITMAP = 0,
  BPBF_DIB = 1,
  BPBF_TOPDOWNDIB = 2,
  BPBF_TOPDOWNMONODIB = 3,  // refused: every buffer here is 32-bit
};

enum BP_ANIMATIONSTYLE : int {
  BPAS_NONE = 0,  // no fade: the to-image at once
  BPAS_LINEAR = 1,
  BPAS_CUBIC = 2,
  BPAS_SINE = 3,
};

struct BP_ANIMATIONPARAMS {
  DWORD cbSize = sizeof(BP_ANIMATIONPARAMS);  // 16
  DWORD dwFlags = 0;                          // none defined; must be 0
  BP_ANIMATIONSTYLE style = BPAS_LINEAR;
  DWORD dwDuration = 0;                       // milliseconds
};
static_assert(sizeof(BP_ANIMATIONPARAMS) == 16);

// Paint options: BPPF_ERASE clears the buffers (they always start cleared here),
// BPPF_NOCLIP and BPPF_NONCLIENT are accepted and change nothing for a client-area target.
// prcExclude (target coordinates) is left untouched when frames are drawn; pBlendFunction
// replaces the source-over blend with per-pixel alpha that frames are composed with.
enum : DWORD { BPPF_ERASE = 0x0001, BPPF_NOCLIP = 0x0002, BPPF_NONCLIENT = 0x0004 };
struct BP_PAINTPARAMS {
  DWORD cbSize = sizeof(BP_PAINTPARAMS);
  DWORD dwFlags = 0;
  const TRect* prcExclude = nullptr;
  const BLENDFUNCTION* pBlendFunction = nullptr;
};

// Starts the set-up of an animation of rcTarget (logical coordinates of hdcTarget, which must
// be a context of hwnd's client area). Returns the animation, with the two contexts in
// *phdcFrom (null when the duration is 0 or the style is BPAS_NONE) and *phdcTo. Returns null
// and sets both contexts to null for a bad window, context, rectangle, format or parameter
// block (the last error says why).
HANIMATIONBUFFER BeginBufferedAnimation(HWND hwnd, HDC hdcTarget, const TRect* rcTarget, BP_BUFFERFORMAT dwFormat,
                                        const BP_PAINTPARAMS* pPaintParams, const BP_ANIMATIONPARAMS* pAnimationParams,
                                        HDC* phdcFrom, HDC* phdcTo);
// Ends the set-up. With fUpdateTarget the first frame is drawn onto the target now (for a
// duration of 0: the to-image), otherwise the animation is dropped and the target stays as it
// was. The contexts handed out are invalid afterwards. S_OK, or E_INVALIDARG for an unknown
// animation.
HRESULT EndBufferedAnimation(HANIMATIONBUFFER hbpAnimation, bool fUpdateTarget);
// Draws the current frame of every running animation of hwnd into hdcTarget (a context of its
// client area, as in its paint); true when there was one to draw. An animation whose final
// frame has been drawn is over.
bool BufferedPaintRenderAnimation(HWND hwnd, HDC hdcTarget);
// Ends every animation of the window without drawing anything more. S_OK.
HRESULT BufferedPaintStopAllAnimations(HWND hwnd);

// The number of animations running (or being set up) for a window, for tests and diagnostics.
int BufferedAnimationCount(HWND hwnd);

// The entry points of the theme library by name, as a program that binds them at run time
// finds them ("BeginBufferedAnimation", "EndBufferedAnimation", "BufferedPaintRenderAnimation",
// "BufferedPaintStopAllAnimations"); null for other names.
void* GetThemeProcAddress(const char* Name);
