#include "platform/core/region.h"

#include <algorithm>

TRegion::TRegion(const TRect& r) {
  if (!r.IsEmpty()) rects_.push_back(r);
}

TRect TRegion::Bounds() const {
  if (rects_.empty()) return {};
  TRect b = rects_.front();
  for (const TRect& r : rects_) {
    b.Left = std::min(b.Left, r.Left);
    b.Right = std::max(b.Right, r.Right);
    b.Bottom = std::max(b.Bottom, r.Bottom);
  }
  return b;
}

bool TRegion::Contains(TPoint p) const {
  for (const TRect& r : rects_)
    if (r.Contains(p)) return true;
  return false;
}

bool TRegion::Intersects(const TRect& r) const {
  for (const TRect& x : rects_)
    if (x.IntersectsWith(r)) return true;
  return false;
}

bool TRegion::ContainsRect(const TRect& r) const {
  if (r.IsEmpty()) return true;
  TRegion rest(r);
  rest.Subtract(*this);
  return rest.IsEmpty();
}

void TRegion::Offset(int dx, int dy) {
  for (TRect& r : rects_) r.Offset(dx, dy);
}

void TRegion::Union(const TRegion& other) {
  if (other.IsEmpty()) return;
  if (IsEmpty()) {
    rects_ = other.rects_;
    return;
  }
  Combine(other, Op::Union);
}

void TRegion::Intersect(const TRegion& other) {
  if (IsEmpty()) return;
  if (other.IsEmpty()) {
    rects_.clear();
    return;
  }
  Combine(other, Op::Intersect);
}

void TRegion::Intersect(const TRect& r) {
  // Fast path: clipping a banded region by a rectangle keeps it banded.
  std::vector<TRect> out;
  out.reserve(rects_.size());
  for (const TRect& x : rects_) {
    TRect i = x.Intersect(r);
    if (!i.IsEmpty()) out.push_back(i);
  }
  rects_ = std::move(out);
  // Clipping may make formerly different bands identical; re-normalise through a no-op union.
  if (rects_.size() > 1) Combine(TRegion(), Op::Union);
}

void TRegion::Subtract(const TRegion& other) {
  if (IsEmpty() || other.IsEmpty()) return;
  Combine(other, Op::Subtract);
}

namespace {
struct Span {
  int a, b;
};

// Spans of a region's rectangles that cover the band [y0, y1), sorted and merged.
void SpansAt(const std::vector<TRect>& rects, int y0, int y1, std::vector<Span>& out) {
  out.clear();
  for (const TRect& r : rects)
    if (r.Top <= y0 && r.Bottom >= y1) out.push_back({r.Left, r.Right});
  std::sort(out.begin(), out.end(), [](const Span& l, const Span& r) { return l.a < r.a; });
  size_t n = 0;
  for (const Span& s : out) {
    if (n > 0 && s.a <= out[n - 1].b) out[n - 1].b = std::max(out[n - 1].b, s.b);
    else out[n++] = s;
  }
  out.resize(n);
}
}  // namespace

void TRegion::Combine(const TRegion& other, Op op) {
  std::vector<int> ys;
  ys.reserve((rects_.size() + other.rects_.size()) * 2);
  for (const TRect& r : rects_) { ys.push_back(r.Top); ys.push_back(r.Bottom); }
  for (const TRect& r : other.rects_) { ys.push_back(r.Top); ys.push_back(r.Bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  std::vector<TRect> out;
  std::vector<Span> sa, sb, res, prev;
  int prevBottom = 0;
  size_t prevStart = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    int y0 = ys[k], y1 = ys[k + 1];
    SpansAt(rects_, y0, y1, sa);
    SpansAt(other.rects_, y0, y1, sb);
    res.clear();
    // Sweep the x edges of both span lists.
    std::vector<int> xs;
    for (const Span& s : sa) { xs.push_back(s.a); xs.push_back(s.b); }
    for (const Span& s : sb) { xs.push_back(s.a); xs.push_back(s.b); }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    size_t ia = 0, ib = 0;
    for (size_t m = 0; m + 1 < xs.size(); ++m) {
      int x0 = xs[m], x1 = xs[m + 1];
      while (ia < sa.size() && sa[ia].b <= x0) ++ia;
      while (ib < sb.size() && sb[ib].b <= x0) ++ib;
      bool inA = ia < sa.size() && sa[ia].a <= x0;
      bool inB = ib < sb.size() && sb[ib].a <= x0;
      bool in = op == Op::Union ? (inA || inB) : op == Op::Intersect ? (inA && inB) : (inA && !inB);
      if (!in) continue;
      if (!res.empty() && res.back().b == x0) res.back().b = x1;
      else res.push_back({x0, x1});
    }
    if (res.empty()) {
      prev.clear();
      continue;
    }
    // Merge with the band above when it touches and has the same spans.
    bool same = !prev.empty() && prevBottom == y0 && prev.size() == res.size();
    for (size_t i = 0; same && i < res.size(); ++i) same = prev[i].a == res[i].a && prev[i].b == res[i].b;
    if (same) {
      for (size_t i = prevStart; i < out.size(); ++i) out[i].Bottom = y1;
    } else {
      prevStart = out.size();
      for (const Span& s : res) out.push_back({s.a, y0, s.b, y1});
      prev = res;
    }
    prevBottom = y1;
  }
  rects_ = std::move(out);
}
