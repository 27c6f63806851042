#include "ui/alarm_list.h"

#include <algorithm>

#include "engine/ring_session.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/decimal_text.h"
#include "platform/regional.h"

namespace {

// The first ten characters, line breaks as spaces, "..." when there is more.
std::wstring MessagePreview(const std::wstring& msg) {
  std::wstring out = msg.substr(0, 10);
  for (wchar_t& c : out) {
    if (c == L'\r') c = L' ';
  }
  if (msg.size() > 10) out += L"...";
  return out;
}

const wchar_t* const kDayMarks[7] = {L"  пн", L"  вт", L"  ср", L"  чт", L"  пт", L"  сб", L"  вс"};

// |now - target| as a time of day: whole days dropped.
TDateTime TimeLeft(TDateTime now, TDateTime target) {
  const auto a = RoundedMs(now);
  const auto b = RoundedMs(target);
  if (!a || !b) return 0;
  return static_cast<double>(MsOfDay(*a - *b)) / kMsPerDay;
}

// "  пропуск 10.12": the day and month of the occurrence skipped.
std::wstring SkipMark(std::int64_t localSecond) {
  const auto date = DateOfDay(FloorDiv(localSecond, kSecondsPerDay));
  if (!date) return {};
  std::wstring mark = L"  пропуск ";
  mark += TwoDigitText(date->Day);
  mark += L'.';
  mark += TwoDigitText(date->Month);
  return mark;
}

}  // namespace

TAlarmList::TAlarmList(TTabControl& RzTabControl, TListBox& cxListBox, TPopupMenu& rowMenu,
                       const TAlarmStore& store, TRegionalFormats& formats, TClock& clock)
    : menu_(rowMenu),
      tabs_(RzTabControl),
      list_(cxListBox),
      store_(store),
      formats_(formats),
      clock_(clock) {
  tabs_.SetFont({L"Verdana", 8});
  tabs_.SetTabs({L"Дата", L"Каждый\rдень", L"Каждую\rнеделю", L"Обратный\rотсчет",
                 L"Обр. отсчет после\rвкл. компьютера"});
  tabs_.OnTabClick = [this] { TabClick(); };
  list_.OnClick = [this] { ListClick(); };
  list_.OnKeyDown = [this](std::uint16_t key) { cxListBoxKeyDown(key); };
  list_.OnContextMenu = [this](TPoint at) { RowMenu(at); };
}

void TAlarmList::TabClick() { Fill(); }

void TAlarmList::Fill() {
  list_.SetItems(Rows());
  if (OnSelectionChanged) OnSelectionChanged();  // a fill leaves no row selected
}

void TAlarmList::Refresh() {
  std::vector<std::wstring> rows = Rows();
  if (rows == list_.Items()) return;
  const int row = list_.ItemIndex();
  const std::size_t count = rows.size();
  list_.SetItems(std::move(rows));
  if (row >= 0 && static_cast<std::size_t>(row) < count) list_.SetItemIndex(row);
  if (OnSelectionChanged) OnSelectionChanged();
}

std::vector<std::wstring> TAlarmList::Rows() const {
  std::vector<std::wstring> rows;
  const int tab = tabs_.TabIndex();
  if (tab >= 0 && tab < kAlarmKindCount) {
    const auto kind = static_cast<TAlarmKind>(tab);
    const TAlarmStore& st = store_;
    TRegionalFormats& f = formats_;
    const std::uint16_t n = std::min(AlarmCount(st, kind), kAlarmCapacity);
    for (std::uint16_t i = 0; i < n; ++i) {
      const TAlarmActions a = AlarmActions(st, kind, static_cast<std::uint16_t>(i + 1));
      const auto index = static_cast<std::uint16_t>(i + 1);
      const auto skipped = session_ ? session_->SkippedAt(kind, index) : std::nullopt;
      const std::wstring tail = (skipped ? SkipMark(*skipped) : std::wstring()) + L" | " +
                                MessagePreview(FromShortString(*a.Msg)) + L" | " +
                                FromShortString(*a.Exe);
      switch (kind) {
        case akDate:
          rows.push_back(f.ShortDate(st.DateAlarms[i].AlarmDate) + L" - " +
                         f.LongTime(st.DateAlarms[i].AlarmTime) + tail);
          break;
        case akDaily:
          rows.push_back(f.LongTime(st.DailyAlarms[i].AlarmTime) + tail);
          break;
        case akWeekly: {
          std::wstring marks;
          for (int d = 0; d < 7; ++d) marks += st.WeeklyAlarms[i].Days[d] ? kDayMarks[d] : L"  xx";
          rows.push_back(f.LongTime(st.WeeklyAlarms[i].AlarmTime) + marks + tail);
          break;
        }
        case akCountdown:
          rows.push_back(
              f.LongTime(TimeLeft(clock_.Now().Local, st.CountdownAlarms[i].AlarmTime)) + tail);
          break;
        case akBootCountdown:
          rows.push_back(f.LongTime(st.BootCountdownAlarms[i].AlarmTime) + tail);
          break;
      }
    }
  }
  return rows;
}

std::optional<TAlarmList::TSelection> TAlarmList::Selected() const {
  const int row = list_.ItemIndex();
  const int tab = tabs_.TabIndex();
  if (row < 0 || tab < 0 || tab >= kAlarmKindCount) return std::nullopt;
  return TSelection{static_cast<TAlarmKind>(tab), static_cast<std::uint16_t>(row + 1)};
}

bool TAlarmList::RowSelected() const { return list_.ItemIndex() >= 0; }

void TAlarmList::ListClick() {
  if (OnSelectionChanged) OnSelectionChanged();
  if (OnRowClick) OnRowClick();
}

void TAlarmList::RowMenu(TPoint at) {
  // A right click has made its row the selection.
  if (OnSelectionChanged) OnSelectionChanged();
  const auto selected = Selected();
  if (!selected) return;
  const TAlarmKind kind = selected->Kind;
  const std::uint16_t index = selected->Index;
  const bool skipped = session_ && session_->SkippedAt(kind, index).has_value();
  menu_.Items.clear();
  menu_.Items.push_back({skipped ? L"Не пропускать" : L"Пропустить следующий",
                         [this, kind, index, skipped] {
                           if (!session_) return;
                           if (skipped) {
                             session_->Unskip(kind, index);
                           } else {
                             session_->SkipNext(kind, index);
                           }
                         }});
  // Only daily and weekday alarms repeat on the clock, so only they have a
  // next occurrence to skip.
  menu_.Items.back().Enabled = kind == akDaily || kind == akWeekly;
  menu_.Items.push_back({L"", nullptr, true});
  menu_.Items.push_back({L"Изменить", OnEditKey});
  menu_.Items.push_back({L"Удалить", OnDeleteKey});
  menu_.Popup(at.X, at.Y);
}

void TAlarmList::cxListBoxKeyDown(std::uint16_t key) {
  if (key == kVkDelete && OnDeleteKey) OnDeleteKey();
  if (key == kVkReturn && OnEditKey) OnEditKey();
}
