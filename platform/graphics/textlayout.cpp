#include "platform/graphics/textlayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <list>
#include <unordered_map>

#include "platform/core/strings.h"
#include "platform/graphics/text.h"

TTextLayout::~TTextLayout() {
  if (Layout) g_object_unref(Layout);
}

namespace {
constexpr const char* kEllipsis = "...";

// ---- the layout cache: least recently used entries go first ----
struct TLayoutCache {
  using TList = std::list<std::pair<std::string, std::shared_ptr<const TTextLayout>>>;
  TList Order;
  std::unordered_map<std::string_view, TList::iterator> Index;
  size_t Capacity = 1024;
  uint64_t Hits = 0, Misses = 0;

  std::shared_ptr<const TTextLayout> Find(const std::string& key) {
    auto it = Index.find(key);
    if (it == Index.end()) return nullptr;
    Order.splice(Order.begin(), Order, it->second);
    return it->second->second;
  }
  void Add(std::string key, std::shared_ptr<const TTextLayout> layout) {
    if (Capacity == 0) return;
    Order.emplace_front(std::move(key), std::move(layout));
    Index[Order.front().first] = Order.begin();
    Trim();
  }
  void Trim() {
    while (Order.size() > Capacity) {
      Index.erase(Order.back().first);
      Order.pop_back();
    }
  }
  void Clear() {
    Index.clear();
    Order.clear();
  }
};

TLayoutCache& Cache() {
  static TLayoutCache* c = new TLayoutCache();
  return *c;
}

// ---- text preparation ----
struct TPlainText {
  std::string Text;
  std::vector<size_t> Map;  // original offset of each byte, plus one entry for the end
  std::vector<std::pair<size_t, size_t>> Underlines;
};

void Emit(TPlainText& p, std::string_view bytes, size_t origin) {
  for (char c : bytes) {
    p.Text += c;
    p.Map.push_back(origin);
  }
}

TPlainText Prepare(std::string_view in, bool prefixes, bool singleLine, bool expandTabs) {
  TPlainText p;
  p.Text.reserve(in.size());
  p.Map.reserve(in.size() + 1);
  size_t i = 0;
  auto emitChar = [&](size_t at) -> size_t {  // emits the code point at `at`, returns its length
    char c = in[at];
    if (c == '\r') {
      size_t len = (at + 1 < in.size() && in[at + 1] == '\n') ? 2 : 1;
      Emit(p, singleLine ? " " : "\n", at);
      return len;
    }
    if (c == '\n') {
      Emit(p, singleLine ? " " : "\n", at);
      return 1;
    }
    if (c == '\t') {
      Emit(p, expandTabs ? "\t" : " ", at);
      return 1;
    }
    size_t len = utf8::CharBytes(in, at);
    if (c == '\0') {
      Emit(p, " ", at);
    } else if (len == 1 && static_cast<unsigned char>(c) >= 0x80) {
      Emit(p, "\xEF\xBF\xBD", at);  // a byte that is no UTF-8 shows as the replacement character
    } else if (len > 1 && !g_utf8_validate(in.data() + at, static_cast<gssize>(len), nullptr)) {
      Emit(p, "\xEF\xBF\xBD", at);
    } else {
      Emit(p, in.substr(at, len), at);
    }
    return len;
  };
  while (i < in.size()) {
    if (prefixes && in[i] == '&') {
      if (i + 1 >= in.size()) break;  // a lone trailing prefix disappears
      if (in[i + 1] == '&') {
        Emit(p, "&", i);
        i += 2;
        continue;
      }
      size_t start = p.Text.size();
      i += 1 + emitChar(i + 1);
      p.Underlines.push_back({start, p.Text.size()});
      continue;
    }
    i += emitChar(i);
  }
  p.Map.push_back(in.size());
  return p;
}

// Offsets of the code point boundaries of s where a cut may fall (never before a combining mark).
std::vector<size_t> CutPoints(std::string_view s) {
  std::vector<size_t> cuts{0};
  for (size_t i = 0; i < s.size();) {
    i += utf8::CharBytes(s, i);
    if (i < s.size() && g_unichar_ismark(static_cast<gunichar>(utf8::Decode(s, i)))) continue;
    cuts.push_back(i);
  }
  return cuts;
}

// Largest n in [lo, hi] with fits(n), assuming fits is monotone; lo - 1 when none.
template <class F>
int LargestFitting(int lo, int hi, F&& fits) {
  int best = lo - 1;
  while (lo <= hi) {
    int mid = lo + (hi - lo) / 2;
    if (fits(mid)) {
      best = mid;
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  return best;
}

struct TCut {
  size_t Begin = 0, End = 0;  // replaced byte range of the paragraph
  std::string Insert;
};

TCut EndEllipsis(const TTextFont& font, std::string_view para, int width) {
  std::vector<size_t> cuts = CutPoints(para);
  int n = LargestFitting(0, static_cast<int>(cuts.size()) - 1, [&](int k) {
    std::string s(para.substr(0, cuts[static_cast<size_t>(k)]));
    return MeasureTextWidth(font, s + kEllipsis) <= width;
  });
  size_t at = n < 0 ? 0 : cuts[static_cast<size_t>(n)];
  return {at, para.size(), kEllipsis};
}

TCut PathEllipsis(const TTextFont& font, std::string_view para, int width) {
  size_t sep = para.find_last_of("/\\");
  if (sep == std::string_view::npos) {
    // No path: keep the start and the end, drop the middle.
    std::vector<size_t> cuts = CutPoints(para);
    int count = static_cast<int>(cuts.size()) - 1;
    auto split = [&](int k) {
      int head = (k + 1) / 2, tail = k / 2;
      return std::make_pair(cuts[static_cast<size_t>(head)], cuts[static_cast<size_t>(count - tail)]);
    };
    int n = LargestFitting(0, count - 1, [&](int k) {
      auto [h, t] = split(k);
      std::string s = std::string(para.substr(0, h)) + kEllipsis + std::string(para.substr(t));
      return MeasureTextWidth(font, s) <= width;
    });
    auto [h, t] = split(std::max(n, 0));
    return {h, t, kEllipsis};
  }
  std::string_view tail = para.substr(sep);
  std::vector<size_t> cuts = CutPoints(para.substr(0, sep));
  int n = LargestFitting(0, static_cast<int>(cuts.size()) - 1, [&](int k) {
    std::string s = std::string(para.substr(0, cuts[static_cast<size_t>(k)])) + kEllipsis + std::string(tail);
    return MeasureTextWidth(font, s) <= width;
  });
  if (n >= 0) return {cuts[static_cast<size_t>(n)], sep, kEllipsis};
  // Not even the last component fits: shorten "..." + component at its end.
  std::string whole = std::string(kEllipsis) + std::string(tail);
  TCut c = EndEllipsis(font, whole, width);
  return {0, para.size(), whole.substr(0, c.Begin) + c.Insert};
}

// Replaces [b, e) of the prepared text (and the matching part of the caller's text).
void Replace(TPlainText& p, std::string& modified, size_t b, size_t e, const std::string& with) {
  modified.replace(p.Map[b], p.Map[e] - p.Map[b], with);
  p.Text.replace(b, e - b, with);
  std::vector<size_t> map(p.Map.begin(), p.Map.begin() + static_cast<ptrdiff_t>(b));
  map.insert(map.end(), with.size(), p.Map[b]);
  size_t delta = p.Map[e] - p.Map[b];
  for (size_t i = e; i < p.Map.size(); ++i) map.push_back(p.Map[i] - delta + with.size());
  p.Map = std::move(map);
  std::vector<std::pair<size_t, size_t>> keep;
  for (auto [ub, ue] : p.Underlines) {
    if (ue <= b) keep.push_back({ub, ue});
    else if (ub >= e) keep.push_back({ub - (e - b) + with.size(), ue - (e - b) + with.size()});
  }
  p.Underlines = std::move(keep);
}

PangoLayout* Scratch(bool rtl) {
  static PangoLayout* layouts[2] = {nullptr, nullptr};
  PangoLayout*& l = layouts[rtl ? 1 : 0];
  if (!l) {
    l = pango_layout_new(SharedTextContext(rtl));
    pango_layout_set_auto_dir(l, FALSE);
  }
  return l;
}

int PixelWidth(PangoLayout* l) {
  PangoRectangle logical;
  pango_layout_get_pixel_extents(l, nullptr, &logical);
  return logical.width;
}

void ApplyTabs(PangoLayout* layout, const TTextFont& font, int tabChars) {
  PangoTabArray* tabs = pango_tab_array_new(2, TRUE);
  int step = std::max(1, tabChars) * font.Metrics().AveCharWidth;
  pango_tab_array_set_tab(tabs, 0, PANGO_TAB_LEFT, step);
  pango_tab_array_set_tab(tabs, 1, PANGO_TAB_LEFT, 2 * step);
  pango_layout_set_tabs(layout, tabs);
  pango_tab_array_free(tabs);
}

std::string CacheKey(const TLayoutRequest& r, unsigned flags) {
  std::string key = r.Font->ShapeKey();
  key += '\x1f';
  key += std::to_string(flags) + ":" + std::to_string(r.Width) + ":" + std::to_string(r.Height) + ":" +
         std::to_string(r.TabChars);
  key += '\x1f';
  key.append(r.Text);
  return key;
}

std::shared_ptr<TTextLayout> Build(const TLayoutRequest& r, unsigned flags) {
  const TTextFont& font = *r.Font;
  bool single = flags & DT_SINGLELINE;
  bool wrap = !single && (flags & DT_WORDBREAK);
  bool rtl = flags & DT_RTLREADING;
  bool expandTabs = flags & DT_EXPANDTABS;
  TPlainText p = Prepare(r.Text, !(flags & DT_NOPREFIX), single, expandTabs);
  auto out = std::make_shared<TTextLayout>();
  out->Modified.assign(r.Text);
  out->Layout = pango_layout_new(SharedTextContext(rtl));
  PangoLayout* layout = out->Layout;
  // The reading order comes from the flags, never from the text.
  pango_layout_set_auto_dir(layout, FALSE);
  pango_layout_set_font_description(layout, font.Description());
  pango_layout_set_single_paragraph_mode(layout, single);
  if (expandTabs) ApplyTabs(layout, font, r.TabChars);
  PangoLayout* scratch = Scratch(rtl);
  pango_layout_set_font_description(scratch, font.Description());
  if (expandTabs) ApplyTabs(scratch, font, r.TabChars);
  else pango_layout_set_tabs(scratch, nullptr);
  bool ellipsis = (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) && r.Width >= 0;
  if (ellipsis && !wrap) {
    // Each paragraph that is too wide is shortened; from the last, so offsets stay valid.
    std::vector<std::pair<size_t, size_t>> paras;
    size_t start = 0;
    for (size_t i = 0; i <= p.Text.size(); ++i)
      if (i == p.Text.size() || p.Text[i] == '\n') {
        paras.push_back({start, i});
        start = i + 1;
      }
    for (auto it = paras.rbegin(); it != paras.rend(); ++it) {
      std::string para = p.Text.substr(it->first, it->second - it->first);
      pango_layout_set_text(scratch, para.c_str(), static_cast<int>(para.size()));
      if (PixelWidth(scratch) <= r.Width) continue;
      TCut c = (flags & DT_PATH_ELLIPSIS) ? PathEllipsis(font, para, r.Width) : EndEllipsis(font, para, r.Width);
      Replace(p, out->Modified, it->first + c.Begin, it->first + c.End, c.Insert);
      out->Shortened = true;
    }
  }
  if (wrap) pango_layout_set_width(layout, std::max(0, r.Width) * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  pango_layout_set_text(layout, p.Text.c_str(), static_cast<int>(p.Text.size()));
  const int lineHeight = font.Metrics().Height;
  if (wrap && ellipsis && (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) && r.Height >= 0 && lineHeight > 0) {
    int maxLines = std::max(1, r.Height / lineHeight);
    if (pango_layout_get_line_count(layout) > maxLines) {
      PangoLayoutLine* last = pango_layout_get_line_readonly(layout, maxLines - 1);
      size_t s = static_cast<size_t>(last->start_index);
      for (size_t i = s; i < p.Text.size(); ++i)
        if (p.Text[i] == '\n') p.Text[i] = ' ';
      std::string rest = p.Text.substr(s);
      TCut c = EndEllipsis(font, rest, r.Width);
      Replace(p, out->Modified, s + c.Begin, s + c.End, c.Insert);
      out->Shortened = true;
      pango_layout_set_text(layout, p.Text.c_str(), static_cast<int>(p.Text.size()));
    }
  }
  if (!out->Shortened) out->Modified.assign(r.Text);
  out->Text = p.Text;

  // Lines and their widths (Pango leaves the trailing spaces of a wrapped line out of them).
  GSList* lines = pango_layout_get_lines_readonly(layout);
  for (GSList* l = lines; l; l = l->next) {
    auto* line = static_cast<PangoLayoutLine*>(l->data);
    PangoRectangle logical;
    pango_layout_line_get_pixel_extents(line, nullptr, &logical);
    TLaidLine laid;
    laid.Line = line;
    laid.RTL = line->resolved_dir == PANGO_DIRECTION_RTL;
    laid.Width = std::max(0, logical.width);
    laid.OriginX = -logical.x;
    out->MaxWidth = std::max(out->MaxWidth, laid.Width);
    out->Lines.push_back(laid);
  }
  if (!(flags & DT_HIDEPREFIX)) {
    for (auto [b, e] : p.Underlines) {
      for (size_t li = 0; li < out->Lines.size(); ++li) {
        PangoLayoutLine* line = out->Lines[li].Line;
        size_t ls = static_cast<size_t>(line->start_index), le = ls + static_cast<size_t>(line->length);
        if (b < ls || b >= le) continue;
        int x0, x1;
        pango_layout_line_index_to_x(line, static_cast<int>(b), FALSE, &x0);
        pango_layout_line_index_to_x(line, static_cast<int>(b), TRUE, &x1);
        if (x1 < x0) std::swap(x0, x1);
        out->Underlines.push_back({static_cast<int>(li), PANGO_PIXELS_FLOOR(x0), PANGO_PIXELS_CEIL(x1)});
        break;
      }
    }
  }
  return out;
}
}  // namespace

int MeasureTextWidth(const TTextFont& font, std::string_view text) {
  PangoLayout* l = Scratch(false);
  pango_layout_set_font_description(l, font.Description());
  pango_layout_set_text(l, text.data(), static_cast<int>(text.size()));
  return PixelWidth(l);
}

std::shared_ptr<const TTextLayout> GetTextLayout(const TLayoutRequest& r) {
  // Only the flags that change the layout take part in the key.
  unsigned flags = r.Flags & (DT_SINGLELINE | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_HIDEPREFIX |
                              DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS | DT_RTLREADING);
  TLayoutRequest q = r;
  bool usesWidth = (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) ||
                   ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE));
  if (!usesWidth) q.Width = -1;
  if (!((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE) && (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)))) q.Height = -1;
  if (!(flags & DT_EXPANDTABS)) q.TabChars = 0;
  TLayoutCache& cache = Cache();
  std::string key = CacheKey(q, flags);
  if (auto hit = cache.Find(key)) {
    ++cache.Hits;
    return hit;
  }
  ++cache.Misses;
  std::shared_ptr<const TTextLayout> built = Build(q, flags);
  cache.Add(std::move(key), built);
  return built;
}

TTextLayoutCacheStats TextLayoutCacheStats() {
  std::lock_guard lock(TextMutex());
  TLayoutCache& c = Cache();
  return {c.Hits, c.Misses, c.Order.size(), c.Capacity};
}

void ClearTextLayoutCache() {
  std::lock_guard lock(TextMutex());
  Cache().Clear();
}

void SetTextLayoutCacheCapacity(size_t capacity) {
  std::lock_guard lock(TextMutex());
  Cache().Capacity = capacity;
  Cache().Trim();
}
