#include "platform/themes/stylesyntax.h"

#include <deque>

#include "platform/core/color.h"
#include "platform/themes/elements.h"
#include "platform/themes/styledata.h"

namespace {
constexpr const char* kProperties[] = {"fill", "border", "border-width", "inner", "shadow",
                                       "radius", "corners", "sides", "margin", "content",
                                       "glyph", "glyph-color", "glyph-size", "text", "picture",
                                       "size"};
constexpr const char* kStatements = "name, author, description, version, palette, system, colors, fonts, picture, element";

String JoinList(std::span<const char* const> items) {
  String s;
  for (const char* i : items) s += (s.empty() ? "" : ", ") + String(i);
  return s;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

class TSyntaxReader {
public:
  explicit TSyntaxReader(TStyleLexer& lexer) : L(lexer) {}

  TStyleSyntax Read() {
    SkipBreaks();
    const TStyleToken& first = Peek();
    if (first.Kind != stIdent || first.Text != "kvstyle")
      Fail(first, "a style text starts with the line 'kvstyle " + IntToStr(1) + "'");
    S.Line = first.Line;
    S.Column = first.Column;
    Take();
    TStyleToken v = Take();
    if (v.Kind != stNumber) Fail(v, "expected the format version after 'kvstyle'");
    if (v.Number != 1)
      Fail(v, "style format version " + IntToStr(v.Number) + " is not supported (this program reads version 1)");
    S.Version = 1;
    EndStatement();
    for (;;) {
      SkipBreaks();
      TStyleToken t = Take();
      if (t.Kind == stEnd) break;
      if (t.Kind != stIdent) Fail(t, "expected a statement (" + String(kStatements) + ")");
      if (t.Text == "name") Text(t, S.Name);
      else if (t.Text == "author") Text(t, S.Author);
      else if (t.Text == "description") Text(t, S.Description);
      else if (t.Text == "version") Text(t, S.StyleVersion);
      else if (t.Text == "palette") Table(S.Palette, t.Text);
      else if (t.Text == "system") Table(S.System, t.Text);
      else if (t.Text == "colors") Table(S.Colors, t.Text);
      else if (t.Text == "fonts") Table(S.Fonts, t.Text);
      else if (t.Text == "picture") Picture();
      else if (t.Text == "element") Element();
      else Fail(t, "unknown statement '" + t.Text + "' (expected " + kStatements + ")");
    }
    return std::move(S);
  }

private:
  [[noreturn]] void Fail(const TStyleToken& t, const String& what) { L.Fail(t.Line, t.Column, what); }
  [[noreturn]] void Fail(int line, int column, const String& what) { L.Fail(line, column, what); }

  const TStyleToken& Peek(size_t ahead = 0) {
    while (Buffer.size() <= ahead) Buffer.push_back(L.Next());
    return Buffer[ahead];
  }
  TStyleToken Take() {
    Peek();
    TStyleToken t = std::move(Buffer.front());
    Buffer.pop_front();
    return t;
  }
  bool AtBreak() {
    const TStyleToken& t = Peek();
    return t.Kind == stNewLine || t.Kind == stEnd || t.Is(';') || t.Is('}');
  }
  void SkipBreaks() {
    while (Peek().Kind == stNewLine || Peek().Is(';')) Take();
  }
  void SkipNewLines() {
    while (Peek().Kind == stNewLine) Take();
  }
  void EndStatement() {
    if (!AtBreak()) Fail(Peek(), "expected the end of the line, found " + Describe(Peek()));
    if (Peek().Kind == stNewLine || Peek().Is(';')) Take();
  }
  void Expect(char punct) {
    TStyleToken t = Take();
    if (!t.Is(punct)) Fail(t, "expected '" + String(1, punct) + "', found " + Describe(t));
  }
  static String Describe(const TStyleToken& t) {
    switch (t.Kind) {
      case stIdent: return "'" + t.Text + "'";
      case stString: return "a string";
      case stNumber: return "the number " + t.Text;
      case stColor: return "the colour #" + t.Text;
      case stPunct: return "'" + t.Text + "'";
      case stNewLine: return "the end of the line";
      case stEnd: return "the end of the text";
    }
    return "?";
  }
  void OptionalEquals() {
    if (Peek().Is('=') || Peek().Is(':')) Take();
  }

  void Text(const TStyleToken& keyword, std::optional<String>& field) {
    if (field) Fail(keyword, "'" + keyword.Text + "' is given twice");
    OptionalEquals();
    TStyleToken v = Take();
    if (v.Kind != stString) Fail(v, "expected a string in double quotes after '" + keyword.Text + "'");
    if (keyword.Text == "name" && Trim(v.Text).empty()) Fail(v, "the style name is empty");
    if (v.Text.size() > 400) Fail(v, "the text after '" + keyword.Text + "' is too long");
    field = v.Text;
    EndStatement();
  }

  TStyleValue Value() {
    TStyleToken t = Take();
    TStyleValue v;
    v.Kind = t.Kind;
    v.Text = t.Text;
    v.Number = t.Number;
    v.Line = t.Line;
    v.Column = t.Column;
    if (t.Kind == stIdent && Peek().Is('(')) {
      Take();
      v.IsCall = true;
      for (;;) {
        SkipNewLines();
        TStyleValues arg;
        while (!Peek().Is(',') && !Peek().Is(')')) {
          SkipNewLines();
          if (Peek().Kind == stEnd) Fail(Peek(), "missing ')' after the arguments of '" + v.Text + "'");
          arg.push_back(Value());
          SkipNewLines();
        }
        if (arg.empty()) Fail(Peek(), "an argument of '" + v.Text + "' is missing");
        v.Args.push_back(std::move(arg));
        if (Take().Is(')')) break;
      }
      return v;
    }
    if (t.Kind != stIdent && t.Kind != stString && t.Kind != stNumber && t.Kind != stColor)
      Fail(t, "expected a value, found " + Describe(t));
    return v;
  }
  TStyleValues Values(const TStyleToken& key) {
    TStyleValues values;
    while (!AtBreak()) values.push_back(Value());
    if (values.empty()) Fail(Peek(), "'" + key.Text + "' needs a value");
    return values;
  }

  int TableIndex(const String& table, const TStyleToken& key) {
    if (table == "palette") {
      if (key.Text.find_first_of(".*") != String::npos) Fail(key, "a palette name is an identifier: '" + key.Text + "'");
      if (StartsText("cl", key.Text) && IdentToColor(key.Text))
        Fail(key, "'" + key.Text + "' is a colour name already; choose another palette name");
      return -1;
    }
    if (table == "system") {
      std::optional<TColor> c = IdentToColor(key.Text);
      if (!c || !IsSystemColor(*c) || c == clNone)
        Fail(key, "'" + key.Text + "' is not a system colour (clBtnFace, clWindow, ...)");
      return static_cast<int>(static_cast<uint32_t>(*c) & 0xFF);
    }
    const TEnumInfo& info = table == "colors" ? EnumInfo<TStyleColor>() : EnumInfo<TStyleFont>();
    int index = info.IndexOf(key.Text);
    if (index < 0)
      Fail(key, "'" + key.Text + "' is not a style " + (table == "colors" ? "colour (scEdit, scWindow, ...)" : "font colour (sfEditBoxTextNormal, ...)"));
    return index;
  }

  void Table(std::vector<TStyleEntry>& entries, const String& table) {
    SkipNewLines();
    Expect('{');
    for (;;) {
      SkipBreaks();
      TStyleToken key = Take();
      if (key.Is('}')) break;
      if (key.Kind == stEnd) Fail(key, "missing '}' at the end of '" + table + "'");
      if (key.Kind != stIdent) Fail(key, "expected a name in '" + table + "', found " + Describe(key));
      TStyleEntry e;
      e.Key = key.Text;
      e.Index = TableIndex(table, key);
      e.Line = key.Line;
      e.Column = key.Column;
      for (const TStyleEntry& other : entries)
        if ((e.Index >= 0 ? other.Index == e.Index : SameText(other.Key, e.Key)))
          Fail(key, "'" + key.Text + "' is given twice in '" + table + "' (first on line " + IntToStr(other.Line) + ")");
      OptionalEquals();
      e.Values = Values(key);
      entries.push_back(std::move(e));
      EndStatement();
    }
    EndStatement();
  }

  void Picture() {
    TStyleToken name = Take();
    if (name.Kind != stIdent || name.Text.find_first_of(".*") != String::npos)
      Fail(name, "expected the picture's name after 'picture'");
    for (const TStylePictureStmt& p : S.Pictures)
      if (SameText(p.Name, name.Text)) Fail(name, "picture '" + name.Text + "' is declared twice");
    OptionalEquals();
    TStyleToken file = Take();
    if (file.Kind != stString || file.Text.empty()) Fail(file, "expected the picture's file name in double quotes");
    S.Pictures.push_back({name.Text, file.Text, name.Line, name.Column});
    EndStatement();
  }

  // `Element.Part` with wildcards in either name: every slot of every matching part.
  void Select(const TStyleToken& t, std::vector<const TElementPartInfo*>& parts) {
    size_t dot = t.Text.find('.');
    if (dot == String::npos || t.Text.find('.', dot + 1) != String::npos)
      Fail(t, "an element is written Element.Part, such as Button.PushButton: '" + t.Text + "'");
    String element = t.Text.substr(0, dot), part = t.Text.substr(dot + 1);
    bool elementFound = false;
    size_t before = parts.size();
    for (const TElementInfo& e : ElementCatalog::Elements()) {
      if (!WildcardMatch(element, e.Name)) continue;
      elementFound = true;
      for (const TElementPartInfo& p : e.Parts)
        if (WildcardMatch(part, p.Name)) parts.push_back(&p);
    }
    if (parts.size() > before) return;
    if (!elementFound) {
      std::vector<const char*> names;
      for (const TElementInfo& e : ElementCatalog::Elements()) names.push_back(e.Name);
      Fail(t, "unknown element '" + t.Text + "' (elements: " + JoinList(names) + ")");
    }
    const TElementInfo* e = ElementCatalog::FindElement(element);
    String known;
    if (e) {
      std::vector<const char*> names;
      for (const TElementPartInfo& p : e->Parts) names.push_back(p.Name);
      known = " (parts of " + String(e->Name) + ": " + JoinList(names) + ")";
    }
    Fail(t, "unknown element '" + t.Text + "'" + known);
  }

  void Element() {
    std::vector<const TElementPartInfo*> parts;
    for (;;) {
      TStyleToken t = Take();
      if (t.Kind != stIdent) Fail(t, "expected an element such as Button.PushButton, found " + Describe(t));
      Select(t, parts);
      if (!Peek().Is(',')) break;
      Take();
      SkipNewLines();
    }
    std::vector<int> all;
    for (const TElementPartInfo* p : parts)
      for (size_t i = 0; i < p->States.size(); ++i) all.push_back(p->FirstSlot + static_cast<int>(i));
    SkipNewLines();
    Expect('{');
    for (;;) {
      SkipBreaks();
      TStyleToken t = Take();
      if (t.Is('}')) break;
      if (t.Kind == stEnd) Fail(t, "missing '}' at the end of the element");
      if (t.Kind != stIdent) Fail(t, "expected a property or a state, found " + Describe(t));
      if (Peek().Is(',') || Peek().Is('{') || (Peek().Kind == stNewLine && NextIsBlock())) {
        StateBlock(t, parts);
      } else {
        Property(t, all);
      }
    }
    EndStatement();
  }
  bool NextIsBlock() {
    size_t i = 0;
    while (Peek(i).Kind == stNewLine) ++i;
    return Peek(i).Is('{');
  }

  void StateBlock(TStyleToken first, const std::vector<const TElementPartInfo*>& parts) {
    std::vector<int> slots;
    for (;;) {
      bool matched = false;
      for (const TElementPartInfo* p : parts)
        for (size_t i = 0; i < p->States.size(); ++i)
          if (WildcardMatch(first.Text, p->States[i])) {
            slots.push_back(p->FirstSlot + static_cast<int>(i));
            matched = true;
          }
      if (!matched) {
        String known;
        for (const TElementPartInfo* p : parts) {
          for (const char* s : p->States) {
            if (known.find(String(" ") + s + ",") != String::npos) continue;
            known += String(" ") + s + ",";
          }
        }
        if (!known.empty()) known.pop_back();
        Fail(first, "unknown state '" + first.Text + "' (states:" + known + ")");
      }
      SkipNewLines();
      if (!Peek().Is(',')) break;
      Take();
      SkipNewLines();
      first = Take();
      if (first.Kind != stIdent) Fail(first, "expected a state name, found " + Describe(first));
    }
    Expect('{');
    for (;;) {
      SkipBreaks();
      TStyleToken t = Take();
      if (t.Is('}')) break;
      if (t.Kind == stEnd) Fail(t, "missing '}' at the end of the state");
      if (t.Kind != stIdent) Fail(t, "expected a property, found " + Describe(t));
      if (Peek().Is('{') || Peek().Is(','))
        Fail(t, "states cannot be nested: '" + t.Text + "'");
      Property(t, slots);
    }
    EndStatement();
  }

  void Property(const TStyleToken& name, const std::vector<int>& slots) {
    if (!IsStyleProperty(name.Text))
      Fail(name, "unknown property '" + name.Text + "' (properties: " + JoinList(kProperties) + ")");
    OptionalEquals();
    TStyleEntry e;
    e.Key = name.Text;
    e.Line = name.Line;
    e.Column = name.Column;
    e.Values = Values(name);
    e.Slots = slots;
    S.Properties.push_back(std::move(e));
    EndStatement();
  }

  TStyleLexer& L;
  std::deque<TStyleToken> Buffer;
  TStyleSyntax S;
};
}  // namespace

bool IsStyleProperty(const String& name) {
  for (const char* p : kProperties)
    if (name == p) return true;
  return false;
}

bool WildcardMatch(std::string_view pattern, std::string_view text) {
  // Iterative glob with one back-tracking point, the classic linear-time form.
  size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = t;
    } else if (p < pattern.size() && Lower(pattern[p]) == Lower(text[t])) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

TStyleSyntax ReadStyleSyntax(TStyleLexer& lexer) { return TSyntaxReader(lexer).Read(); }
