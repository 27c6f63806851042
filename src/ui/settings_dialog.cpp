#include "ui/settings_dialog.h"

#include <cstdint>

#include "controls/message_boxes.h"
#include "platform/decimal_text.h"

namespace {
bool On(const TCheckBox& box) { return box.State() != TCheckState::Unchecked; }
void ShowSetting(TCheckBox& box, std::uint8_t setting) {
  box.SetState(setting ? TCheckState::Grayed : TCheckState::Unchecked);
}
}  // namespace

TSettingsDialog::TSettingsDialog(TForm& owner, TSettings& settings, TMessageBoxes& boxes, TSettingsLink& link)
    : TForm(L"Настройки", 0, 0, 339, 148, TBorderStyle::Dialog),
      settings_(settings),
      boxes_(boxes),
      link_(link) {
  SetOwner(&owner);
  SetPosition(TPosition::OwnerCenter);
  SetActivation(TActivation::Always);
  PlaceSignalRows(Rows(false));
  // The fields are filled once per opening, at its first activation.
  OnShow = [this] { FormActivate(); };
  OnActivate = [this] { FormActivate(); };
  OnClose = [this] { signalShown_ = false; };
  OK.OnClick = [this] { OKClick(); };
  CANCEL.OnClick = [this] { CancelClick(); };
  DaysOffBut.OnClick = [this] { link_.OpenDaysOff(); };
}

std::vector<TSettingsDialog::TRow> TSettingsDialog::Rows(bool warning) {
  std::vector<TRow> rows = {{&SnoozeLabel, &SnoozeEdit},
                            {&RingLabel, &RingEdit},
                            {&RaiseBox, nullptr},
                            {&MinVolumeLabel, &MinVolumeEdit},
                            {&FadeLabel, &FadeEdit}};
  WakeWarning.SetVisible(warning);
  if (warning) rows.push_back({&WakeWarning, nullptr});
  return rows;
}

void TSettingsDialog::PlaceSignalRows(const std::vector<TRow>& rows) {
  constexpr int kFirstRow = 24;
  constexpr int kRowHeight = 26;
  int top = kFirstRow;
  for (const TRow& r : rows) {
    // A label sits on its field's text line; a lone row at the row's top.
    const int labelTop = r.Field ? top + 3 : top;
    r.Label->SetBounds(r.Label->Left(), labelTop, r.Label->Width(), r.Label->Height());
    if (r.Field) r.Field->SetBounds(r.Field->Left(), top, r.Field->Width(), r.Field->Height());
    top += kRowHeight;
  }
  SignalGroup.SetHeight(top + 4);
  DaysOffBut.SetTop(SignalGroup.Bottom() + 8);
  const int buttons = DaysOffBut.Bottom() + 8;
  OK.SetTop(buttons);
  CANCEL.SetTop(buttons);
  SetClientSize(ClientWidth(), CANCEL.Bottom() + 11);
}

void TSettingsDialog::FormShow() {
  const TSignalSettings signal = link_.Signal();
  SnoozeEdit.SetText(DecimalText(signal.SnoozeMinutes));
  RingEdit.SetText(DecimalText(signal.RingMinutes));
  RaiseBox.SetChecked(signal.RaiseVolume != 0);
  MinVolumeEdit.SetText(DecimalText(signal.MinVolume));
  FadeEdit.SetText(DecimalText(signal.FadeSeconds));
  // Read at each opening: the user may have changed the plan or the power
  // source meanwhile. Said only when Windows tells for certain.
  PlaceSignalRows(Rows(link_.PcWillNotWake()));
}

std::optional<TSignalSettings> TSettingsDialog::SignalFromFields() {
  TSignalSettings s;
  const struct {
    TEdit& field;
    int min, max;
    const wchar_t* what;
    const wchar_t* unit;
    int* value;
  } fields[] = {
      {SnoozeEdit, kMinSnoozeMinutes, kMaxSnoozeMinutes, L"Отложить на", L"минут", &s.SnoozeMinutes},
      {RingEdit, kMinRingMinutes, kMaxRingMinutes, L"Звонить не дольше", L"минут", &s.RingMinutes},
      {MinVolumeEdit, kMinMinVolume, kMaxMinVolume, L"Не тише", L"процентов", &s.MinVolume},
      {FadeEdit, 0, kMaxFadeSeconds, L"Нарастание звука", L"секунд", &s.FadeSeconds},
  };
  for (const auto& f : fields) {
    // Spaces around the number are forgiven; a sign, a unit or a fraction is not.
    const std::optional<int> v = DecimalValue(f.field.Text());
    if (!v || *v < f.min || *v > f.max) {
      // Said plainly; nothing is stored and the dialog stays.
      boxes_.ShowMessage(std::wstring(L"\"") + f.what + L"\": введите целое число " + f.unit +
                         L" от " + DecimalText(f.min) + L" до " + DecimalText(f.max) + L".");
      f.field.SetFocus();
      return std::nullopt;
    }
    *f.value = *v;
  }
  s.RaiseVolume = RaiseBox.Checked() ? 1 : 0;
  return s;
}

void TSettingsDialog::FormActivate() {
  if (!signalShown_) {
    FormShow();
    signalShown_ = true;
  }
  const TSettings& s = settings_;
  ShowSetting(Auto, s.AutoLoad);
  ShowSetting(onClickEdit, s.EditOnClick);
  ShowSetting(onCloseMinToTray, s.MinToTrayOnClose);
  ShowSetting(ShowMes, s.ShowMessages);
}

void TSettingsDialog::OKClick() {
  const std::optional<TSignalSettings> signal = SignalFromFields();
  if (!signal) return;
  TSettings& s = settings_;
  // A Run value that cannot be written ends the click here (the error is
  // reported by the dispatcher): nothing is stored and the dialog stays.
  link_.SetAutoLoad(On(Auto));
  s.AutoLoad = On(Auto) ? 1 : 0;
  s.EditOnClick = On(onClickEdit) ? 1 : 0;
  s.MinToTrayOnClose = On(onCloseMinToTray) ? 1 : 0;
  s.ShowMessages = On(ShowMes) ? 1 : 0;
  link_.SettingsApplied(*signal);
  Close();
}

void TSettingsDialog::CancelClick() { Close(); }
