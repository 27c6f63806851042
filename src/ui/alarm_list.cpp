// The alarm list: one tab per kind, one row per record, and the refresh
// of the Edit, Delete and Add buttons.
#include <cstdlib>

#include "platform/date_time.h"
#include "platform/regional.h"
#include "ui/main_form.h"

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

}  // namespace

void TForm1::BindAlarmHandlers() {
  RzTabControl.SetFont({L"Verdana", 8});
  RzTabControl.SetTabs({L"Дата", L"Каждый\rдень", L"Каждую\rнеделю", L"Обратный\rотсчет",
                        L"Обр. отсчет после\rвкл. компьютера"});
  RzTabControl.OnTabClick = [this] { RzTabControlTabClick(); };
  cxListBox.OnClick = [this] { cxListBoxClick(); };
  cxListBox.OnKeyDown = [this](std::uint16_t key) { cxListBoxKeyDown(key); };

  NewBut.OnClick = [this] { NewButClick(); };
  EditBut.OnClick = [this] { EditButClick(); };
  DelBut.OnClick = [this] { DelButClick(); };
  cxDate.OnClick = [this] { cxDateClick(); };
  cxDay.OnClick = [this] { cxDayClick(); };
  cxWeek.OnClick = [this] { cxWeekClick(); };
  cxWeek.OnDblClick = [this] { cxWeekDblClick(); };
  for (int day = 0; day < 7; ++day) WeekdayBox(day)->OnClick = [this] { cxWeekClick(); };
  cxObrat.OnClick = [this] { cxObratClick(); };
  cxObratComp.OnClick = [this] { cxObratCompClick(); };
  cxCheckMSG.OnClick = [this] { cxCheckMSGClick(); };
  cxCheckEXE.OnClick = [this] { cxCheckEXEClick(); };
  cxEditEXE.OnButtonClick = [this] { cxEditEXEPropertiesButtonClick(); };
  AddBut.OnClick = [this] { AddButClick(); };
  CloseBut.OnClick = [this] { CloseButClick(); };
  cxMemoMSG.SetEnabled(false);
  cxEditEXE.SetEnabled(false);

  cxDirBox.SetText(L"Выберите раздел ...");
  cxDirBox.SetEnabled(false);
  cxMusList.SetEnabled(false);
  cxCheckMUS.OnClick = [this] { cxCheckMUSClick(); };
  cxDirBox.OnChange = [this] {
    unlistedMus_.reset();  // the user chose or typed a section
    cxDirBoxPropertiesChange();
  };
  cxDirBox.OnClick = [this] { cxDirBoxPropertiesChange(); };
  cxMusList.OnClick = [this] { cxMusListClick(); };
}

void TForm1::RzTabControlTabClick() { FillAlarmList(); }

void TForm1::FillAlarmList() {
  std::vector<std::wstring> rows;
  const int tab = RzTabControl.TabIndex();
  if (tab >= 0 && tab < kAlarmKindCount) {
    const auto kind = static_cast<TAlarmKind>(tab);
    const TAlarmStore& st = state_.Store;
    TRegionalFormats& f = services_.Formats;
    const std::uint16_t n = std::min(AlarmCount(st, kind), kAlarmCapacity);
    for (std::uint16_t i = 0; i < n; ++i) {
      const TAlarmActions a = AlarmActions(st, kind, static_cast<std::uint16_t>(i + 1));
      const std::wstring tail =
          L" | " + MessagePreview(FromShortString(*a.Msg)) + L" | " + FromShortString(*a.Exe);
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
              f.LongTime(TimeLeft(services_.Clock.Now().Local, st.CountdownAlarms[i].AlarmTime)) +
              tail);
          break;
        case akBootCountdown:
          rows.push_back(f.LongTime(st.BootCountdownAlarms[i].AlarmTime) + tail);
          break;
      }
    }
  }
  cxListBox.SetItems(std::move(rows));
  RefreshButtons();  // a fill leaves no row selected
}

void TForm1::cxListBoxClick() {
  RefreshButtons();
  if (state_.Settings.EditOnClick) EditButClick();
}

void TForm1::cxListBoxKeyDown(std::uint16_t key) {
  if (key == kVkDelete) DelButClick();
  if (key == kVkReturn) EditButClick();
}

void TForm1::RefreshButtons() {
  const bool row = cxListBox.ItemIndex() >= 0;
  EditBut.SetEnabled(row);
  DelBut.SetEnabled(row);
  if (!RzPanel1.Enabled()) return;
  if (!state_.Settings.AddMode) {
    AddBut.SetEnabled(true);
    return;
  }
  if (cxWeek.Checked()) {
    bool any = false;
    for (int day = 0; day < 7; ++day) any = any || WeekdayBox(day)->Checked();
    AddBut.SetEnabled(any);
    return;
  }
  if (cxDate.Checked() || cxDay.Checked() || cxObrat.Checked() || cxObratComp.Checked()) {
    AddBut.SetEnabled(true);
  }
}

TCheckBox* TForm1::WeekdayBox(int day) {
  TCheckBox* const boxes[7] = {&pn, &vt, &sr, &cht, &pt, &sb, &vs};
  return boxes[day];
}
