// Published fields, named integer values, stored-predicates and AfterConstruction, through
// the form reader and writer.
#include <gtest/gtest.h>

#include "platform/core/classes.h"
#include "platform/streaming/formreader.h"

namespace {
const TIdentMap& ShapeIdents() {
  static const TIdentMap m = {{0, "shNone"}, {-1, "shRound"}, {-21, "shPointed"}};
  return m;
}

class TFieldPart : public TComponent {
  KV_CLASS(TFieldPart, TComponent)
public:
  explicit TFieldPart(TComponent* AOwner) : TComponent(AOwner) {}
  int Shape() const { return FShape; }
  void SetShape(int v) { FShape = v; }
  // Tint is stored only while the part has its own (FollowsOwner off).
  int Tint() const { return FTint; }
  void SetTint(int v) {
    FTint = v;
    FFollows = false;
  }
  bool FollowsOwner() const { return FFollows; }
  void SetFollowsOwner(bool v) { FFollows = v; }
  bool IsTintStored() const { return !FFollows; }
  void AfterConstruction() override { ++Constructed; }
  int Constructed = 0;

private:
  int FShape = 0;
  int FTint = 5;
  bool FFollows = true;
};

class TOtherPart : public TComponent {
  KV_CLASS(TOtherPart, TComponent)
public:
  using TComponent::TComponent;
};

class TFieldRoot : public TComponent {
  KV_CLASS(TFieldRoot, TComponent)
public:
  using TComponent::TComponent;
  TFieldPart* Part1 = nullptr;
  TFieldPart* Part2 = nullptr;
};
}  // namespace

KV_IMPLEMENT_CLASS(TFieldPart) {
  r.IdentProp("Shape", &TFieldPart::Shape, &TFieldPart::SetShape, 0, ShapeIdents());
  r.Prop("Tint", &TFieldPart::Tint, &TFieldPart::SetTint, 5);
  r.Stored("Tint", &TFieldPart::IsTintStored);
  r.Prop("FollowsOwner", &TFieldPart::FollowsOwner, &TFieldPart::SetFollowsOwner, true);
}
KV_IMPLEMENT_CLASS(TOtherPart) {}
KV_IMPLEMENT_CLASS(TFieldRoot) {
  r.Field("Part1", &TFieldRoot::Part1);
  r.Field("Part2", &TFieldRoot::Part2);
}

TEST(Fields, ReaderSetsFieldsWritesNamedValuesAndHonoursStored) {
  TFieldRoot root(nullptr);
  ReadComponentFromText(&root, R"(
object Root: TFieldRoot
  object Part1: TFieldPart
    Shape = shPointed
  end
  object Part2: TFieldPart
    Shape = -1
    Tint = 7
  end
end)");
  ASSERT_NE(root.Part1, nullptr);
  ASSERT_NE(root.Part2, nullptr);
  EXPECT_EQ(root.Part1->Shape(), -21);
  EXPECT_EQ(root.Part2->Shape(), -1) << "numbers are accepted too";
  EXPECT_EQ(root.Part1->Constructed, 1) << "created by class name: AfterConstruction ran once";
  EXPECT_EQ(GetPropText(root.Part2, "Shape"), "shRound");
  SetPropText(root.Part2, "Shape", "SHNONE");
  EXPECT_EQ(root.Part2->Shape(), 0);
  SetPropText(root.Part2, "Shape", "-21");
  root.Part1->SetTint(9);
  root.Part1->SetFollowsOwner(true);  // the tint is the owner's again: not stored
  String text = WriteComponentToText(&root);
  EXPECT_NE(text.find("Shape = shPointed"), String::npos) << text;
  EXPECT_EQ(text.find("Tint = 9"), String::npos) << text;
  EXPECT_NE(text.find("Tint = 7"), String::npos) << "Part2's own tint is stored";
  Free(root.Part1);
  EXPECT_EQ(root.Part1, nullptr) << "the field forgets a freed component";
}

TEST(Fields, ClearErrorsForWrongFieldClassesAndUnknownNames) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"object Root: TFieldRoot\n  object Part1: TOtherPart\n  end\nend\n", "Field 'Part1' takes a TFieldPart, not a TOtherPart"},
      {"object Root: TFieldRoot\n  object P: TFieldPart\n    Shape = shSquare\n  end\nend\n",
       "'shSquare' is not a value of property 'Shape'"},
  };
  for (const Case& c : cases) {
    TFieldRoot root(nullptr);
    try {
      ReadComponentFromText(&root, c.text);
      ADD_FAILURE() << "accepted:\n" << c.text;
    } catch (const EReadError& e) {
      EXPECT_NE(String(e.what()).find(c.message), String::npos) << e.what();
    }
    EXPECT_EQ(root.Part1, nullptr) << "nothing half-built stays referenced";
    EXPECT_EQ(root.ComponentCount(), 0);
  }
  TFieldPart p(nullptr);
  EXPECT_THROW(SetPropText(&p, "Shape", "shSquare"), EPropertyError);
}

TEST(Fields, RegisteredClassesCanBeListed) {
  auto all = RegisteredClasses();
  EXPECT_TRUE(std::find(all.begin(), all.end(), &TFieldRoot::StaticClass()) != all.end());
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const TClassInfo* a, const TClassInfo* b) {
    return UpperCase(a->Name()) < UpperCase(b->Name());
  }));
}
