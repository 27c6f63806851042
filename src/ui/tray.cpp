#include "ui/tray.h"

#include <algorithm>

#include "controls/app_window.h"
#include "engine/ring_session.h"
#include "platform/date_time.h"
#include "platform/decimal_text.h"
#include "ui/missed_window.h"

TTray::TTray(TTrayIcon& RzTrayIcon1, TPopupMenu& abfPopupMenu1, TForm& window,
             TForm& settingsDialog, TForm& aboutDialog, TApplicationWindow& app)
    : icon_(RzTrayIcon1),
      menu_(abfPopupMenu1),
      window_(window),
      settingsDialog_(settingsDialog),
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
  std::vector<TPopupMenu::TItem> items;
  // Offered only when a daily or weekday alarm will ring.
  if (const auto next = session_->NextSkippable()) {
    const TAlarmKind kind = next->Kind;
    const std::uint16_t index = next->Index;
    items.push_back({L"Пропустить ближайший будильник: " +
                         TrayAlarmName(next->LocalSecond, next->Message),
                     [this, kind, index] { session_->SkipNext(kind, index); }});
  }
  // The skip of the earliest moment, while any stands.
  const TSkips& skips = session_->Skips();
  const auto first = std::min_element(skips.begin(), skips.end(), [](const TSkip& a, const TSkip& b) {
    return a.LocalSecond < b.LocalSecond;
  });
  if (first != skips.end()) {
    const TAlarmRef alarm = first->Alarm;
    items.push_back(
        {L"Не пропускать: " +
             TrayAlarmName(first->LocalSecond,
                           FromShortString(*AlarmActions(*store_, alarm.Kind, alarm.Index).Msg)),
         [this, alarm] { session_->Unskip(alarm.Kind, alarm.Index); }});
  }
  if (items.empty()) return;
  items.insert(items.begin(), TPopupMenu::TItem{L"", nullptr, true});
  menu_.Items.insert(menu_.Items.begin() + static_cast<std::ptrdiff_t>(at), items.begin(),
                     items.end());
}

std::wstring TrayAlarmName(std::int64_t localSecond, const std::wstring& message) {
  const auto date = DateOfDay(FloorDiv(localSecond, kSecondsPerDay));
  const std::int64_t ofDay = FloorMod(localSecond, kSecondsPerDay);
  std::wstring name;
  if (date) {
    name = TwoDigitText(date->Day) + L"." + TwoDigitText(date->Month) + L" " +
           TwoDigitText(static_cast<int>(ofDay / 3600)) + L":" +
           TwoDigitText(static_cast<int>(ofDay / 60 % 60));
  }
  // A menu item is one line: the message's first line, cut short.
  const std::wstring start = MessageStart(message, 24);
  if (!start.empty()) name += L" " + start;
  return name;
}

void TTray::ProgramMinimized() {
  // Hidden into the tray with the settings open: they are cancelled.
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
