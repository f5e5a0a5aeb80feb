#include "platform/themes/styledata.h"

#include "platform/themes/colormath.h"

std::optional<TStyleRGBA> TPaint::Representative() const {
  if (Kind == pkNone || Stops.empty()) return std::nullopt;
  if (Kind == pkSolid || Stops.size() == 1) return Stops.front().Color;
  // The colour in the middle of the gradient, where a centred caption sits.
  const float at = 0.5f;
  const TGradientStop* before = &Stops.front();
  for (const TGradientStop& s : Stops) {
    if (s.Position > at) {
      float span = s.Position - before->Position;
      int percent = span <= 0 ? 100 : static_cast<int>((at - before->Position) / span * 100 + 0.5f);
      return MixRGBA(before->Color, s.Color, percent);
    }
    before = &s;
  }
  return Stops.back().Color;
}
