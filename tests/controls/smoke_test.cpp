#include "support.h"
#include "platform/controls/stdctrls.h"

using namespace kvtest;

TEST_F(ControlsTest, Smoke) {
  TForm* f = MakeForm();
  auto* b = new TButton(f);
  b->SetParent(f);
  b->SetBounds(10, 10, 80, 25);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  f->Show();
  ASSERT_TRUE(f->HandleAllocated());
  ASSERT_TRUE(b->HandleAllocated());
  Click(b, 5, 5);
  EXPECT_EQ(clicks, 1);
}
