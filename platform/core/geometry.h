#pragma once
// Points, sizes and rectangles with the framework's semantics: a rectangle covers the pixels
// Left <= x < Right and Top <= y < Bottom (right and bottom edges are exclusive).
#include <algorithm>
#include <cstdint>

struct TPoint {
  int X = 0, Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  constexpr bool operator==(const TPoint&) const = default;
  constexpr TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
  constexpr TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

struct TSize {
  int cx = 0, cy = 0;
  constexpr TSize() = default;
  constexpr TSize(int w, int h) : cx(w), cy(h) {}
  constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr TRect(TPoint topLeft, TPoint bottomRight)
      : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y) {}
  constexpr bool operator==(const TRect&) const = default;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TSize Size() const { return {Width(), Height()}; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  // Integer centre, rounding toward zero as the framework does.
  constexpr TPoint CenterPoint() const { return {Left + Width() / 2, Top + Height() / 2}; }
  // True when the rectangle covers no pixel.
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr bool Contains(const TRect& r) const {
    return r.Left >= Left && r.Right <= Right && r.Top >= Top && r.Bottom <= Bottom;
  }
  constexpr bool IntersectsWith(const TRect& r) const {
    return Left < r.Right && r.Left < Right && Top < r.Bottom && r.Top < Bottom;
  }
  constexpr void Offset(int dx, int dy) { Left += dx; Right += dx; Top += dy; Bottom += dy; }
  constexpr void Inflate(int dx, int dy) { Left -= dx; Right += dx; Top -= dy; Bottom += dy; }
  constexpr TRect Offsetted(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  constexpr TRect Inflated(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
  // Normalised intersection; an empty result is (0, 0, 0, 0).
  constexpr TRect Intersect(const TRect& r) const {
    TRect x{std::max(Left, r.Left), std::max(Top, r.Top), std::min(Right, r.Right), std::min(Bottom, r.Bottom)};
    return x.IsEmpty() ? TRect{} : x;
  }
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

constexpr void InflateRect(TRect& r, int dx, int dy) { r.Inflate(dx, dy); }
constexpr void OffsetRect(TRect& r, int dx, int dy) { r.Offset(dx, dy); }
constexpr bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }
constexpr bool EqualRect(const TRect& a, const TRect& b) { return a == b; }
// Pixel containment: right and bottom edges excluded.
constexpr bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
// Stores the intersection in dst (empty: all zero); returns whether it is non-empty.
constexpr bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
  dst = a.Intersect(b);
  return !dst.IsEmpty();
}
// Smallest rectangle holding both; an empty operand is ignored.
constexpr bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
  if (a.IsEmpty()) dst = b;
  else if (b.IsEmpty()) dst = a;
  else dst = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  if (dst.IsEmpty()) dst = {};
  return !dst.IsEmpty();
}
// a minus b when the result is a rectangle; otherwise a unchanged. Returns non-empty.
bool SubtractRect(TRect& dst, const TRect& a, const TRect& b);
