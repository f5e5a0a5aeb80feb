#include "platform/graphics/textfont.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "platform/core/strings.h"

std::recursive_mutex& TextMutex() {
  static std::recursive_mutex* m = new std::recursive_mutex();
  return *m;
}

namespace {
struct TEngine {
  PangoFontMap* FontMap = nullptr;
  PangoContext* Contexts[2] = {nullptr, nullptr};
  TEngine() {
    FontMap = pango_cairo_font_map_new();
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_subpixel_order(fo, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_ON);
    for (int i = 0; i < 2; ++i) {
      Contexts[i] = pango_font_map_create_context(FontMap);
      pango_cairo_context_set_resolution(Contexts[i], 96.0);
      pango_cairo_context_set_font_options(Contexts[i], fo);
      pango_context_set_base_dir(Contexts[i], i ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
    }
    cairo_font_options_destroy(fo);
  }
};

TEngine& Engine() {
  static TEngine* e = new TEngine();
  return *e;
}

bool Contains(const std::string& hay, const char* needle) { return hay.find(needle) != std::string::npos; }
}  // namespace

PangoContext* SharedTextContext(bool rtl) { return Engine().Contexts[rtl ? 1 : 0]; }

bool IsFontFamilyInstalled(const std::string& family) {
  if (family.empty()) return false;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(nullptr, pat, os);
  bool found = set && set->nfont > 0;
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  return found;
}

namespace {
// The family fontconfig picks for a generic name ("sans-serif", "serif", "monospace").
std::string MatchGeneric(const char* generic) {
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pat, &result);
  std::string family;
  FcChar8* s = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &s) == FcResultMatch) family = reinterpret_cast<char*>(s);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pat);
  return family.empty() ? generic : family;
}

const char* GenericKind(const std::string& requested, uint8_t pitchAndFamily) {
  std::string n = LowerCase(requested);
  uint8_t family = pitchAndFamily & 0xF0, pitch = pitchAndFamily & 0x03;
  if (pitch == FIXED_PITCH || family == FF_MODERN || Contains(n, "mono") || Contains(n, "courier") ||
      Contains(n, "console") || Contains(n, "fixed") || Contains(n, "typewriter"))
    return "monospace";
  if (family == FF_ROMAN || (Contains(n, "serif") && !Contains(n, "sans")) || Contains(n, "times") ||
      Contains(n, "roman") || Contains(n, "georgia"))
    return "serif";
  return "sans-serif";
}
}  // namespace

std::string ResolveFontFamily(const std::string& requested, uint8_t pitchAndFamily) {
  std::lock_guard lock(TextMutex());
  static std::map<std::pair<std::string, uint8_t>, std::string> cache;
  auto key = std::make_pair(requested, pitchAndFamily);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  std::string result = IsFontFamilyInstalled(requested) ? requested : MatchGeneric(GenericKind(requested, pitchAndFamily));
  cache.emplace(key, result);
  return result;
}

TTextFont::~TTextFont() {
  if (FDesc) pango_font_description_free(FDesc);
}

