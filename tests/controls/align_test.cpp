// Alignment of children (order, margins, padding, constraints, visibility) and anchoring.
#include "support.h"

#include <optional>

using namespace kvtest;

namespace {
// A container that needs no window: alignment works on the controls' own bounds.
struct Box {
  std::unique_ptr<TWinControl> Parent{New<TWinControl>(nullptr)};
  Box(int w, int h) { Parent->SetBounds(0, 0, w, h); }
  // Margins given as (left, top, right, bottom); none: not aligned with margins.
  TWinControl* Add(TAlign a, int w, int h, std::optional<TRect> m = std::nullopt) {
    auto* c = New<TWinControl>(nullptr);
    c->SetBounds(0, 0, w, h);
    if (m) {
      c->SetAlignWithMargins(true);
      c->Margins()->SetBounds(m->Left, m->Top, m->Right, m->Bottom);
    }
    c->SetParent(Parent.get());
    c->SetAlign(a);
    return c;
  }
};
}  // namespace

TEST(AlignTest, KindsAreLaidOutTopBottomLeftRightClientWithMargins) {
  Box box(200, 100);
  box.Parent->DisableAlign();
  // Created in an order that differs from the layout order.
  TWinControl* client = box.Add(alClient, 10, 10);
  TWinControl* right = box.Add(alRight, 25, 10, TRect(1, 1, 1, 1));
  TWinControl* top1 = box.Add(alTop, 10, 10);
  TWinControl* left = box.Add(alLeft, 30, 10);
  TWinControl* bottom = box.Add(alBottom, 10, 15);
  TWinControl* top2 = box.Add(alTop, 10, 20, TRect(2, 3, 4, 5));
  top2->SetTop(1);  // below top1 in the order of alTop controls
  box.Parent->EnableAlign();
  EXPECT_EQ(top1->BoundsRect(), TRect(0, 0, 200, 10));
  EXPECT_EQ(top2->BoundsRect(), TRect(2, 13, 196, 33)) << "margins 2,3,4,5 around it";
  EXPECT_EQ(bottom->BoundsRect(), TRect(0, 85, 200, 100));
  EXPECT_EQ(left->BoundsRect(), TRect(0, 38, 30, 85)) << "below both top controls and their margins";
  EXPECT_EQ(right->BoundsRect(), TRect(174, 39, 199, 84));
  EXPECT_EQ(client->BoundsRect(), TRect(30, 38, 173, 85)) << "what is left, margins of the right one included";
}

TEST(AlignTest, OrderFollowsPositionAndTheMovedControlWinsTies) {
  Box box(100, 100);
  TWinControl* a = box.Add(alTop, 10, 10);
  // Aligned last and at the same top edge, b goes first: on equal positions the control whose
  // change started the alignment wins.
  TWinControl* b = box.Add(alTop, 10, 20);
  EXPECT_EQ(b->Top(), 0);
  EXPECT_EQ(a->Top(), 20);
  a->SetTop(0);
  EXPECT_EQ(a->Top(), 0);
  EXPECT_EQ(b->Top(), 10);
  a->SetTop(15);  // moved below b: the order follows
  EXPECT_EQ(b->Top(), 0);
  EXPECT_EQ(a->Top(), 20);
  // alBottom: the control nearer the bottom edge goes first.
  TWinControl* c = box.Add(alBottom, 10, 5);
  TWinControl* d = box.Add(alBottom, 10, 7);
  EXPECT_EQ(c->BoundsRect(), TRect(0, 95, 100, 100));
  EXPECT_EQ(d->BoundsRect(), TRect(0, 88, 100, 95)) << "the later one lands above the first";
  d->SetTop(100);
  EXPECT_EQ(d->BoundsRect(), TRect(0, 93, 100, 100));
  EXPECT_EQ(c->BoundsRect(), TRect(0, 88, 100, 93));
}

