#include "ui/days_off_dialog.h"

#include <algorithm>
#include <cmath>

#include "controls/message_boxes.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/regional.h"

namespace {

constexpr const wchar_t* kShortWeekdays[] = {L"пн", L"вт", L"ср", L"чт", L"пт", L"сб", L"вс"};

std::int64_t DayOf(const TDateTimePicker& picker) {
  return static_cast<std::int64_t>(std::floor(picker.Value()));
}

std::wstring Trimmed(const std::wstring& s) {
  const std::size_t b = s.find_first_not_of(L" \t");
  if (b == std::wstring::npos) return {};
  return s.substr(b, s.find_last_not_of(L" \t") - b + 1);
}

}  // namespace

TDaysOffDialog::TDaysOffDialog(TForm& owner, TDaysOffLink& link, TClock& clock,
                               TRegionalFormats& formats, TMessageBoxes& boxes)
    : TForm(L"Выходные и рабочие дни", 0, 0, 425, 389, TBorderStyle::Dialog),
      link_(link),
      clock_(clock),
      formats_(formats),
      boxes_(boxes) {
  SetOwner(&owner);
  SetPosition(TPosition::OwnerCenter);
  WorkAs.SetItems({std::begin(kWeekdayNames), std::end(kWeekdayNames)});
  WorkAs.SetItemIndex(0);
  OnShowing = [this] { FormShow(); };
  OnEscape = [this] { Close(); };
  OffFrom.OnChange = [this] { OffFromChange(); };
  OffAdd.OnClick = [this] { OffAddClick(); };
  OffDelete.OnClick = [this] { OffDeleteClick(); };
  WorkAdd.OnClick = [this] { WorkAddClick(); };
  WorkDelete.OnClick = [this] { WorkDeleteClick(); };
  CloseBut.OnClick = [this] { Close(); };
  OffList.OnKeyDown = [this](std::uint16_t key) {
    if (key == kVkDelete) OffDeleteClick();
  };
  WorkList.OnKeyDown = [this](std::uint16_t key) {
    if (key == kVkDelete) WorkDeleteClick();
  };
}

void TDaysOffDialog::FormShow() {
  // Every opening starts from today, with the lists as they are in effect.
  const double today = std::floor(clock_.Now().Local);
  OffFrom.SetValue(today);
  OffTo.SetValue(today);
  WorkDate.SetValue(today);
  OffNote.SetText(L"");
  WorkNote.SetText(L"");
  Refill(nullptr, nullptr);
}

void TDaysOffDialog::OffFromChange() {
  // A range never ends before it starts: the end follows a later start.
  if (OffTo.Value() < OffFrom.Value()) OffTo.SetValue(OffFrom.Value());
}

std::wstring TDaysOffDialog::OffRow(const TDayOffRange& r) {
  std::wstring row = formats_.ShortDate(static_cast<double>(r.FirstDay));
  if (r.LastDay != r.FirstDay) row += L" – " + formats_.ShortDate(static_cast<double>(r.LastDay));
  if (!r.Note.empty()) row += L"   " + r.Note;
  return row;
}

std::wstring TDaysOffDialog::WorkRow(const TWorkDay& w) {
  std::wstring row = formats_.ShortDate(static_cast<double>(w.Day)) + L" (" +
                     kShortWeekdays[WeekdayOfDay(w.Day) - 1] + L") как " +
                     kWeekdayNames[std::clamp(w.Weekday, 1, 7) - 1];
  if (!w.Note.empty()) row += L"   " + w.Note;
  return row;
}

void TDaysOffDialog::Refill(const TDayOffRange* off, const TWorkDay* work) {
  const TDaysOff& days = link_.DaysOff();
  offRows_ = days.Off;
  std::stable_sort(offRows_.begin(), offRows_.end(), [](const auto& a, const auto& b) {
    return a.FirstDay != b.FirstDay ? a.FirstDay < b.FirstDay : a.LastDay < b.LastDay;
  });
  workRows_ = days.Work;
  std::stable_sort(workRows_.begin(), workRows_.end(),
                   [](const auto& a, const auto& b) { return a.Day < b.Day; });
  std::vector<std::wstring> rows;
  for (const TDayOffRange& r : offRows_) rows.push_back(OffRow(r));
  OffList.SetItems(std::move(rows));
  rows.clear();
  for (const TWorkDay& w : workRows_) rows.push_back(WorkRow(w));
  WorkList.SetItems(std::move(rows));
  if (off) {
    const auto at = std::find(offRows_.begin(), offRows_.end(), *off);
    if (at != offRows_.end()) OffList.SetItemIndex(static_cast<int>(at - offRows_.begin()));
  }
  if (work) {
    const auto at = std::find(workRows_.begin(), workRows_.end(), *work);
    if (at != workRows_.end()) WorkList.SetItemIndex(static_cast<int>(at - workRows_.begin()));
  }
}

void TDaysOffDialog::OffAddClick() {
  const TDayOffRange r{DayOf(OffFrom), DayOf(OffTo), Trimmed(OffNote.Text())};
  if (r.LastDay < r.FirstDay) {
    boxes_.ShowMessage(L"Конец раньше начала: выберите дату \"по\" не раньше даты \"с\".");
    OffTo.SetFocus();
    return;
  }
  for (const TDayOffRange& o : link_.DaysOff().Off) {
    if (o.FirstDay == r.FirstDay && o.LastDay == r.LastDay) {
      boxes_.ShowMessage(L"Эти дни уже в списке.");
      return;
    }
  }
  link_.AddDayOff(r);
  OffNote.SetText(L"");
  Refill(&r, nullptr);
}

void TDaysOffDialog::OffDeleteClick() {
  const int i = OffList.ItemIndex();
  if (i < 0 || i >= static_cast<int>(offRows_.size())) {
    boxes_.ShowMessage(L"Выберите выходной в списке.");
    return;
  }
  link_.RemoveDayOff(offRows_[static_cast<std::size_t>(i)]);
  Refill(nullptr, nullptr);
  // The next row is selected, so that Delete can go on.
  if (!offRows_.empty()) OffList.SetItemIndex(std::min(i, static_cast<int>(offRows_.size()) - 1));
}

int TDaysOffDialog::ChosenWeekday() const {
  for (int i = 0; i < 7; ++i) {
    if (Trimmed(WorkAs.Text()) == kWeekdayNames[i]) return i + 1;
  }
  return 0;
}

void TDaysOffDialog::WorkAddClick() {
  const int weekday = ChosenWeekday();
  if (weekday == 0) {
    boxes_.ShowMessage(L"Выберите день недели из списка.");
    WorkAs.SetFocus();
    return;
  }
  const TWorkDay w{DayOf(WorkDate), weekday, Trimmed(WorkNote.Text())};
  for (const TWorkDay& o : link_.DaysOff().Work) {
    if (o.Day == w.Day) {
      boxes_.ShowMessage(L"Этот день уже в списке рабочих.");
      return;
    }
  }
  link_.AddWorkDay(w);
  WorkNote.SetText(L"");
  Refill(nullptr, &w);
}

void TDaysOffDialog::WorkDeleteClick() {
  const int i = WorkList.ItemIndex();
  if (i < 0 || i >= static_cast<int>(workRows_.size())) {
    boxes_.ShowMessage(L"Выберите рабочий день в списке.");
    return;
  }
  link_.RemoveWorkDay(workRows_[static_cast<std::size_t>(i)]);
  Refill(nullptr, nullptr);
  if (!workRows_.empty()) {
    WorkList.SetItemIndex(std::min(i, static_cast<int>(workRows_.size()) - 1));
  }
}
