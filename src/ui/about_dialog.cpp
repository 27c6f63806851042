#include "ui/about_dialog.h"

#include "platform/shell.h"

namespace {
constexpr TColor kGrey = 0x808080;
}  // namespace

TAboutDialog::TAboutDialog(TForm& owner, TShell& shell)
    : TForm(L"О программе", 0, 0, 326, 240, TBorderStyle::Dialog), shell_(shell) {
  SetOwner(&owner);
  SetPosition(TPosition::OwnerCenter);
  SetColor(clMoneyGreen);
  CAP.SetFont({L"Courier New", 16, true, clMaroon});
  CAP.SetShadowColor(clBlue);
  CAP.SetShadowDepth(3);
  CAP.SetColor(clMoneyGreen);
  for (TLabel* l : {&Slogan, &programming, &icq, &mail, &homepage, &Thanks, &forum, &FreeWare}) {
    l->SetFont({L"Arial", 8, false, clBlack});
    l->SetShadowColor(clWhite);
    // A white shadow five pixels off, as first drawn, left 8 pt text
    // unreadable: one pixel embosses it and keeps it legible.
    l->SetShadowDepth(1);
    l->SetTransparent(true);
  }
  forum.SetFont({L"Arial", 8, false, clWindowText});
  OK.SetFont({L"Arial", 8, false, clWindowText});

  const struct {
    TLabel* label;
    const wchar_t* target;
  } links[] = {{&icq, kIcqTarget},
               {&mail, kMailTarget},
               {&homepage, kHomepageTarget},
               {&forum, kForumTarget}};
  for (const auto& link : links) {
    TLabel* l = link.label;
    const wchar_t* target = link.target;
    l->SetCursor(TCursor::Cross);
    l->OnClick = [this, target] { LinkClick(target); };
    l->OnMouseEnter = [this, l] { LinkMouseMove(*l); };
    l->OnMouseLeave = [this, l] { LinkMouseLeave(*l); };
  }
  OK.OnClick = [this] { OKClick(); };
}

// The shell's answer is not looked at: without a browser or a mail program
// the click simply does nothing.
void TAboutDialog::LinkClick(const wchar_t* target) { shell_.Open(target); }

void TAboutDialog::LinkMouseMove(TLabel& link) {
  link.SetShadowColor(kGrey);
  TFont f = link.Font();
  f.Color = clWhite;
  link.SetFont(f);
}

void TAboutDialog::LinkMouseLeave(TLabel& link) {
  link.SetShadowColor(clWhite);
  TFont f = link.Font();
  f.Color = clBlack;
  link.SetFont(f);
}

void TAboutDialog::OKClick() { Close(); }
