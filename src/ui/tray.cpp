#include "ui/tray.h"

#include "controls/app_window.h"
#include "engine/ring_session.h"
#include "platform/date_time.h"
#include "platform/decimal_text.h"
#include "ui/missed_window.h"

TTray::TTray(TTrayIcon& RzTrayIcon1, TPopupMenu& abfPopupMenu1, TForm& window,
             TForm& settingsDialog, TForm& daysOffDialog, TForm& aboutDialog,
             TApplicationWindow& app)
    : icon_(RzTrayIcon1),
      menu_(abfPopupMenu1),
      window_(window),
      settingsDialog_(settingsDialog),
      daysOffDialog_(daysOffDialog),
      aboutDialog_(aboutDialog),
      app_(app) {
  icon_.SetHint(L"Tivorra");
  icon_.OnMouseDown = [this](TMouseButton b) { IconMouseDown(b); };
  icon_.OnMouseUp = [this](TMouseButton b) { IconMouseUp(b); };
  BuildMenu();
}

void TTray::BuildMenu() {
  const TPopupMenu::TItem separator{L"", nullptr, true};
  menu_.Items = {
      {L"Показать", [this] { ShowProgramClick(); }},
      {L"Спрятать", [this] { HideProgramClick(); }},
      separator,
      {L"Настройки", [this] { SettingsClick(); }},
      {L"Выходные и рабочие дни", [this] { DaysOffClick(); }},
      separator,
      {L"О программе", [this] { AboutClick(); }},
      separator,
      {L"Закрыть", [this] { QuitClick(); }},
  };
  // Offered only while there is something to cancel.
  std::size_t afterShown = 2;
  if (HasSnoozes && HasSnoozes()) {
    menu_.Items.insert(menu_.Items.begin() + 2,
                       {separator, {L"Отменить отложенные", [this] { CancelSnoozes(); }}});
    afterShown += 2;
  }
  AddSkipItems(afterShown);
}

void TTray::Attach(TRingSession& session, const TAlarmStore& store) {
  session_ = &session;
  store_ = &store;
}

void TTray::AddSkipItems(std::size_t at) {
  if (!session_) return;
  // Offered only when a daily or weekday alarm will ring.
  const auto next = session_->NextSkippable();
  // The skip of the earliest moment, while any stands.
  const TSkip* first = nullptr;
  for (const TSkip& k : session_->Skips()) {
    if (!first || k.LocalSecond < first->LocalSecond) first = &k;
  }
  if (!next && !first) return;
  auto it = menu_.Items.insert(menu_.Items.begin() + static_cast<std::ptrdiff_t>(at),
                               TPopupMenu::TItem{L"", nullptr, true});
  if (next) {
    it = menu_.Items.insert(it + 1, SkipItem(L"Пропустить ближайший будильник: ", next->Kind,
                                             next->Index, next->LocalSecond, next->Message, false));
  }
  if (first) {
    const TAlarmRef& a = first->Alarm;
    menu_.Items.insert(it + 1, SkipItem(L"Не пропускать: ", a.Kind, a.Index, first->LocalSecond,
                                        FromShortString(*AlarmActions(*store_, a.Kind, a.Index).Msg),
                                        true));
  }
}

TPopupMenu::TItem TTray::SkipItem(const wchar_t* action, TAlarmKind kind, std::uint16_t index,
                                  std::int64_t localSecond, const std::wstring& message,
                                  bool undo) {
  std::wstring caption = action;
  caption += TrayAlarmName(localSecond, message);
  return {std::move(caption), [this, kind, index, undo] {
            if (undo) {
              session_->Unskip(kind, index);
            } else {
              session_->SkipNext(kind, index);
            }
          }};
}

void TTray::ProgramMinimized() {
  // Hidden into the tray with the settings open: they are cancelled. The
  // days off, saved as they were made, close first: they may be open over
  // the settings.
  if (daysOffDialog_.Visible()) daysOffDialog_.Close();
  if (settingsDialog_.Visible()) settingsDialog_.Close();
}

void TTray::RestoreApp() {
  if (app_.Minimized() || !window_.Visible()) ShowProgramClick();
  app_.BringToFront();
}

void TTray::IconMouseDown(TMouseButton button) {
  if (button == TMouseButton::Left) RestoreApp();
}

void TTray::IconMouseUp(TMouseButton button) {
  if (button != TMouseButton::Right) return;
  // With the program in front, a click elsewhere closes the menu.
  window_.BringToForeground();
  BuildMenu();
  const TPoint at = icon_.MousePos();
  menu_.Popup(at.X, at.Y);
}

void TTray::ShowProgramClick() {
  app_.Restore();
  window_.ShowNormal();
}

void TTray::HideProgramClick() { app_.Minimize(); }

void TTray::SettingsClick() { OpenDialog(settingsDialog_); }
void TTray::DaysOffClick() { OpenDialog(daysOffDialog_); }
void TTray::AboutClick() { OpenDialog(aboutDialog_); }

void TTray::OpenDialog(TForm& dialog) {
  // Chosen again while the dialog is open: it comes forward rather than
  // opening inside itself.
  if (dialog.IsModal()) {
    dialog.BringToForeground();
    return;
  }
  dialog.ShowModal();
  app_.BringToFront();
  dialog.BringToForeground();
}

// Ends at once, without the window's close: every change was saved when it
// was made.
void TTray::QuitClick() { app_.Terminate(); }

std::wstring TrayAlarmName(std::int64_t localSecond, const std::wstring& message) {
  const auto date = DateOfDay(FloorDiv(localSecond, kSecondsPerDay));
  const std::int64_t ofDay = FloorMod(localSecond, kSecondsPerDay);
  std::wstring name;
  if (date) {
    name += TwoDigitText(date->Day);
    name += L'.';
    name += TwoDigitText(date->Month);
    name += L' ';
    name += TwoDigitText(static_cast<int>(ofDay / 3600));
    name += L':';
    name += TwoDigitText(static_cast<int>(ofDay / 60 % 60));
  }
  // A menu item is one line: the message's first line, cut short.
  const std::wstring start = MessageStart(message, 24);
  if (!start.empty()) {
    name += L' ';
    name += start;
  }
  return name;
}
