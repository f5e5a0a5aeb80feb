#include <vector>

#include "platform/core/classes.h"
#include "platform/core/filer.h"
#include "platform/streaming/formreader.h"

namespace {

// Collects the stored values a persistent object announces in DefineProperties.
class TCollectFiler : public TFiler {
public:
  struct Entry {
    String Name;
    TWriterProc Write;
  };
  void DefineProperty(const String& Name, TReaderProc, TWriterProc WriteData, bool HasData) override {
    if (HasData && WriteData) Entries.push_back({Name, std::move(WriteData)});
  }
  std::vector<Entry> Entries;
};

String QuoteString(const String& s) {
  // Printable runs in quotes, control characters as #code.
  String out;
  bool inQuote = false;
  for (unsigned char c : s) {
    if (c < ' ') {
      if (inQuote) {
        out += '\'';
        inQuote = false;
      }
      out += '#';
      out += IntToStr(c);
    } else {
      if (!inQuote) {
        out += '\'';
        inQuote = true;
      }
      if (c == '\'') out += '\'';
      out += static_cast<char>(c);
    }
  }
  if (inQuote) out += '\'';
  if (out.empty()) out = "''";
  return out;
}

class TFormWriter : public TWriter {
public:
  explicit TFormWriter(TComponent* root) : FRoot(root) {}

  String Write() {
    WriteComponent(FRoot);
    return FOut;
  }

  // ---- TWriter: values of DefineProperties data ----
  void WriteInteger(int64_t Value) override { Value_(IntToStr(Value)); }
  void WriteFloat(double Value) override { Value_(FormatFloat(Value)); }
  void WriteString(const String& Value) override { Value_(QuoteString(Value)); }
  void WriteBoolean(bool Value) override { Value_(Value ? "True" : "False"); }
  void WriteIdent(const String& Value) override { Value_(Value); }
  void WriteBinary(const std::vector<uint8_t>& Data) override {
    String s = "{";
    for (size_t i = 0; i < Data.size(); ++i) {
      if (i % 32 == 0 && Data.size() > 32) s += "\n" + Indent(FDepth + 1);
      s += IntToHex(Data[i], 2);
    }
    if (Data.size() > 32) s += "\n" + Indent(FDepth + 1);
    Value_(s + "}");
  }
  void WriteListBegin() override {
    Value_("(");
    ++FListDepth;
  }
  void WriteListEnd() override {
    --FListDepth;
    FOut += ")";
  }

private:
  static String Indent(int depth) { return String(static_cast<size_t>(depth) * 2, ' '); }
  static String FormatFloat(double v) {
    String s = FloatToStr(v);
    if (s.find_first_of(".eEn") == String::npos) s += ".0";  // reads back as a number with a fraction
    return s;
  }

  // Inside a list each value goes on its own line; otherwise the value follows "Name = ".
  void Value_(const String& s) {
    if (FListDepth > 0) {
      FOut += "\n" + Indent(FDepth + 1) + s;
    } else {
      FOut += s;
    }
  }

  void Line(const String& s) { FOut += Indent(FDepth) + s + "\n"; }

  String ComponentPath(TComponent* c) const {
    if (c == FRoot || c->Owner() == FRoot) return c->Name();
    if (c->Owner() && !c->Owner()->Name().empty()) return c->Owner()->Name() + "." + c->Name();
    return c->Name();
  }

  void WriteProperties(TObject* obj, const String& prefix) {
    for (const TPropInfo* p : obj->ClassType().Properties()) {
      if (prefix.empty() && SameText(p->Name, "Name") && obj->Is<TComponent>()) continue;
      if (p->Stored && !p->Stored(obj)) continue;
      TValue v = p->Get(obj);
      switch (p->Kind) {
        case tkClass: {
          if (!v.Object) break;
          if (auto* coll = dynamic_cast<TCollection*>(v.Object)) {
            if (coll->Count() == 0) break;
            FOut += Indent(FDepth) + prefix + p->Name + " = <";
            ++FDepth;
            for (int i = 0; i < coll->Count(); ++i) {
              FOut += "\n";
              Line("item");
              ++FDepth;
              WriteProperties(coll->Items(i), "");
              --FDepth;
              FOut += Indent(FDepth) + "end";
            }
            --FDepth;
            FOut += ">\n";
          } else {
            WriteProperties(v.Object, prefix + p->Name + ".");
          }
          break;
        }
        case tkComponent: {
          auto* c = dynamic_cast<TComponent*>(v.Object);
          if (c && !p->ReadOnly() && !c->Name().empty()) Line(prefix + p->Name + " = " + ComponentPath(c));
          break;
        }
        case tkMethod: {
          if (p->ReadOnly()) break;
          const TMethodInfo* m = FRoot->ClassType().FindMethodOf(v.Method, FRoot);
          if (m) Line(prefix + p->Name + " = " + m->Name);
          break;
        }
        case tkString:
          if (!p->ReadOnly() && !v.Str.empty()) Line(prefix + p->Name + " = " + QuoteString(v.Str));
          break;
        case tkFloat:
          if (!p->ReadOnly()) Line(prefix + p->Name + " = " + FormatFloat(v.Float));
          break;
        default:
          if (p->ReadOnly()) break;
          if (p->Default && *p->Default == v.Ordinal) break;
          Line(prefix + p->Name + " = " + FormatPropValue(*p, v));
          break;
      }
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(obj)) {
      TCollectFiler filer;
      persistent->DefineProperties(filer);
      for (auto& e : filer.Entries) {
        FOut += Indent(FDepth) + prefix + e.Name + " = ";
        e.Write(*this);
        FOut += "\n";
      }
    }
  }

  void WriteComponent(TComponent* c) {
    Line("object " + (c->Name().empty() ? String() : c->Name() + ": ") + c->ClassName());
    ++FDepth;
    WriteProperties(c, "");
    c->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
    --FDepth;
    Line("end");
  }

  TComponent* FRoot;
  String FOut;
  int FDepth = 0;
  int FListDepth = 0;
};
}  // namespace

String WriteComponentToText(TComponent* Root) {
  TFormWriter w(Root);
  return w.Write();
}
