#include "platform/themes/styleparser.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/themes/colormath.h"
#include "platform/themes/standardlook.h"
#include "platform/themes/stylesyntax.h"

namespace {
struct TGlyphName {
  const char* Name;
  TStyleGlyph Glyph;
};
constexpr TGlyphName kGlyphs[] = {
    {"none", sgNone}, {"check", sgCheck}, {"mixed", sgMixed}, {"dot", sgDot},
    {"arrow-up", sgArrowUp}, {"arrow-down", sgArrowDown}, {"arrow-left", sgArrowLeft},
    {"arrow-right", sgArrowRight}, {"chevron-up", sgChevronUp}, {"chevron-down", sgChevronDown},
    {"chevron-left", sgChevronLeft}, {"chevron-right", sgChevronRight},
    {"grip-horz", sgGripHorz}, {"grip-vert", sgGripVert}, {"plus", sgPlus}, {"minus", sgMinus},
    {"line-horz", sgLineHorz}, {"line-vert", sgLineVert}};

struct TMaskWord {
  const char* Name;
  uint8_t Mask;
};
constexpr TMaskWord kCornerWords[] = {
    {"all", kCornersAll}, {"none", 0}, {"top", kCornerTopLeft | kCornerTopRight},
    {"bottom", kCornerBottomLeft | kCornerBottomRight}, {"left", kCornerTopLeft | kCornerBottomLeft},
    {"right", kCornerTopRight | kCornerBottomRight}, {"top-left", kCornerTopLeft},
    {"top-right", kCornerTopRight}, {"bottom-left", kCornerBottomLeft},
    {"bottom-right", kCornerBottomRight}};
constexpr TMaskWord kSideWords[] = {{"all", kSidesAll}, {"none", 0}, {"top", kSideTop},
                                    {"right", kSideRight}, {"bottom", kSideBottom},
                                    {"left", kSideLeft}};

using TApply = std::function<void(TElementLook&)>;

class TEvaluator {
public:
  TEvaluator(const TStyleSyntax& s, const String& source, const TStyleFileReader& files)
      : S(s), Source(source), Files(files) {}

  TStyleData Run() {
    if (!S.Name) Fail(S.Line, S.Column, "the style has no name: add a line such as name \"My style\"");
    PaletteState.assign(S.Palette.size(), 0);
    PaletteValue.resize(S.Palette.size());
    SystemState.fill(0);
    System = DefaultSystemColors();
    for (const TStyleEntry& e : S.System) SystemColor(e.Index);

    TStyleData d = MakeStandardStyle(System);
    d.Name = Trim(*S.Name);
    d.Author = S.Author.value_or("");
    d.Description = S.Description.value_or("");
    d.Version = S.StyleVersion.value_or("");
    for (const TStyleEntry& e : S.Palette) PaletteColor(e);  // every entry is checked, used or not

    TStyleColorsGiven colorGiven{};
    TStyleFontsGiven fontGiven{};
    for (const TStyleEntry& e : S.Colors) {
      d.Colors[static_cast<size_t>(e.Index)] = OpaqueOne(e);
      colorGiven[static_cast<size_t>(e.Index)] = true;
    }
    for (const TStyleEntry& e : S.Fonts) {
      d.Fonts[static_cast<size_t>(e.Index)] = OpaqueOne(e);
      fontGiven[static_cast<size_t>(e.Index)] = true;
    }
    for (const TStylePictureStmt& p : S.Pictures) d.Pictures.push_back(LoadPicture(p));
    Pictures = &d.Pictures;
    for (const TStyleEntry& e : S.Properties) {
      TApply apply = Compile(e);
      for (int slot : e.Slots) apply(d.Looks[static_cast<size_t>(slot)]);
    }
    DeriveNamedColors(d, colorGiven, fontGiven);
    return d;
  }

private:
  [[noreturn]] void Fail(int line, int column, const String& what) const {
    throw EStyleError(Source, line, column, what);
  }
  [[noreturn]] void Fail(const TStyleValue& v, const String& what) const { Fail(v.Line, v.Column, what); }

