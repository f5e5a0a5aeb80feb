// Every control, windowed or not, in a tree or on its own, hears each switch of the look once
// and repaints.
#include <map>

#include "basectl.h"
#include "platform/themes/stylemanager.h"

using namespace kvtest;

namespace {
struct StyleChangeTest : BaseControlTest {
  std::map<TControl*, int> heard;
  void Listen(TControl* c) {
    TMessageMethod previous = c->WindowProc();
    c->SetWindowProc([this, c, previous](TMessage& m) {
      if (m.Msg == CM_STYLECHANGED) ++heard[c];
      previous(m);
    });
  }
  ~StyleChangeTest() override {
    TStyleManager::SetClassicLook(false);
    TStyleManager::SetStyle(TStyleManager::SystemStyleName);
  }
};
}  // namespace

TEST_F(StyleChangeTest, EveryControlHearsEachSwitchOnceAndRepaints) {
  TForm* form = MakeForm();
  auto* panel = New<TPatternPanel>(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 300, 200);
  auto* glass = New<TGlassProbe>(form);
  glass->SetParent(panel);
  glass->SetBounds(10, 10, 100, 40);
  auto* label = New<TLabelProbe>(form);
  label->SetParent(panel);
  label->SetBounds(10, 60, 40, 20);
  auto* nested = New<TLabelProbe>(form);
  nested->SetParent(glass);
  nested->SetBounds(2, 2, 10, 10);
  TGlassProbe loose(nullptr);  // a control on no form
  form->Show();
  Application->ProcessMessages();
  const std::vector<TControl*> all = {form, panel, glass, label, nested, &loose};
  for (TControl* c : all) Listen(c);

  auto expectEach = [&](int n, const char* what) {
    for (TControl* c : all) EXPECT_EQ(heard[c], n) << what << ": " << c->ClassName();
  };
  TStyleManager::SetStyle("Glossy");
  expectEach(1, "custom style");
  const int panelDraws = panel->Draws, glassDraws = glass->Draws, labelPaints = label->Paints;
  Application->ProcessMessages();
  EXPECT_GT(panel->Draws, panelDraws);
  EXPECT_GT(glass->Draws, glassDraws);
  EXPECT_GT(label->Paints, labelPaints);

  TStyleManager::SetStyle("Glossy");
  expectEach(1, "the active style again changes nothing");
  TStyleManager::SetStyle(TStyleManager::SystemStyleName);
  expectEach(2, "back to the native look");
  TStyleManager::SetClassicLook(true);
  expectEach(3, "classic look");
  for (TControl* c : all) c->SetWindowProc(nullptr);
}

TEST_F(StyleChangeTest, ControlsFreedOrCreatedDuringTheAnnouncementAreSafe) {
  auto* a = New<TGlassProbe>(nullptr);
  auto* b = New<TGlassProbe>(nullptr);
  TAliveGuard aAlive = a->AliveGuard(), bAlive = b->AliveGuard();
  std::vector<TGlassProbe*> created;
  int heardTotal = 0;
  // Whichever hears first frees the other and creates a new control.
  for (TGlassProbe* c : {a, b}) {
    TMessageMethod previous = c->WindowProc();
    c->SetWindowProc([&, c, previous](TMessage& m) {
      if (m.Msg == CM_STYLECHANGED) {
        ++heardTotal;
        if (c == a && bAlive) Free(b);
        if (c == b && aAlive) Free(a);
        created.push_back(New<TGlassProbe>(nullptr));
      }
      previous(m);
    });
  }
  TStyleManager::SetStyle("Glossy");
  EXPECT_EQ(heardTotal, 1) << "the freed control heard nothing, the new one needs nothing";
  EXPECT_NE(static_cast<bool>(aAlive), static_cast<bool>(bAlive));
  if (aAlive) Free(a);
  if (bAlive) Free(b);
  for (TGlassProbe* c : created) Free(c);
}