namespace {
constexpr int kDefaultEm = 11;

PangoFontDescription* Describe(const std::string& family, int emPx, int weight, bool italic) {
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family.c_str());
  pango_font_description_set_absolute_size(d, emPx * PANGO_SCALE);
  pango_font_description_set_weight(d, static_cast<PangoWeight>(std::clamp(weight <= 0 ? FW_NORMAL : weight, 100, 1000)));
  pango_font_description_set_style(d, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return d;
}

int CeilUnits(int v) { return (v + PANGO_SCALE - 1) / PANGO_SCALE; }

TTextFontMetrics Measure(PangoFontDescription* d, int emPx) {
  TTextFontMetrics m;
  PangoContext* ctx = SharedTextContext(false);
  PangoFont* font = pango_font_map_load_font(Engine().FontMap, ctx, d);
  PangoFontMetrics* fm = pango_context_get_metrics(ctx, d, nullptr);
  m.Ascent = CeilUnits(pango_font_metrics_get_ascent(fm));
  m.Descent = CeilUnits(pango_font_metrics_get_descent(fm));
  m.Height = m.Ascent + m.Descent;
  m.EmHeight = emPx;
  m.AveCharWidth = std::max(1, static_cast<int>(std::lround(pango_font_metrics_get_approximate_char_width(fm) / double(PANGO_SCALE))));
  m.UnderlinePosition = std::max(1, static_cast<int>(std::lround(-pango_font_metrics_get_underline_position(fm) / double(PANGO_SCALE))));
  m.UnderlineThickness = std::max(1, static_cast<int>(std::lround(pango_font_metrics_get_underline_thickness(fm) / double(PANGO_SCALE))));
  m.StrikeoutPosition = std::max(1, static_cast<int>(std::lround(pango_font_metrics_get_strikethrough_position(fm) / double(PANGO_SCALE))));
  m.MaxCharWidth = m.AveCharWidth * 2;
  if (font) {
    if (cairo_scaled_font_t* sf = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font))) {
      cairo_font_extents_t fe;
      cairo_scaled_font_extents(sf, &fe);
      m.MaxCharWidth = std::max(m.AveCharWidth, static_cast<int>(std::ceil(fe.max_x_advance)));
    }
    g_object_unref(font);
  }
  pango_font_metrics_unref(fm);
  // Keep the underline inside the descent so that it is never clipped off a line.
  m.UnderlinePosition = std::min(m.UnderlinePosition, std::max(0, m.Descent - m.UnderlineThickness));
  return m;
}
}  // namespace

std::shared_ptr<TTextFont> MakeTextFont(const LOGFONT& lf) {
  auto f = std::make_shared<TTextFont>();
  std::string requested(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  if (requested.empty()) requested = "Sans";
  f->FFamily = ResolveFontFamily(requested, lf.lfPitchAndFamily);
  bool italic = lf.lfItalic != 0;
  constexpr int kMaxEm = 2000;
  int em = lf.lfHeight < 0 ? (lf.lfHeight < -kMaxEm ? kMaxEm : -lf.lfHeight) : kDefaultEm;
  if (lf.lfHeight > 0) {
    // Cell height: find the em size whose ascent + descent is the largest not above it.
    PangoFontDescription* probe = Describe(f->FFamily, 100, lf.lfWeight, italic);
    TTextFontMetrics pm = Measure(probe, 100);
    pango_font_description_free(probe);
    em = std::clamp(static_cast<int>(std::lround(std::min(lf.lfHeight, 4 * kMaxEm) * 100.0 / std::max(1, pm.Height))), 1,
                    kMaxEm);
    for (int guard = 0; guard < 4; ++guard) {
      PangoFontDescription* d = Describe(f->FFamily, em, lf.lfWeight, italic);
      int h = Measure(d, em).Height;
      pango_font_description_free(d);
      if (h > lf.lfHeight && em > 1) --em;
      else break;
    }
  }
  em = std::clamp(em, 1, kMaxEm);
  f->FDesc = Describe(f->FFamily, em, lf.lfWeight, italic);
  f->FMetrics = Measure(f->FDesc, em);
  f->FUnderline = lf.lfUnderline != 0;
  f->FStrikeOut = lf.lfStrikeOut != 0;
  f->FEscapement = lf.lfEscapement != 0 ? lf.lfEscapement : lf.lfOrientation;
  f->FShapeKey = f->FFamily + "|" + std::to_string(em) + "|" + std::to_string(lf.lfWeight) + "|" + (italic ? "i" : "n");
  return f;
}

std::shared_ptr<TTextFont> TextFontFor(const LOGFONT& lf) {
  std::lock_guard lock(TextMutex());
  static std::unordered_map<std::string, std::shared_ptr<TTextFont>> cache;
  std::string key(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  for (int v : {lf.lfHeight, lf.lfWeight, int(lf.lfItalic), int(lf.lfUnderline), int(lf.lfStrikeOut), lf.lfEscapement,
                lf.lfOrientation, int(lf.lfPitchAndFamily)}) {
    key += '|';
    key += std::to_string(v);
  }
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  auto f = MakeTextFont(lf);
  cache.emplace(key, f);
  return f;
}

std::shared_ptr<TTextFont> TextFontOf(TGdiFont& font) {
  std::lock_guard lock(TextMutex());
  if (auto r = std::dynamic_pointer_cast<TTextFont>(font.Resources)) return r;
  auto f = TextFontFor(font.Log);
  font.Resources = f;
  return f;
}
