#include "platform/controls/hints.h"

#include <algorithm>

#include "platform/controls/screen.h"
#include "platform/graphics/text.h"
#include "platform/windows/paint.h"

KV_IMPLEMENT_CLASS(THintWindow) {}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
  FVisible = false;
}

void THintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

void THintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST: Message.Result = HTTRANSPARENT; return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    default: inherited::Dispatch(Message); return;
  }
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& Hint) {
  TCanvas* c = Canvas();
  HDC dc = GetDC(nullptr);
  c->SetHandle(dc);
  c->Font()->Assign(Font());
  TRect r(0, 0, MaxWidth > 0 ? MaxWidth : 10000, 0);
  String text = Hint;
  c->TextRect(r, text, DT_CALCRECT | DT_LEFT | DT_NOPREFIX | (MaxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  c->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  // Room for the border and a margin around the text.
  r.Right += 8;
  r.Bottom += 4;
  return r;
}

void THintWindow::ActivateHint(TRect Rect, const String& Hint) {
  SetTextDirect(Hint);
  TRect work = Screen->WorkAreaRect();
  if (TMonitor* m = Screen->MonitorFromPoint(Rect.TopLeft())) work = m->WorkareaRect();
  if (Rect.Right > work.Right) Rect.Offset(work.Right - Rect.Right, 0);
  if (Rect.Bottom > work.Bottom) Rect.Offset(0, work.Bottom - Rect.Bottom);
  if (Rect.Left < work.Left) Rect.Offset(work.Left - Rect.Left, 0);
  if (Rect.Top < work.Top) Rect.Offset(0, work.Top - Rect.Top);
  HandleNeeded();
  FShowing = true;
  FVisible = true;
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  SetWindowPos(FHandle, HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ReleaseHandle() {
  FShowing = false;
  FVisible = false;
  if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(bsClear);
  r.Inflate(-3, -1);
  String text = Caption();
  c->TextRect(r, text, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}