  // ---- colours ----
  TColor SystemColor(int index) {
    auto i = static_cast<size_t>(index);
    if (SystemState[i] == 2) return System.Colors[i];
    const TStyleEntry* entry = nullptr;
    for (const TStyleEntry& e : S.System)
      if (e.Index == index) entry = &e;
    if (!entry) return System.Colors[i];
    if (SystemState[i] == 1) Fail(entry->Line, entry->Column, "'" + entry->Key + "' is defined in terms of itself");
    SystemState[i] = 1;
    System.Colors[i] = OpaqueOne(*entry);
    SystemState[i] = 2;
    return System.Colors[i];
  }
  TStyleRGBA PaletteColor(const TStyleEntry& e) {
    auto i = static_cast<size_t>(&e - S.Palette.data());
    if (PaletteState[i] == 2) return PaletteValue[i];
    if (PaletteState[i] == 1) Fail(e.Line, e.Column, "palette colour '" + e.Key + "' is defined in terms of itself");
    PaletteState[i] = 1;
    PaletteValue[i] = Color(One(e));
    PaletteState[i] = 2;
    return PaletteValue[i];
  }
  const TStyleValue& One(const TStyleEntry& e) const {
    if (e.Values.size() != 1) Fail(e.Values[1], "'" + e.Key + "' takes one value");
    return e.Values[0];
  }
  TColor OpaqueOne(const TStyleEntry& e) {
    const TStyleValue& v = One(e);
    TStyleRGBA c = Color(v);
    if (c.A != 255) Fail(v, "'" + e.Key + "' must be an opaque colour");
    return c.ToColor();
  }
  static uint8_t Hex(const String& s, size_t at, size_t len) {
    unsigned v = 0;
    for (size_t i = at; i < at + len; ++i) {
      char c = s[i];
      v = v * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return static_cast<uint8_t>(len == 1 ? v * 17 : v);
  }
  int Number(const TStyleValue& v, int lo, int hi, const char* what) const {
    if (v.Kind != stNumber) Fail(v, String("expected ") + what);
    if (v.Number < lo || v.Number > hi)
      Fail(v, String(what) + " must be from " + IntToStr(lo) + " to " + IntToStr(hi) + ", not " + IntToStr(v.Number));
    return static_cast<int>(v.Number);
  }
  const TStyleValue& Arg(const TStyleValue& call, size_t i) const {
    if (call.Args[i].size() != 1) Fail(call.Args[i][1], "unexpected value in the arguments of '" + call.Text + "'");
    return call.Args[i][0];
  }
  void Arity(const TStyleValue& call, size_t lo, size_t hi, const char* usage) const {
    if (call.Args.size() < lo || call.Args.size() > hi) Fail(call, String("usage: ") + usage);
  }

  TStyleRGBA Color(const TStyleValue& v) {
    if (v.Kind == stColor) {
      const String& h = v.Text;
      if (h.size() == 3) return {Hex(h, 0, 1), Hex(h, 1, 1), Hex(h, 2, 1), 255};
      return {Hex(h, 0, 2), Hex(h, 2, 2), Hex(h, 4, 2), h.size() == 8 ? Hex(h, 6, 2) : uint8_t{255}};
    }
    if (v.Kind != stIdent) Fail(v, "expected a colour (#RRGGBB, a palette name, a colour name or a function)");
    if (v.IsCall) return Function(v);
    if (v.Text == "none" || v.Text == "transparent") return kTransparent;
    for (const TStyleEntry& e : S.Palette)
      if (SameText(e.Key, v.Text)) return PaletteColor(e);
    if (std::optional<TColor> c = IdentToColor(v.Text)) {
      if (*c == clNone || *c == clDefault) Fail(v, "'" + v.Text + "' is not a colour here");
      if (IsSystemColor(*c)) return TStyleRGBA::Opaque(SystemColor(static_cast<int>(static_cast<uint32_t>(*c) & 0xFF)));
      return TStyleRGBA::Opaque(*c);
    }
    Fail(v, "unknown colour '" + v.Text + "'");
  }

  TStyleRGBA Function(const TStyleValue& v) {
    if (v.Text == "mix") {
      Arity(v, 2, 3, "mix(colour, colour[, percent of the second])");
      int p = v.Args.size() == 3 ? Number(Arg(v, 2), 0, 100, "a percentage") : 50;
      return MixRGBA(Color(Arg(v, 0)), Color(Arg(v, 1)), p);
    }
    if (v.Text == "lighten" || v.Text == "darken") {
      Arity(v, 2, 2, "lighten(colour, percent) or darken(colour, percent)");
      TStyleRGBA c = Color(Arg(v, 0));
      int p = Number(Arg(v, 1), 0, 100, "a percentage");
      TStyleRGBA to = v.Text == "lighten" ? TStyleRGBA{255, 255, 255, c.A} : TStyleRGBA{0, 0, 0, c.A};
      return MixRGBA(c, to, p);
    }
    if (v.Text == "alpha") {
      Arity(v, 2, 2, "alpha(colour, opacity 0 to 255)");
      TStyleRGBA c = Color(Arg(v, 0));
      c.A = static_cast<uint8_t>(Number(Arg(v, 1), 0, 255, "an opacity"));
      return c;
    }
    if (v.Text == "vertical" || v.Text == "horizontal") Fail(v, "a gradient is a fill, not a colour");
    Fail(v, "unknown function '" + v.Text + "' (functions: mix, lighten, darken, alpha)");
  }

  TPaint Paint(const TStyleValue& v) {
    if (v.Kind == stIdent && !v.IsCall && v.Text == "none") return {};
    if (!v.IsCall || (v.Text != "vertical" && v.Text != "horizontal")) return TPaint::Solid(Color(v));
    if (v.Args.size() < 2) Fail(v, "a gradient needs at least two colours: " + v.Text + "(#FFFFFF, #E0E0E0)");
    TPaint p;
    p.Kind = v.Text == "vertical" ? pkVertical : pkHorizontal;
    size_t positioned = 0;
    for (const TStyleValues& arg : v.Args) {
      if (arg.size() > 2) Fail(arg[2], "a gradient stop is a colour and an optional position");
      TGradientStop stop;
      stop.Color = Color(arg[0]);
      if (arg.size() == 2) {
        stop.Position = static_cast<float>(Number(arg[1], 0, 100, "a stop position")) / 100.f;
        ++positioned;
        if (!p.Stops.empty() && positioned > 1 && stop.Position < p.Stops.back().Position)
          Fail(arg[1], "gradient stops must be in ascending order");
      }
      p.Stops.push_back(stop);
    }
    if (positioned != 0 && positioned != p.Stops.size())
      Fail(v, "give a position to every stop of the gradient or to none");
    if (positioned == 0)
      for (size_t i = 0; i < p.Stops.size(); ++i)
        p.Stops[i].Position = static_cast<float>(i) / static_cast<float>(p.Stops.size() - 1);
    return p;
  }

  // ---- properties ----
  void Count(const TStyleEntry& e, size_t lo, size_t hi, const char* usage) const {
    if (e.Values.size() < lo || e.Values.size() > hi) {
      const TStyleValue& at = e.Values.size() > hi ? e.Values[hi] : e.Values.back();
      Fail(at, "usage: " + e.Key + " " + usage);
    }
  }
  uint8_t Mask(const TStyleEntry& e, std::span<const TMaskWord> words) const {
    uint8_t mask = 0;
    for (const TStyleValue& v : e.Values) {
      const TMaskWord* found = nullptr;
      for (const TMaskWord& w : words)
        if (v.Kind == stIdent && !v.IsCall && v.Text == w.Name) found = &w;
      if (!found) {
        String list;
        for (const TMaskWord& w : words) list += (list.empty() ? "" : ", ") + String(w.Name);
        Fail(v, "expected one of " + list);
      }
      mask |= found->Mask;
    }
    return mask;
  }
  TInsets Insets(const TStyleEntry& e) const {
    Count(e, 1, 4, "<all> | <horizontal> <vertical> | <left> <top> <right> <bottom>");
    if (e.Values.size() == 3) Fail(e.Values[2], "usage: " + e.Key + " takes 1, 2 or 4 numbers");
    int n[4];
    for (size_t i = 0; i < e.Values.size(); ++i) n[i] = Number(e.Values[i], 0, 255, "an inset");
    if (e.Values.size() == 1) return {n[0], n[0], n[0], n[0]};
    if (e.Values.size() == 2) return {n[0], n[1], n[0], n[1]};
    return {n[0], n[1], n[2], n[3]};
  }
  TStyleRGBA ColorProperty(const TStyleEntry& e) {
    Count(e, 1, 1, "<colour> | none");
    return Color(e.Values[0]);
  }

  TApply Compile(const TStyleEntry& e) {
    const String& k = e.Key;
    if (k == "fill") {
      Count(e, 1, 1, "<colour> | vertical(<stops>) | horizontal(<stops>) | none");
      TPaint p = Paint(e.Values[0]);
      return [p](TElementLook& l) { l.Fill = p; };
    }
    if (k == "border") { TStyleRGBA c = ColorProperty(e); return [c](TElementLook& l) { l.Border = c; }; }
    if (k == "inner") { TStyleRGBA c = ColorProperty(e); return [c](TElementLook& l) { l.Inner = c; }; }
    if (k == "shadow") { TStyleRGBA c = ColorProperty(e); return [c](TElementLook& l) { l.Shadow = c; }; }
    if (k == "glyph-color") { TStyleRGBA c = ColorProperty(e); return [c](TElementLook& l) { l.GlyphColor = c; }; }
    if (k == "border-width") {
      Count(e, 1, 1, "<pixels>");
      int n = Number(e.Values[0], 0, 8, "a border width");
      return [n](TElementLook& l) { l.BorderWidth = n; };
    }
    if (k == "radius") {
      Count(e, 1, 1, "<pixels>");
      int n = Number(e.Values[0], 0, 100, "a radius");
      return [n](TElementLook& l) { l.Radius = n; };
    }
    if (k == "glyph-size") {
      Count(e, 1, 1, "<pixels>");
      int n = Number(e.Values[0], 0, 64, "a glyph size");
      return [n](TElementLook& l) { l.GlyphSize = n; };
    }
    if (k == "corners") { uint8_t m = Mask(e, kCornerWords); return [m](TElementLook& l) { l.Corners = m; }; }
    if (k == "sides") { uint8_t m = Mask(e, kSideWords); return [m](TElementLook& l) { l.Sides = m; }; }
    if (k == "margin") { TInsets i = Insets(e); return [i](TElementLook& l) { l.Margin = i; }; }
    if (k == "content") { TInsets i = Insets(e); return [i](TElementLook& l) { l.Content = i; }; }
    if (k == "glyph") {
      Count(e, 1, 1, "<glyph>");
      const TStyleValue& v = e.Values[0];
      for (const TGlyphName& g : kGlyphs)
        if (v.Kind == stIdent && !v.IsCall && v.Text == g.Name) {
          TStyleGlyph glyph = g.Glyph;
          return [glyph](TElementLook& l) { l.Glyph = glyph; };
        }
      String list;
      for (const TGlyphName& g : kGlyphs) list += (list.empty() ? "" : ", ") + String(g.Name);
      Fail(v, "unknown glyph '" + v.Text + "' (glyphs: " + list + ")");
    }
    if (k == "text") {
      Count(e, 1, 1, "<colour>");
      TStyleRGBA c = Color(e.Values[0]);
      if (c.A != 255) Fail(e.Values[0], "a text colour must be opaque");
      TColor rgb = c.ToColor();
      return [rgb](TElementLook& l) { l.Text = rgb; };
    }
    if (k == "size") {
      Count(e, 2, 2, "<width> <height>");
      TSize s{Number(e.Values[0], 0, 512, "a width"), Number(e.Values[1], 0, 512, "a height")};
      return [s](TElementLook& l) { l.Size = s; };
    }
    if (k == "picture") {
      const TStyleValue& name = e.Values[0];
      if (e.Values.size() == 1 && name.Kind == stIdent && name.Text == "none")
        return [](TElementLook& l) { l.Picture = -1; };
      Count(e, 5, 5, "<name> <left> <top> <right> <bottom> | none");
      int index = -1;
      for (size_t i = 0; i < Pictures->size(); ++i)
        if (SameText((*Pictures)[i].Name, name.Text)) index = static_cast<int>(i);
      if (index < 0) Fail(name, "unknown picture '" + name.Text + "' (declare it with: picture " + name.Text + " \"file.png\")");
      const TStylePicture& pic = (*Pictures)[static_cast<size_t>(index)];
      TInsets m{Number(e.Values[1], 0, 1024, "a margin"), Number(e.Values[2], 0, 1024, "a margin"),
                Number(e.Values[3], 0, 1024, "a margin"), Number(e.Values[4], 0, 1024, "a margin")};
      if (m.Left + m.Right > pic.Width || m.Top + m.Bottom > pic.Height)
        Fail(e.Values[1], "the margins " + IntToStr(m.Left) + " " + IntToStr(m.Top) + " " + IntToStr(m.Right) + " " +
                              IntToStr(m.Bottom) + " do not fit picture '" + pic.Name + "' of " +
                              IntToStr(pic.Width) + " x " + IntToStr(pic.Height));
      return [index, m](TElementLook& l) { l.Picture = index; l.PictureMargins = m; };
    }
    Fail(e.Line, e.Column, "unknown property '" + k + "'");
  }

  TStylePicture LoadPicture(const TStylePictureStmt& p) {
    if (!Files) Fail(p.Line, p.Column, "picture '" + p.Name + "' cannot be read: this style is read without its files");
    if (p.File.front() == '/' || p.File.find("..") != String::npos || p.File.find('\\') != String::npos)
      Fail(p.Line, p.Column, "picture file '" + p.File + "' must be a relative path inside the style's folder");
    std::vector<uint8_t> bytes;
    try {
      bytes = Files(p.File);
    } catch (const Exception& e) {
      Fail(p.Line, p.Column, "picture '" + p.Name + "': " + e.Message());
    }
    try {
      return DecodeStylePicture(p.Name, bytes);
    } catch (const EReadError& e) {
      Fail(p.Line, p.Column, "picture '" + p.Name + "' (" + p.File + "): " + e.Message());
    }
  }

  const TStyleSyntax& S;
  const String& Source;
  const TStyleFileReader& Files;
  TSystemColorTable System{};
  std::array<int, COLOR_COUNT> SystemState{};
  std::vector<int> PaletteState;
  std::vector<TStyleRGBA> PaletteValue;
  const std::vector<TStylePicture>* Pictures = nullptr;
};

struct TPngReader {
  const std::vector<uint8_t>* Bytes;
  size_t Pos = 0;
};
cairo_status_t ReadPng(void* closure, unsigned char* data, unsigned int length) {
  auto* r = static_cast<TPngReader*>(closure);
  if (r->Pos + length > r->Bytes->size()) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, r->Bytes->data() + r->Pos, length);
  r->Pos += length;
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

TStylePicture DecodeStylePicture(const String& name, const std::vector<uint8_t>& png) {
  static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < sizeof kSignature || std::memcmp(png.data(), kSignature, sizeof kSignature) != 0)
    throw EReadError("not a PNG picture");
  TPngReader reader{&png};
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(ReadPng, &reader);
  if (cairo_surface_status(decoded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(decoded);
    throw EReadError("the PNG picture is damaged or truncated");
  }
  int w = cairo_image_surface_get_width(decoded), h = cairo_image_surface_get_height(decoded);
  if (w <= 0 || h <= 0 || w > 2048 || h > 2048) {
    cairo_surface_destroy(decoded);
    throw EReadError("a style picture must be from 1 x 1 to 2048 x 2048 pixels");
  }
  // Whatever format the PNG decoded to, paint it into premultiplied ARGB32.
  cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(argb);
  cairo_set_source_surface(cr, decoded, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(argb);
  TStylePicture pic;
  pic.Name = name;
  pic.Width = w;
  pic.Height = h;
  pic.Pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  const unsigned char* data = cairo_image_surface_get_data(argb);
  int stride = cairo_image_surface_get_stride(argb);
  for (int y = 0; y < h; ++y)
    std::memcpy(&pic.Pixels[static_cast<size_t>(y) * static_cast<size_t>(w)], data + static_cast<ptrdiff_t>(y) * stride,
                static_cast<size_t>(w) * 4);
  cairo_surface_destroy(argb);
  cairo_surface_destroy(decoded);
  return pic;
}

TStyleData ParseStyle(std::string_view text, const String& source, const TStyleFileReader& files) {
  TStyleLexer lexer(text, source);
  TStyleSyntax syntax = ReadStyleSyntax(lexer);
  return TEvaluator(syntax, source, files).Run();
}
