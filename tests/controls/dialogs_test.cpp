// Message boxes and the colour dialog, answered by injected keys and clicks.
#include "support.h"

#include <filesystem>

#include "platform/controls/dialogs.h"
#include "platform/controls/stdctrls.h"
#include "platform/graphics/surface.h"

using namespace kvtest;

namespace {
// The dialog on the screen now (the active form).
TCustomForm* Dialog() { return Screen->ActiveForm(); }

void SaveShot(TCustomForm* f, const char* name) {
  Application->ProcessMessages();
  TSurface s;
  if (Headless::CaptureWindow(f->Handle(), &s)) Headless::SavePNG(s, (std::filesystem::temp_directory_path() / name).string());
}
}  // namespace

TEST_F(ControlsTest, AMessageBoxFromAMouseHandlerIsAnsweredByAKey) {
  TForm* f = MakeForm();
  auto* b = new TButton(f);
  b->SetParent(f);
  std::vector<TModalResult> answers;
  b->OnClick = [&](TObject*) { answers.push_back(MessageDlg("Save the changes?", mtConfirmation, mbYesNo)); };
  f->Show();
  struct Case {
    WORD key;
    TModalResult want;
  } cases[] = {{'N', mrNo}, {'Y', mrYes}, {VK_RETURN, mrYes}, {VK_ESCAPE, mrNo}};
  for (const Case& k : cases) {
    Headless::Schedule(10, [&] { Headless::KeyPress(k.key); });
    Click(b, 5, 5);
  }
  EXPECT_EQ(answers, (std::vector<TModalResult>{mrNo, mrYes, mrYes, mrNo}));
  EXPECT_TRUE(f->Active()) << "the form that opened the box is active again";
}

TEST_F(ControlsTest, MessageBoxFlagsChooseButtonsDefaultAndResults) {
  struct Case {
    UINT flags;
    WORD key;
    int want;
  } cases[] = {
      {MB_OK, VK_RETURN, IDOK},
      {MB_OK, VK_ESCAPE, IDOK},  // the only button answers Esc too
      {MB_YESNOCANCEL | MB_DEFBUTTON2, VK_RETURN, IDNO},
      {MB_YESNOCANCEL, VK_ESCAPE, IDCANCEL},
      {MB_RETRYCANCEL | MB_ICONERROR, 'R', IDRETRY},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, VK_RETURN, IDIGNORE},
  };
  for (const Case& k : cases) {
    String caption;
    Headless::Schedule(10, [&] {
      caption = Dialog() ? Dialog()->Caption() : String();
      Headless::KeyPress(k.key);
    });
    EXPECT_EQ(MessageBox("Text", "My caption", k.flags), k.want) << k.flags;
    EXPECT_EQ(caption, "My caption");
  }
}

TEST_F(ControlsTest, MessageDialogLayoutAndAClickAnswer) {
  TForm* dlg = CreateMessageDialog("The file could not be written.\nTry another folder.", mtError,
                                   TMsgDlgButtons{mbAbort, mbRetry, mbIgnore}, mbRetry);
  std::unique_ptr<TForm> keep(dlg);
  EXPECT_EQ(dlg->Caption(), "Error");
  auto* retry = dynamic_cast<TButton*>(dlg->FindComponent("RetryButton"));
  auto* abort = dynamic_cast<TButton*>(dlg->FindComponent("AbortButton"));
  auto* ignore = dynamic_cast<TButton*>(dlg->FindComponent("IgnoreButton"));
  ASSERT_TRUE(retry && abort && ignore);
  EXPECT_EQ(retry->Caption(), "&Retry");
  EXPECT_LT(abort->Left(), retry->Left());
  EXPECT_LT(retry->Left(), ignore->Left()) << "buttons in their fixed order";
  EXPECT_TRUE(retry->Default());
  EXPECT_EQ(dlg->ActiveControl(), retry);
  EXPECT_FALSE(abort->Cancel() || retry->Cancel() || ignore->Cancel()) << "no button answers Esc here";
  Headless::Schedule(10, [&] {
    SaveShot(dlg, "controls_message_dialog.png");
    Click(ignore, 10, 10);
  });
  EXPECT_EQ(dlg->ShowModal(), mrIgnore);
  EXPECT_THROW(CreateMessageDialog("x", mtCustom, TMsgDlgButtons{}), EInvalidArgument);
}

TEST_F(ControlsTest, ColorDialogChoosesFromTheGridWithTheKeyboard) {
  TColorDialog d(nullptr);
  const auto& pal = ColorDialogPalette();
  d.SetColor(pal[9]);  // second row, second column
  Headless::Schedule(10, [&] {
    ASSERT_NE(d.DialogForm(), nullptr);
    SaveShot(d.DialogForm(), "controls_color_dialog.png");
    Headless::KeyPress(VK_RIGHT);
    Headless::KeyPress(VK_DOWN);
    Headless::KeyPress(VK_RETURN);
  });
  EXPECT_TRUE(d.Execute());
  EXPECT_EQ(d.Color(), pal[18]);
  Headless::Schedule(10, [] {
    Headless::KeyPress(VK_LEFT);
    Headless::KeyPress(VK_ESCAPE);
  });
  EXPECT_FALSE(d.Execute());
  EXPECT_EQ(d.Color(), pal[18]) << "Cancel keeps the colour";
  EXPECT_EQ(d.DialogForm(), nullptr);
}

TEST_F(ControlsTest, ColorDialogSpectrumGivesAnyColour) {
  TColorDialog d(nullptr);
  d.SetColor(clWhite);
  Headless::Schedule(10, [&] {
    TForm* f = d.DialogForm();
    auto* spectrum = dynamic_cast<TControl*>(f->FindComponent("Spectrum"));
    ASSERT_NE(spectrum, nullptr);
    // Top edge: full saturation; a third of the way across: green. Then the lightness bar's
    // middle gives the pure colour.
    Click(spectrum, 61, 1);
    Click(spectrum, spectrum->Width() - 14, spectrum->Height() / 2);
    Headless::KeyPress(VK_RETURN);
  });
  ASSERT_TRUE(d.Execute());
  TColor c = d.Color();
  EXPECT_GT(GetGValue(c), 200);
  EXPECT_LT(GetRValue(c), 40);
  EXPECT_LT(GetBValue(c), 40);
}