TEST(AlignTest, HiddenControlsTakeNoSpaceAndPaddingIsKeptFree) {
  Box box(100, 80);
  box.Parent->Padding()->SetBounds(5, 6, 7, 8);
  TWinControl* top = box.Add(alTop, 10, 10);
  TWinControl* client = box.Add(alClient, 10, 10);
  EXPECT_EQ(top->BoundsRect(), TRect(5, 6, 93, 16));
  EXPECT_EQ(client->BoundsRect(), TRect(5, 16, 93, 72));
  top->SetVisible(false);
  EXPECT_EQ(client->BoundsRect(), TRect(5, 6, 93, 72));
  top->SetVisible(true);
  EXPECT_EQ(client->BoundsRect(), TRect(5, 16, 93, 72));
  box.Parent->SetBounds(0, 0, 200, 100);
  EXPECT_EQ(client->BoundsRect(), TRect(5, 16, 193, 92)) << "a resize realigns";
}

TEST(AlignTest, ConstrainedControlsUseTheSizeTheyTook) {
  Box box(100, 50);
  box.Parent->DisableAlign();
  TWinControl* a = box.Add(alLeft, 30, 10);
  a->Constraints()->SetMaxWidth(20);
  TWinControl* b = box.Add(alLeft, 15, 10);
  TWinControl* c = box.Add(alClient, 10, 10);
  c->Constraints()->SetMaxHeight(40);
  box.Parent->EnableAlign();
  EXPECT_EQ(a->BoundsRect(), TRect(0, 0, 20, 50));
  EXPECT_EQ(b->BoundsRect(), TRect(20, 0, 35, 50)) << "starts where the constrained one ended";
  EXPECT_EQ(c->BoundsRect(), TRect(35, 0, 100, 40));
}

TEST(AlignTest, AnchorsThroughResizes) {
  struct Case {
    TAnchors anchors;
    TRect after;  // child bounds once the parent grew from 200x100 to 300x150
  } cases[] = {
      {{akLeft, akTop}, TRect(10, 10, 60, 30)},
      {{akRight, akBottom}, TRect(110, 60, 160, 80)},
      {{akLeft, akRight, akTop}, TRect(10, 10, 160, 30)},
      {{akLeft, akTop, akBottom}, TRect(10, 10, 60, 80)},
      {{}, TRect(27, 20, 77, 40)},  // centre kept at the same fraction: 35/200 -> 52/300
  };
  for (const Case& k : cases) {
    Box box(200, 100);
    auto* c = New<TWinControl>(nullptr);
    c->SetParent(box.Parent.get());
    c->SetBounds(10, 10, 50, 20);
    c->SetAnchors(k.anchors);
    box.Parent->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(c->BoundsRect(), k.after) << SetToString(k.anchors);
    // Back and forth leaves no drift.
    box.Parent->SetBounds(0, 0, 150, 70);
    box.Parent->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(c->BoundsRect(), TRect(10, 10, 60, 30)) << SetToString(k.anchors);
  }
}

TEST(AlignTest, MovingAnAnchoredControlRecordsItsNewPlace) {
  Box box(200, 100);
  auto* c = New<TWinControl>(nullptr);
  c->SetParent(box.Parent.get());
  c->SetBounds(10, 10, 50, 20);
  c->SetAnchors({akRight, akTop});
  box.Parent->SetBounds(0, 0, 300, 100);
  EXPECT_EQ(c->Left(), 110);
  c->SetLeft(200);  // 50 from the right edge now
  box.Parent->SetBounds(0, 0, 260, 100);
  EXPECT_EQ(c->Left(), 160);
}

TEST(AlignTest, AutoSizeContainerFitsItsChildren) {
  Box box(10, 10);
  box.Parent->SetAutoSize(true);
  auto* c = New<TWinControl>(nullptr);
  c->SetParent(box.Parent.get());
  c->SetBounds(5, 7, 40, 30);
  EXPECT_EQ(box.Parent->Width(), 45);
  EXPECT_EQ(box.Parent->Height(), 37);
  c->SetVisible(false);
  c->SetVisible(true);
  c->SetWidth(60);
  EXPECT_EQ(box.Parent->Width(), 65);
}
