#include "platform/core/geometry.h"

bool SubtractRect(TRect& dst, const TRect& a, const TRect& b) {
  dst = a;
  if (!a.IntersectsWith(b)) return !dst.IsEmpty();
  bool coversX = b.Left <= a.Left && b.Right >= a.Right;
  bool coversY = b.Top <= a.Top && b.Bottom >= a.Bottom;
  if (coversX && coversY) {
    dst = {};
    return false;
  }
  if (coversX) {
    if (b.Top <= a.Top) dst.Top = b.Bottom;
    else if (b.Bottom >= a.Bottom) dst.Bottom = b.Top;
  } else if (coversY) {
    if (b.Left <= a.Left) dst.Left = b.Right;
    else if (b.Right >= a.Right) dst.Right = b.Left;
  }
  return !dst.IsEmpty();
}
